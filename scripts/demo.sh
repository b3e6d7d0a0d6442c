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

# The invented JV-Data season: imported into the store of the program folder
# (build/bin/JV-Data), then its newest race day predicted like an archive.
echo
echo "Importing the sample JV-Data season (resources/sample/JV-Data_sample.dat):"
./build/bin/zelkor2k-cli import resources/sample/JV-Data_sample.dat
echo
echo "Race days in the store (newest first):"
./build/bin/zelkor2k-cli dates
day=$(./build/bin/zelkor2k-cli dates | head -n 1 | cut -c1-8)
echo
echo "Predict-all of the JV-Data race day $day:"
index=$(./build/bin/zelkor2k-cli predict-all --date "$day")
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
