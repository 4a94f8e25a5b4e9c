#!/usr/bin/env bash
# Runs the desktop test on an X server of its own:
#   run_desktop.sh TEST_BINARY BREVANT ARTIFACT_DIR
# A BREVANT ending in .exe is the Windows build, run under Wine (tests/desktop/wine.sh).
# Starts Xvfb on a free display and the openbox window manager, gives the test
# a scratch home (the clipboard manager keeps its history there), keeps the
# screenshots and logs in ARTIFACT_DIR and ends everything it started.
# Exit 77 (skipped) when the X tools are missing, unless CI=true: then 1.
set -uo pipefail

test_binary=$1
brevant=$2
artifacts=$3

missing=()
tools=(Xvfb openbox xdotool xclip xwininfo xprop import wmctrl parcellite xmessage)
[[ $brevant == *.exe ]] && tools+=(/usr/lib/wine/wine64)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "desktop test: missing tools: ${missing[*]} (scripts/setup.sh --test installs them)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
fi
if [ ! -x "$brevant" ] && [[ $brevant != *.exe || ! -f $brevant ]]; then
    echo "desktop test: no program at $brevant" >&2
    exit 1
fi

rm -rf "$artifacts"
mkdir -p "$artifacts"
source "$(dirname "$0")/xsession.sh"
x_session_start "desktop test" "$artifacts" || exit 1
if [[ $brevant == *.exe ]]; then
    source "$(dirname "$0")/wine.sh"
    wine_start
    brevant=$(wine_wrap "$brevant")
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
