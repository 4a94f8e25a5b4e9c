#!/usr/bin/env bash
# Measures Brevant against the floor program (bench/floor.cpp) on one X server
# with a window manager, and prints four figures with their ratios to the floor:
#  - instructions executed from launch to the first painted window (callgrind;
#    the count hardly moves with the machine's load, so it is the figure to
#    trust on a busy machine);
#  - time from launch to the first painted window;
#  - resident memory once shown;
#  - time from a real click's mouse-up until another program reads the new
#    text from the clipboard.
# "First painted" is the moment the program first sends painted pixels to the
# X server: a hook loaded only here (bench/firstpaint.cpp, LD_PRELOAD) notes
# it, and callgrind stops counting at the same call. A window mapped early and
# filled later would not count as shown. Programs and floor take turns; the
# times are medians, of 21 runs each by default: on a shared machine the
# median of 11 still moved by several per cent from one run to the next.
#   bench/run.sh [BUILD_DIR]       (default: build/ beside bench/)
#   RUNS=21 CLICKS=5 COUNTS=3 bench/run.sh
# Needs Xvfb, openbox, xdotool, xclip, xwininfo and valgrind.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-21}
clicks=${CLICKS:-5}
counts=${COUNTS:-3}
program=$build/Brevant
floor=$build/bench/brevant_floor
hook=$build/bench/brevant_firstpaint.so
for file in "$program" "$floor" "$hook"; do
    [ -e "$file" ] || { echo "bench: $file is not built" >&2; exit 1; }
done
for tool in Xvfb openbox xdotool xclip xwininfo valgrind; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done

source "$here/../scripts/xsession.sh"
x_session_start bench || exit 1

now_us() { local t; t=$(date +%s%N); echo $((t / 1000)); }

# Loops until "$@" succeeds; fails after 10 seconds.
await() {
    local deadline=$((SECONDS + 10))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
    done
}
# The same, but leaves the processor to the program being started.
await_file() {
    local deadline=$((SECONDS + ${2:-10}))
    until [ -s "$1" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.01
    done
}
viewable() { xwininfo -name "$1" 2>/dev/null | grep -q 'IsViewable'; }
clipboard_is() { [ "$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null)" = "$1" ]; }

# One start of one program: prints "paint_us rss_kib click_us click_us ...".
# $1 executable, $2 window name, $3 $4 click position in the client area,
# $5 the text the click copies.
measure() {
    local exe=$1 name=$2 x=$3 y=$4 text=$5 t0 painted pid out origin
    painted=$scratch/painted
    rm -f "$painted"
    t0=$(now_us)
    BENCH_FIRST_PAINT=$painted LD_PRELOAD=$hook "$exe" >/dev/null 2>&1 &
    pid=$!
    await_file "$painted" || { echo "bench: no paint from $exe" >&2; kill "$pid"; return 1; }
    out="$(($(cat "$painted") - t0))"
    await viewable "$name" || { echo "bench: no window from $exe" >&2; kill "$pid"; return 1; }
    sleep 0.5
    out+=" $(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")"
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
        out+=" $(($(now_us) - t0))"
        sleep 0.1
    done
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$out"
}

# Instructions from launch to the first paint: callgrind writes a profile
# when the program first calls either of the two functions above; its total is
# the count. The program is then ended.
instructions() {
    local exe=$1 out=$scratch/callgrind.$RANDOM pid
    valgrind --tool=callgrind --dump-before=xcb_shm_put_image --dump-before=xcb_put_image \
        --callgrind-out-file="$out" "$exe" >/dev/null 2>"$out.log" &
    pid=$!
    until grep -qs '^totals:' "$out.1"; do
        kill -0 "$pid" 2>/dev/null || { echo "bench: callgrind ended before $exe painted (see $out.log)" >&2; return 1; }
        sleep 0.2
    done
    kill "$pid"
    wait "$pid" 2>/dev/null
    awk '/^totals:/ { print $2 }' "$out.1"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$scratch/program.count"
: >"$scratch/floor.count"
for ((r = 1; r <= counts; r++)); do
    instructions "$program" >>"$scratch/program.count" || exit 1
    instructions "$floor" >>"$scratch/floor.count" || exit 1
done

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

figure() { # $1 file, $2 column (1 first paint, 2 memory, 3 clicks)
    if [ "$2" = 3 ]; then
        awk '{ for (i = 3; i <= NF; i++) print $i }' "$1" | median
    else
        awk -v c="$2" '{ print $c }' "$1" | median
    fi
}
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)," \
    "$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)," \
    "Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null || echo '?'), Xvfb + openbox," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "instruction counts: $counts of each; timed runs: $runs of each, alternating; clicks: $clicks per run"
printf '%-36s %12s %12s %8s %8s\n' "" "Brevant" "floor" "ratio" "target"
line() { # $1 label, $2 Brevant's figure, $3 the floor's, $4 unit divisor, $5 unit, $6 target
    awk -v l="$1" -v p="$2" -v f="$3" -v d="$4" -v u="$5" -v t="$6" 'BEGIN {
        r = p / f
        printf "%-36s %9.1f %-2s %9.1f %-2s %8.2f %7s%s\n", l, p / d, u, f / d, u, r, "<=" t, (r <= t ? "" : "  MISSED")
    }'
}
line "instructions, launch to first paint" "$(median <"$scratch/program.count")" \
    "$(median <"$scratch/floor.count")" 1000000 M 1.40
line "time, launch to first paint" "$(figure "$scratch/program" 1)" "$(figure "$scratch/floor" 1)" 1000 ms 1.15
line "resident memory (VmRSS)" "$(figure "$scratch/program" 2)" "$(figure "$scratch/floor" 2)" 1024 MiB 1.10
line "mouse-up to clipboard" "$(figure "$scratch/program" 3)" "$(figure "$scratch/floor" 3)" 1000 ms 1.10
