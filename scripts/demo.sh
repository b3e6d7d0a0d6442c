#!/bin/sh
# Sets everything up, builds, and runs the program on the bundled sample data.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
./build/bin/zelkor2k-cli predict resources/sample/sample.zel
