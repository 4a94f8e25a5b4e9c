#!/usr/bin/env bash
# Measures the web edition (build/web) against the floor page (bench/floor.html:
# one Japanese button that copies one text, as bench/floor.cpp is for the
# desktop program) in Chromium, on one Xvfb with openbox, and prints the
# folder's size and two figures with their ratios to the floor:
#  - navigation to first paint (the page's own "first-paint" entry, counted
#    from the start of the navigation), both opened as files;
#  - a real click's mouse-up (xdotool) until another program (xclip) reads the
#    new text from the clipboard.
# Page and floor take turns; the times are medians of RUNS runs each (21 by
# default), CLICKS clicks a run (5);
#  - Lighthouse's performance score and Total Blocking Time on the folder served
#    over http, medians of LIGHTHOUSE runs (5).
#   bench/web.sh [BUILD_DIR]       (default: build/ beside bench/)
# Needs Xvfb, openbox, xdotool, xclip, chromium, chromedriver, python3-selenium and
# Lighthouse (tests/web/node_modules: scripts/setup.sh --test).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
[ -f "$build/web/index.html" ] || { echo "bench: $build/web is not built" >&2; exit 1; }
for tool in Xvfb openbox xdotool xclip chromium chromedriver; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done

source "$here/../scripts/xsession.sh"
x_session_start "web bench" || exit 1
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)," \
    "$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)," \
    "$(chromium --version 2>/dev/null), Xvfb + openbox, load $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 "$here/web.py" "$build/web" "$here/floor.html" "${RUNS:-21}" "${CLICKS:-5}"
