#!/bin/sh
# Rebuilds resources/sample/JV_SAMPLE.lzh, the fictional JRA-VAN race day the
# program opens out of the box. Needs a configured build tree and jlha
# (Debian package jlha-utils). The archive is committed, so neither a build
# nor jlha is needed to use it.
#
# usage: scripts/make_sample_archive.sh [BUILD_DIR]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target zelkor_make_sample_day -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/zelkor_make_sample_day" "$work"
mkdir -p "$root/resources/sample"
rm -f "$root/resources/sample/JV_SAMPLE.lzh"
(cd "$work" && jlha a "$root/resources/sample/JV_SAMPLE.lzh" JracDen1.dat JracUmaj.dat)
ls -l "$root/resources/sample/JV_SAMPLE.lzh"
