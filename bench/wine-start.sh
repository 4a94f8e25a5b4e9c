#!/usr/bin/env bash
# Times the Windows program's start under Wine: from launch until its window
# shows, on one Xvfb with openbox, the median of RUNS starts (11 by default) of
# each program given, taking turns, in one Wine prefix made for the purpose.
#   bench/wine-start.sh BREVANT.EXE [BREVANT.EXE ...]
# Each .exe runs from its own folder, with whatever DLLs stand beside it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-11}
programs=()
for exe in "$@"; do
    [ -f "$exe" ] || { echo "wine-start: no $exe" >&2; exit 1; }
    programs+=("$(realpath "$exe")")
done
[ ${#programs[@]} -gt 0 ] || { echo "usage: $0 BREVANT.EXE [...]" >&2; exit 1; }

source "$here/../scripts/xsession.sh"
source "$here/../scripts/wine.sh"
x_session_start wine-start || exit 1
export WINEPREFIX=$scratch/wine
wine_start
# One Wine server for all the starts, so that each start is the program's own.
"$wineserver" -p

now_ms() { echo $(($(date +%s%N) / 1000000)); }
declare -A times
for ((run = 0; run <= runs; run++)); do
    for exe in "${programs[@]}"; do
        t0=$(now_ms)
        "$wine" "$exe" >/dev/null 2>&1 &
        pid=$!
        window=
        for _ in $(seq 3000); do
            window=$(xdotool search --onlyvisible --name '^Sorelin$' 2>/dev/null | head -1)
            [ -n "$window" ] && break
            sleep 0.01
        done
        t1=$(now_ms)
        [ -n "$window" ] || { echo "wine-start: no window from $exe" >&2; exit 1; }
        wmctrl -i -c "$window"
        wait "$pid"
        # The first round warms Wine's own start and the file cache; it is not counted.
        [ "$run" -gt 0 ] && times[$exe]+="$((t1 - t0)) "
    done
done
for exe in "${programs[@]}"; do
    median=$(tr ' ' '\n' <<<"${times[$exe]}" | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    echo "$exe: median $median ms of $runs starts (${times[$exe]% })"
done
