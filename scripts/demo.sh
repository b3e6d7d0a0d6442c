#!/bin/sh
# Sets everything up, builds, and runs the program on the bundled sample data.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
./build/bin/zelkor2k-cli predict resources/sample/sample.zel

# Predict-all of the bundled sample race day: every race of the JRA-VAN
# archive is predicted and written as a sports page, with the bets summary,
# a menu by racecourse and an index (below build/bin/HTML).
echo
echo "Predict-all of the sample race day (resources/sample/JV_SAMPLE.lzh):"
index=$(./build/bin/zelkor2k-cli predict-all resources/sample/JV_SAMPLE.lzh)
echo "Open this page in a browser: $index"
