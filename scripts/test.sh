#!/bin/sh
# Sets everything up, builds, and runs the whole test suite.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
cd build
ctest --output-on-failure -j"$(nproc)"
