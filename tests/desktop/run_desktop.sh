#!/usr/bin/env bash
# Runs the desktop test on an X server of its own:
#   run_desktop.sh TEST_BINARY BREVANT ARTIFACT_DIR
# Starts Xvfb on a free display, with two screens shorter than the window
# beside the main one, and the openbox window manager; and the weston
# compositor with XWayland, as on a Wayland desktop. Gives the test a scratch
# home (the clipboard manager keeps its history there), keeps the screenshots
# and logs in ARTIFACT_DIR and ends everything it started. A BREVANT ending in
# .exe is the Windows build, run under Wine (scripts/wine.sh), without
# the short screens and weston, which are the Linux program's affair.
# A screen too small for the window as designed, instead of all that:
#   SORELIN_SCREEN=WxH         the screen's size
#   SORELIN_PANEL=N            a panel of N pixels at its bottom (tint2)
#   SORELIN_SCALE_FACTOR=F     the display scaling: on Linux the program runs with
#                              QT_SCALE_FACTOR=F; under Wine it is SORELIN_DPI / 96
#   SORELIN_DPI=N              Windows' display scaling (LogPixels) under Wine
# Exit 77 (skipped) when the X tools are missing, unless CI=true: then 1.
set -uo pipefail

test_binary=$1
brevant=$2
artifacts=$3

tools=(Xvfb openbox xdotool xclip xwininfo xprop import wmctrl parcellite)
[ -n "${SORELIN_PANEL:-}" ] && tools+=(tint2)
[[ $brevant == *.exe ]] && tools+=(/usr/lib/wine/wine64) || tools+=(weston Xwayland)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null 2>&1 && continue
    echo "desktop test: $tool is missing (scripts/setup.sh --test installs it)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
done
[ -f "$brevant" ] || { echo "desktop test: no program at $brevant" >&2; exit 1; }
rm -rf "$artifacts" && mkdir -p "$artifacts"
source "$(dirname "$0")/../../scripts/xsession.sh"
if [ -n "${SORELIN_SCREEN:-}" ]; then
    X_SESSION_SCREEN=$SORELIN_SCREEN x_session_start "desktop test" "$artifacts" || exit 1
    export SORELIN_OPENBOX=${pids[-1]} # the test holds it a moment to answer before it
    if [ -n "${SORELIN_PANEL:-}" ]; then
        printf '%s\n' "panel_items = T" "panel_size = 100% $SORELIN_PANEL" "panel_position = bottom center horizontal" \
            "panel_layer = top" "strut_policy = follow_size" "autohide = 0" >"$scratch/tint2rc"
        tint2 -c "$scratch/tint2rc" >"$artifacts/tint2.log" 2>&1 &
        pids+=($!)
        # The window manager takes the panel out of the work area.
        for _ in $(seq 100); do
            xprop -root _NET_WORKAREA | grep -q ", $((${SORELIN_SCREEN#*x} - SORELIN_PANEL))\b" && break
            sleep 0.1
        done
    fi
    [ -n "${SORELIN_SCALE_FACTOR:-}" ] && [[ $brevant != *.exe ]] && export QT_SCALE_FACTOR=$SORELIN_SCALE_FACTOR
fi
if [[ $brevant == *.exe ]]; then
    [ -n "${SORELIN_SCREEN:-}" ] || x_session_start "desktop test" "$artifacts" || exit 1
    source "$(dirname "$0")/../../scripts/wine.sh"
    wine_start
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${SORELIN_DPI:-96}" /f >/dev/null 2>&1
    "$wineserver" -w
    brevant=$(wine_wrap "$brevant")
    export SORELIN_WINE=1
elif [ -z "${SORELIN_SCREEN:-}" ]; then
    x_session_start "desktop test" "$artifacts" 1280x840 1366x768 || exit 1

    # Headless, with XWayland; its X window manager's log shows the window states
    # the programs ask for.
    weston --backend=headless-backend.so --xwayland --socket=sorelin-wayland --idle-time=0 \
        --log="$artifacts/weston.log" --logger-scopes=log,xwm-wm-x11 >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$artifacts/weston.log" 2>/dev/null)
        [ -n "$xwayland" ] && break
        sleep 0.1
    done
    if [ -z "$xwayland" ]; then
        echo "desktop test: weston did not start (see $artifacts/weston.log)" >&2
        exit 1
    fi
    export SORELIN_WAYLAND=sorelin-wayland SORELIN_XWAYLAND=$xwayland SORELIN_WESTON_LOG=$artifacts/weston.log
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
