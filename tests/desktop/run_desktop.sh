#!/usr/bin/env bash
# Runs the desktop test on an X server of its own:
#   run_desktop.sh TEST_BINARY BREVANT ARTIFACT_DIR
# Starts Xvfb on a free display and the openbox window manager, gives the test
# a scratch home (the clipboard manager keeps its history there), keeps the
# screenshots and logs in ARTIFACT_DIR and ends everything it started.
# Exit 77 (skipped) when the X tools are missing, unless CI=true: then 1.
set -uo pipefail

test_binary=$1
brevant=$2
artifacts=$3

missing=()
for tool in Xvfb openbox xdotool xclip xwininfo xprop import wmctrl parcellite xmessage; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "desktop test: missing tools: ${missing[*]} (scripts/setup.sh --test installs them)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
fi
if [ ! -x "$brevant" ]; then
    echo "desktop test: no program at $brevant" >&2
    exit 1
fi

rm -rf "$artifacts"
mkdir -p "$artifacts"
scratch=$(mktemp -d /tmp/sorelin-desktop.XXXXXX)
pids=()
cleanup() {
    # The test's own children first, then the window manager, then the server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number and writes it once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$scratch/display" >"$artifacts/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
if [ ! -s "$scratch/display" ]; then
    echo "desktop test: Xvfb did not start (see $artifacts/xvfb.log)" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$scratch/display")"

mkdir -m 700 "$scratch/home" "$scratch/runtime"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
# The program draws on this X server at 96 dpi, whatever the caller's session.
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_STYLE_OVERRIDE QT_FONT_DPI
export QT_QPA_PLATFORM=xcb
export LANG=C.UTF-8 LC_ALL=C.UTF-8

openbox --sm-disable >"$artifacts/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "desktop test: the window manager did not start (see $artifacts/openbox.log)" >&2
    exit 1
fi

SORELIN_BREVANT=$brevant SORELIN_ARTIFACTS=$artifacts "$test_binary" &
pids+=($!)
wait "${pids[-1]}"
status=$?
unset 'pids[-1]'
# QtTest exits with its failure count, which must not read as "skipped".
[ "$status" -eq 77 ] && status=1
echo "desktop test: screenshots and logs in $artifacts"
exit $status
