#!/usr/bin/env bash
# Runs the web edition's test in one browser engine on an X server of its own:
#   run_web.sh ENGINE WEB_DIR ARTIFACT_DIR      (ENGINE: chromium, firefox or webkit)
# Starts Xvfb and the openbox window manager (scripts/xsession.sh), keeps the
# browsers' logs in ARTIFACT_DIR and ends everything it started.
# Exit 77 (skipped) when the browser or a tool is missing, unless CI=true: then 1.
set -uo pipefail

engine=$1
web=$2
artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)

case $engine in
    chromium) tools=(chromium chromedriver convert) ;;
    firefox) tools=(firefox-esr) ;;
    webkit) tools=(WebKitWebDriver /usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser) ;;
esac
missing=$(for tool in "${tools[@]}" Xvfb openbox xdotool xclip wmctrl; do command -v "$tool" >/dev/null || echo -n "$tool "; done)
/usr/bin/python3 -c 'import selenium, websockets' 2>/dev/null || missing+="python3-selenium or python3-websockets "
[ -f "$here/node_modules/axe-core/axe.min.js" ] || missing+="tests/web/node_modules (npm ci)"
if [ -n "$missing" ]; then
    echo "web test ($engine): missing $missing (scripts/setup.sh --test installs it)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
fi
[ -f "$web/index.html" ] || { echo "web test: no page at $web/index.html" >&2; exit 1; }
rm -rf "$artifacts" && mkdir -p "$artifacts"
web=$(realpath "$web") artifacts=$(realpath "$artifacts")
# The commonest PC screen: Chromium gives an always-on-top window at most
# four fifths of the screen's height, which on 1080 lines holds the window at
# its designed size (on 1024 it would be drawn smaller).
export X_SESSION_SCREEN=${X_SESSION_SCREEN:-1920x1080}
source "$here/../../scripts/xsession.sh"
x_session_start "web test $engine" "$artifacts" || exit 1
cd "$here" && /usr/bin/python3 webtest.py "$engine" "$web" "$here/../window.tsv" "$artifacts"
