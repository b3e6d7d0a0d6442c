#!/bin/sh
# Rebuilds resources/sample/JV-Data_sample.dat, an invented JV-Data season
# (six race weekends, January to March; horse names, races and results are
# made up, nothing in it is real data) for the JV-Data import and the demo.
# Needs a configured build tree; the file is committed, so no build is
# needed to use it.
#
# usage: scripts/make_sample_jvdata.sh [BUILD_DIR]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target zelkor_make_sample_jvdata -j2
mkdir -p "$root/resources/sample"
"$build/tools/zelkor_make_sample_jvdata" "$root/resources/sample/JV-Data_sample.dat"
ls -l "$root/resources/sample/JV-Data_sample.dat"
