#!/bin/sh
# Installs whatever this project needs that the machine lacks (Debian),
# then configures and builds it in ./build.
set -e
cd "$(dirname "$0")/.."

PACKAGES="build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev \
qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libarchive-dev libsqlite3-dev nlohmann-json3-dev \
libxcb-damage0-dev \
xvfb xauth x11-apps fonts-noto-cjk chromium clang libclang-rt-14-dev \
openbox x11-utils xdotool qt6-translations-l10n \
file dpkg-dev lintian desktop-file-utils appstream shared-mime-info xdg-utils"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing:$missing"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
# Warnings are errors here, for developers and CI alike.
cmake -S . -B build -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DZELKOR_WERROR=ON $CMAKE_ARGS
cmake --build build -j"$(nproc)"
