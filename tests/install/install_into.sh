#!/bin/sh
# Installs the build into a prefix without writing in the build tree: the
# install script would leave its manifest there, beside tests running in
# parallel, so a copy of it writes the manifest into SCRATCH instead. Further
# arguments go to cmake (-DCMAKE_INSTALL_DO_STRIP=1); DESTDIR is honoured.
#   install_into.sh BUILD_DIR PREFIX SCRATCH [CMAKE_ARGUMENT...]
set -eu
build=$1 prefix=$2 scratch=$3
shift 3
sed "s|\"$build/\${CMAKE_INSTALL_MANIFEST}\"|\"$scratch/\${CMAKE_INSTALL_MANIFEST}\"|" \
    "$build/cmake_install.cmake" >"$scratch/cmake_install.cmake"
cmake -DCMAKE_INSTALL_PREFIX="$prefix" "$@" -P "$scratch/cmake_install.cmake" >/dev/null
