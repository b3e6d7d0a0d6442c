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

# Finally the desktop program itself, with the sample race loaded: press
# 予想 on the toolbar to see the ranking, 買い目 for the bets.
echo
if [ -n "$DISPLAY" ] || [ -n "$WAYLAND_DISPLAY" ]; then
  echo "Starting the desktop program: ./build/bin/zelkor2k resources/sample/sample.zel"
  exec ./build/bin/zelkor2k "$PWD/resources/sample/sample.zel"
else
  echo "No display found; from a desktop session start the program with:"
  echo "  ./build/bin/zelkor2k resources/sample/sample.zel"
fi
