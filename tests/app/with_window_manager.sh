#!/bin/sh
# Runs a command on a virtual X server of its own, managed by Openbox, so
# tests can see what a real window manager does with our windows, in a home
# of its own. Exits 77 (skipped) when the X server, the window manager or the
# X tools are absent, 1 (failed) then in CI or with the outside tools required.
for tool in Xvfb openbox xprop xwininfo xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed"
    [ -n "${CI:-}" ] || [ "${ZELKOR_REQUIRE_OUTSIDE_TOOLS:-}" = ON ] && exit 1
    exit 77
  fi
done

work=$(mktemp -d)
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_STATE_HOME="$work/home/.local/state"
mkdir "$HOME"
xvfb=""
wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Waits up to 30 s (a busy machine) for a condition (a shell command) to hold.
wait_for() {
  tries=0
  until eval "$1"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 600 ]; then
      echo "gave up waiting for: $2"
      return 1
    fi
    sleep 0.05
  done
}

# The server picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 "${ZELKOR_SCREEN:-1600x1000}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
wait_for '[ -s "$work/display" ]' "the X server" || { cat "$work/xvfb.log"; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# A window manager announces itself on the root window.
wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' \
  "the window manager" || { cat "$work/openbox.log"; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
status=$?
exit $status
