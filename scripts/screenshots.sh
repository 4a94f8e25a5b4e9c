#!/usr/bin/env bash
# Takes the README's two pictures of the real window, framed by openbox, on an
# X server of its own (scripts/xsession.sh):
#   docs/tab-new.png   the window as it opens, on its second tab
#   docs/tab-old.png   the first tab after a click on its 3-(1) button
#   scripts/screenshots.sh [BUILD_DIR]       (default: build/ beside scripts/)
# The pictures carry no dates or other chunks that change from run to run, so
# a rerun on the same machine writes the same files.
# Needs Xvfb, openbox, xdotool, xwininfo and ImageMagick's import.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 1
program=$build/Brevant
[ -x "$program" ] || { echo "screenshots: $program is not built" >&2; exit 1; }
for tool in Xvfb openbox xdotool xwininfo import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/setup.sh --test installs it)" >&2; exit 1; }
done

source "$here/xsession.sh"
X_SESSION_SCREEN=1280x1024 x_session_start screenshots || exit 1
"$program" >"$scratch/brevant.log" 2>&1 &
pids+=($!)

window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "${pids[-1]}" --name '^Sorelin$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshots: no window (see $scratch/brevant.log)" >&2; exit 1; }
# The frame is the window manager's window that holds the program's, a child of the root.
rootid=$(xwininfo -root | awk '/Window id:/ { print $4 }')
frame=$window
while parent=$(xwininfo -tree -id "$frame" | awk '/Parent window id:/ { print $4 }') && [ "$parent" != "$rootid" ]; do
    frame=$parent
done
read -r -a origin < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')

# Places in the window's client area from tests/window.tsv, the record of every control, where a
# button's place is inside the tab strip (SSTab1): the middle of button $1, or with "tab", the
# first tab (the left half of the strip's top 43 pixels).
place() {
    awk -F'\t' -v c="$1" '
        { split($2, p, /[,x ]/) }
        $1 == "SSTab1" { sx = p[1]; sy = p[2]; tx = sx + int(p[3] / 4); ty = sy + 20 }
        $1 == c { x = p[1] + int(p[3] / 2); y = p[2] + int(p[4] / 2) }
        END { if (c == "tab") print tx, ty; else print sx + x, sy + y }' "$root/tests/window.tsv"
}
click() {
    local x y
    read -r x y < <(place "$1")
    xdotool mousemove "$((origin[0] + x))" "$((origin[1] + y))" click 1
}

# The framed window once two captures a moment apart agree (the window drawn in full),
# written without the chunks that would change from run to run.
capture() {
    local out=$root/docs/$1 last='' now
    for _ in $(seq 50); do
        sleep 0.2
        # Out of the window (the screen is 1280x1024), so that no face is drawn hovered.
        xdotool mousemove 1270 1010
        now=$(import -window "$frame" rgb:- | md5sum)
        [ "$now" = "$last" ] && break
        last=$now
    done
    import -window "$frame" -strip -define png:exclude-chunks=date,time +set date:create +set date:modify \
        "png24:$out" || { echo "screenshots: import could not take $1" >&2; exit 1; }
    echo "screenshots: $out"
}

capture tab-new.png
click tab
sleep 0.3
click Command12
capture tab-old.png
