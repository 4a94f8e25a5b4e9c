# A private X desktop for the benchmark, the Windows install check and the desktop test; source it, then
#   x_session_start NAME [LOGDIR [WxH...]]
# starts Xvfb on a free display and the openbox window manager with a scratch
# home ($scratch), exports what the programs need, and ends everything it (and
# whatever was added to $pids) started when the script exits. The first screen
# is 1280x1024, or $X_SESSION_SCREEN. Each WxH adds a further screen of that
# size (screens 1, 2, ... of the display), each with an openbox of its own.

x_session_end() {
    # Latest first: the caller's programs, then the window manager, the server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$scratch"
}

x_session_start() {
    local name=$1 logs screen extra=() n
    scratch=$(mktemp -d "/tmp/sorelin-${name// /-}.XXXXXX")
    logs=${2:-$scratch}
    shift $(($# < 2 ? $# : 2))
    n=0
    for screen in "$@"; do
        extra+=(-screen $((++n)) "${screen}x24")
    done
    pids=()
    trap x_session_end EXIT
    trap 'exit 130' INT TERM

    # Xvfb picks a free display number and writes it once it takes connections.
    Xvfb -displayfd 3 -screen 0 "${X_SESSION_SCREEN:-1280x1024}x24" "${extra[@]}" -nolisten tcp -noreset \
        3>"$scratch/display" >"$logs/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$scratch/display" ]; then
        echo "$name: Xvfb did not start (see $logs/xvfb.log)" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$scratch/display")"

    mkdir -m 700 "$scratch/home" "$scratch/runtime"
    export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
    # The programs draw on this X server at 96 dpi, whatever the caller's session.
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_STYLE_OVERRIDE QT_FONT_DPI
    export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8

    for ((screen = n; screen >= 0; screen--)); do
        DISPLAY=$DISPLAY.$screen openbox --sm-disable >"$logs/openbox-$screen.log" 2>&1 &
        pids+=($!)
    done
    for ((screen = 0; screen <= n; screen++)); do
        for _ in $(seq 100); do
            xprop -display "$DISPLAY.$screen" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
                && continue 2
            sleep 0.1
        done
        echo "$name: the window manager did not start (see $logs/openbox-$screen.log)" >&2
        return 1
    done
}
