#!/bin/sh
# Checks the installed desktop entry, MIME type and AppStream data with the
# tools a desktop uses on them.
#   desktop_files_test.sh BUILD_DIR APP_ID MIME_TYPE
set -eu
build=$1 id=$2 type=$3

work=$(mktemp -d)
export TMPDIR="$work" # what the tools leave in a temporary folder goes with it
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$(dirname "$0")/install_into.sh" "$build" "$work/prefix" "$work"
share=$work/prefix/share

desktop-file-validate "$share/applications/$id.desktop"
grep -qx "Exec=zelkor2k %f" "$share/applications/$id.desktop" || fail "Exec line"
grep -qx "MimeType=$type;" "$share/applications/$id.desktop" || fail "MimeType line"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "Icon line"

appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"

# The MIME database built from our file maps *.zel to the type.
update-mime-database "$share/mime"
grep -qx "50:$type:\*\.zel" "$share/mime/globs2" || fail "*.zel is not mapped to $type"
grep -q "$type" "$share/mime/magic" || fail "no magic for $type"
echo "desktop files valid"
