#!/usr/bin/env bash
# Counts the instructions of a whole start of Brevant on a short screen
# against one on a tall screen, and prints both counts and the ratio:
#  - short: 1366x768 with a 40-pixel panel at the bottom (Debian's tint2),
#    where the window is drawn smaller;
#  - tall: 1280x1024 with the same panel, where it stands as designed.
# Each start runs under valgrind's callgrind on an Xvfb of its own with the
# openbox window manager, for the same number of seconds, from launch until it
# is ended: loading, building the window, showing and painting it, and
# whatever it does once shown. The window is built once, at the scale that
# fits, before it shows; a window built at its designed size and built again
# smaller once shown came to 1.28.
#   bench/short-screen.sh [BUILD_DIR]       (default: build/ beside bench/)
#   RUN_SECONDS=25 COUNTS=3 bench/short-screen.sh
# Needs Xvfb, openbox, tint2, xprop, xwininfo and valgrind.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
seconds=${RUN_SECONDS:-25}
counts=${COUNTS:-3}
program=$build/Brevant
panel=40
[ -x "$program" ] || { echo "bench: $program is not built" >&2; exit 1; }
for tool in Xvfb openbox tint2 xprop xwininfo valgrind; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done
source "$here/../scripts/xsession.sh"
results=$(mktemp -d /tmp/sorelin-short-screen.XXXXXX)
trap 'x_session_end; rm -rf "$results"' EXIT

# One start on a screen of the size given: prints the instruction count.
count() {
    local screen=$1 out pid
    X_SESSION_SCREEN=$screen x_session_start "short screen bench" || return 1
    printf '%s\n' "panel_items = T" "panel_size = 100% $panel" "panel_position = bottom center horizontal" \
        "panel_layer = top" "strut_policy = follow_size" "autohide = 0" >"$scratch/tint2rc"
    tint2 -c "$scratch/tint2rc" >/dev/null 2>&1 &
    pids+=($!)
    # The window manager takes the panel out of the work area.
    for _ in $(seq 100); do
        xprop -root _NET_WORKAREA | grep -q ", $((${screen#*x} - panel))\b" && break
        sleep 0.1
    done
    out=$results/callgrind.$screen.$RANDOM
    valgrind --tool=callgrind --callgrind-out-file="$out" "$program" >/dev/null 2>"$out.log" &
    pid=$!
    sleep "$seconds"
    xwininfo -name Sorelin 2>/dev/null | grep -q IsViewable || { echo "bench: no window on $screen" >&2; kill "$pid"; return 1; }
    # Ended as by the session's end; callgrind writes the profile as it goes.
    kill "$pid"
    wait "$pid" 2>/dev/null
    x_session_end
    awk '/^totals:/ { print $2 }' "$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$results/short"
: >"$results/tall"
for ((r = 1; r <= counts; r++)); do
    count 1366x768 >>"$results/short" || exit 1
    count 1280x1024 >>"$results/tall" || exit 1
done
echo "whole start, $seconds s under callgrind, $counts of each, taking turns; a $panel-pixel panel on both"
awk -v s="$(median <"$results/short")" -v t="$(median <"$results/tall")" 'BEGIN {
    printf "%-30s %10.1f M\n%-30s %10.1f M\n%-30s %10.3f   <=1.03%s\n", "1366x768 (drawn smaller)", s / 1e6,
        "1280x1024 (as designed)", t / 1e6, "ratio", s / t, (s / t <= 1.03 ? "" : "  MISSED")
}'
