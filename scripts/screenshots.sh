#!/bin/sh
# Redraws the screenshots of docs/ under a virtual X server: the main window
# with a predicted 18-runner race, its docked race-sheet viewer, and the
# window as Openbox frames and places it.
set -e
cd "$(dirname "$0")/.."
BUILD="${BUILD:-build}"
cmake --build "$BUILD" --target app_screenshots zelkor_runtime_files
mkdir -p docs
# The window as a 1280x800 screen shows it.
ZELKOR_SCREEN=1280x800 sh tests/app/with_window_manager.sh "$BUILD/bin/app_screenshots" docs
# The race selection over the sample race day, the race days of the sample
# JV-Data season, and the newspaper settings.
cmake --build "$BUILD" --target jv_screenshots
ZELKOR_SOURCE_DIR="$PWD" xvfb-run -a -s "-screen 0 1600x1000x24" "$BUILD/bin/jv_screenshots" docs
