#!/bin/sh
# Compiles the literal sample through the CP932 launcher with the project's
# compiler and compares what the program prints with a CP932 build's output.
#   cp932_compile_test.sh LAUNCHER COMPILER SOURCE_DIR
set -eu
launcher=$1 compiler=$2 here=$3/tests/build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$launcher" "$compiler" -std=c++20 -Wall -Wextra -Wpedantic -Werror -MD -MT "$work/sample.o" \
    -MF "$work/sample.d" -o "$work/sample.o" -c "$here/literals_sample.cpp"
[ -s "$work/sample.d" ] || { echo "FAIL: no dependency file"; exit 1; }
"$compiler" "$work/sample.o" -o "$work/sample"
"$work/sample" >"$work/out"
diff -u "$here/literals_sample.expected" "$work/out"
