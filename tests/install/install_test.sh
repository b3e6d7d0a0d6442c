#!/bin/sh
# Installs the build into a temporary prefix made read-only and runs the
# installed programs as a new user would, with a fresh home folder.
#   install_test.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
set -eu
build=$1 source=$2 version=$3 id=$4

work=$(mktemp -d)
export TMPDIR="$work" # what the tools leave in a temporary folder goes with it
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
"$(dirname "$0")/install_into.sh" "$build" "$prefix" "$work"
chmod -R a-w "$prefix"

# What the prefix holds.
for f in bin/zelkor2k bin/zelkor2k-cli share/zelkor2k/zelkor2k.html \
         share/zelkor2k/Image/Logo.gif share/applications/$id.desktop \
         share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml \
         share/man/man1/zelkor2k.1.gz share/man/man1/zelkor2k-cli.1.gz \
         share/doc/zelkor2k/copyright; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "no $size pixel icon"
    # The PNG header's width, bytes 16..19, big-endian.
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    [ "$width" = "$size" ] || fail "the $size pixel icon is $width pixels wide"
done
[ "$(ls "$prefix/share/zelkor2k/Image" | wc -l)" = "$(ls "$source/resources/Image" | wc -l)" ] ||
    fail "not every picture is installed"

# Both programs tell their version without a display.
[ "$(env -u DISPLAY "$prefix/bin/zelkor2k-cli" --version)" = "zelkor2k-cli $version" ] ||
    fail "zelkor2k-cli --version"
[ "$(env -u DISPLAY "$prefix/bin/zelkor2k" --version)" = "zelkor2k $version" ] ||
    fail "zelkor2k --version"

unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
export HOME="$work/home"
mkdir "$HOME"
cd "$work"
data=$HOME/.local/share/zelkor2k

# The command line: predict-all of the sample day, into the user's folder.
"$prefix/bin/zelkor2k-cli" predict-all "$source/resources/sample/JV_SAMPLE.lzh" >"$work/out" ||
    fail "installed predict-all failed: $(cat "$work/out")"
index=$(tail -n 1 "$work/out")
case "$index" in
"$data"/HTML/Jvzel*/index.html) ;;
*) fail "predict-all wrote its set to '$index', not below $data/HTML" ;;
esac
[ -f "$index" ] || fail "no $index"
for sub in HTML JRA-VAN Image; do
    [ -d "$data/$sub" ] || fail "no $sub in the user's folder"
done

# Every local picture a page names exists: names are relative to the page's
# BASE HREF (a file:// address of the Image folder) or to the page itself.
pictures=0
for page in "$(dirname "$index")"/*.html; do
    base=$(LC_ALL=C grep -o 'BASE HREF="file://[^"]*"' "$page" | head -n 1 |
           sed 's/^BASE HREF="file:\/\///; s/"$//') || true
    [ -n "$base" ] || base=$(dirname "$page")/
    for name in $(LC_ALL=C grep -oi -e 'src="[^"]*"' -e 'background="[^"]*"' "$page" |
                  sed 's/^[^"]*"//; s/"$//' | grep -v -e '^http' -e '\.html' | sort -u); do
        [ -f "$base$name" ] || fail "$page names the missing picture $base$name"
        pictures=$((pictures + 1))
    done
done
[ "$pictures" -gt 0 ] || fail "no page names a picture"

# An installed picture that is newer than the user's copy is copied again.
printf 'stale' >"$data/Image/Logo.gif"
touch -d '2000-01-01' "$data/Image/Logo.gif"
"$prefix/bin/zelkor2k-cli" races "$source/resources/sample/JV_SAMPLE.lzh" >/dev/null
cmp -s "$data/Image/Logo.gif" "$prefix/share/zelkor2k/Image/Logo.gif" ||
    fail "an outdated picture was not refreshed"

# XDG_DATA_HOME moves the user's folder.
XDG_DATA_HOME="$work/xdg" "$prefix/bin/zelkor2k-cli" races \
    "$source/resources/sample/JV_SAMPLE.lzh" >/dev/null
[ -f "$work/xdg/zelkor2k/Image/Logo.gif" ] || fail "XDG_DATA_HOME is not used"

# A folder that cannot be made: one line naming it, non-zero exit, no output.
: >"$work/plain-file"
if HOME="$work/plain-file" "$prefix/bin/zelkor2k-cli" races \
    "$source/resources/sample/JV_SAMPLE.lzh" >"$work/out" 2>"$work/err"; then
    fail "an unusable folder was accepted"
fi
[ ! -s "$work/out" ] || fail "output despite an unusable folder"
[ "$(wc -l <"$work/err")" = 1 ] && grep -q "$work/plain-file/.local" "$work/err" ||
    fail "unclear message for an unusable folder: $(cat "$work/err")"

# The desktop program starts, makes the user's folders and writes its
# settings there (it then waits at the first-use message, so it is stopped).
export HOME="$work/home2"
mkdir "$HOME"
data=$HOME/.local/share/zelkor2k
QT_QPA_PLATFORM=offscreen "$prefix/bin/zelkor2k" --no-splash >"$work/gui.log" 2>&1 &
gui=$!
prepared() {
    for sub in HTML JRA-VAN KTDAT Image/Logo.gif; do [ -e "$data/$sub" ] || return 1; done
    [ -s "$data/Zelkor2k.cfg" ]
}
waited=0
until prepared || [ "$waited" -ge 300 ]; do
    sleep 0.1
    waited=$((waited + 1))
done
kill "$gui" 2>/dev/null || true
wait "$gui" 2>/dev/null || true
[ -s "$data/Zelkor2k.cfg" ] || fail "the desktop program wrote no settings: $(cat "$work/gui.log")"
prepared || fail "the desktop program made not all of HTML JRA-VAN KTDAT Image/Logo.gif"
echo "installed programs work from a read-only prefix"
