#!/usr/bin/env bash
# Measures Brevant against the floor program (bench/floor.cpp) on one X server:
# start-up (launch to mapped window), resident memory once shown, and the time
# from a real click's mouse-up until another program reads the new text from
# the clipboard. Programs and floor take turns; medians and ratios are printed.
#   bench/run.sh [BUILD_DIR]       (default: build/ beside bench/)
#   RUNS=7 CLICKS=5 bench/run.sh
# Needs Xvfb, openbox, xdotool, xclip and xwininfo.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-7}
clicks=${CLICKS:-5}
program=$build/Brevant
floor=$build/bench/brevant_floor
for exe in "$program" "$floor"; do
    [ -x "$exe" ] || { echo "bench: $exe is not built" >&2; exit 1; }
done
for tool in Xvfb openbox xdotool xclip xwininfo; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done

source "$here/../tests/desktop/xsession.sh"
x_session_start bench || exit 1

now_us() { local t; t=$(date +%s%N); echo $((t / 1000)); }

# Loops until "$@" succeeds; fails after 10 seconds.
await() {
    local deadline=$((SECONDS + 10))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
    done
}
viewable() { xwininfo -name "$1" 2>/dev/null | grep -q 'IsViewable'; }
clipboard_is() { [ "$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null)" = "$1" ]; }

# One start of one program: prints "startup_us rss_kib click_us click_us ...".
# $1 executable, $2 window name, $3 $4 click position in the client area,
# $5 the text the click copies.
measure() {
    local exe=$1 name=$2 x=$3 y=$4 text=$5 t0 t1 pid rss out origin
    t0=$(now_us)
    "$exe" >/dev/null 2>&1 &
    pid=$!
    await viewable "$name" || { echo "bench: no window from $exe" >&2; kill "$pid"; return 1; }
    t1=$(now_us)
    out="$((t1 - t0))"
    sleep 0.5
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    out+=" $rss"
    # Where the window manager put the client area.
    origin=($(xwininfo -name "$name" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'))
    xdotool mousemove --sync $((origin[0] + x)) $((origin[1] + y))
    for ((k = 0; k < clicks; k++)); do
        # Another program's text first, so that the new one shows.
        printf 'bench %d' "$k" | xclip -selection clipboard -i
        await clipboard_is "bench $k" || { echo "bench: xclip did not take the clipboard" >&2; return 1; }
        xdotool mousedown 1
        sleep 0.1
        xdotool mouseup 1
        t0=$(now_us)
        await clipboard_is "$text" || { echo "bench: the click on $name copied nothing" >&2; kill "$pid"; return 1; }
        t1=$(now_us)
        out+=" $((t1 - t0))"
        sleep 0.1
    done
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Brevant's Command101 ("A-(1)", which also fills its pane) and the floor's
# one button, by their centres in the client area.
: >"$scratch/program"
: >"$scratch/floor"
measure "$program" Sorelin 92 84 "A-(1)" >/dev/null || exit 1 # warm-up, not counted
measure "$floor" BrevantFloor 72 40 "特別の教科　道徳" >/dev/null || exit 1
for ((r = 1; r <= runs; r++)); do
    measure "$program" Sorelin 92 84 "A-(1)" >>"$scratch/program" || exit 1
    measure "$floor" BrevantFloor 72 40 "特別の教科　道徳" >>"$scratch/floor" || exit 1
done

figure() { # $1 file, $2 column (1 start-up, 2 memory, 3 clicks)
    if [ "$2" = 3 ]; then
        awk '{ for (i = 3; i <= NF; i++) print $i }' "$1" | median
    else
        awk -v c="$2" '{ print $c }' "$1" | median
    fi
}
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)," \
    "$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)," \
    "Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null || echo '?'), Xvfb + openbox"
echo "runs: $runs of each, alternating; clicks: $clicks per run"
printf '%-28s %12s %12s %8s %8s\n' "" "Brevant" "floor" "ratio" "target"
line() { # $1 label, $2 column, $3 unit divisor, $4 unit, $5 target
    local p f
    p=$(figure "$scratch/program" "$2")
    f=$(figure "$scratch/floor" "$2")
    awk -v l="$1" -v p="$p" -v f="$f" -v d="$3" -v u="$4" -v t="$5" 'BEGIN {
        r = p / f
        printf "%-28s %9.1f %-2s %9.1f %-2s %8.2f %7s%s\n", l, p / d, u, f / d, u, r, "<=" t, (r <= t ? "" : "  MISSED")
    }'
}
line "start-up to mapped window" 1 1000 ms 1.5
line "resident memory (VmRSS)" 2 1024 MiB 1.5
line "mouse-up to clipboard" 3 1000 ms 1.2
