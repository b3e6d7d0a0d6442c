#!/bin/sh
# Builds the Debian package from the build folder and checks it: the
# dependencies come from the binaries (and name the libraries loaded on
# demand), and lintian finds no error.
#   package_test.sh BUILD_DIR VERSION
set -eu
build=$1 version=$2

work=$(mktemp -d)
export TMPDIR="$work" # what the tools leave in a temporary folder goes with it
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Packed from a stripped install into a staging folder, as the build's own
# configuration would pack it: cpack on the build tree would install and
# write its manifest there, beside tests running in parallel.
DESTDIR="$work/stage" "$(dirname "$0")/install_into.sh" "$build" /usr "$work" \
    -DCMAKE_INSTALL_DO_STRIP=1
cat >"$work/CPackConfig.cmake" <<END
include("$build/CPackConfig.cmake")
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALLED_DIRECTORIES "$work/stage;.")
END
cpack --config "$work/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/zelkor2k_"$version"_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
case "$depends" in
*libqt6widgets6*libc6* | *libc6*libqt6widgets6*) ;;
*) fail "Depends not computed from the binaries: $depends" ;;
esac
# The libraries loaded when first used are named too.
for library in libsqlite3 libarchive; do
    case "$depends" in *"$library"*) ;; *) fail "no $library in Depends: $depends" ;; esac
done
dpkg-deb --contents "$deb" | grep '\./usr/bin/zelkor2k$' >/dev/null || fail "no /usr/bin/zelkor2k"
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package $(basename "$deb"), $(stat -c %s "$deb") bytes"
