# Runs the Windows build under Wine (the install check and the desktop test); source it after
# x_session_start, then
#   wine_start       a Wine server on this X display, in $WINEPREFIX if set
#                    (made if new), else in a prefix in the scratch home
#   wine_wrap EXE    prints a command that starts EXE under Wine; the program's
#                    window carries that command's process id
# The Wine server and the programs it still runs end with the session.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)

wine_end() {
    "$wineserver" -k 2>/dev/null || true
    x_session_end
}

wine_start() {
    export WINEPREFIX=${WINEPREFIX:-$scratch/wine} WINEDEBUG=${WINEDEBUG:--all}
    # No prompts to download Wine's .NET and HTML engines.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # A server left from another display would open the windows there.
    "$wineserver" -k 2>/dev/null || true
    trap wine_end EXIT
    [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >"$scratch/wineboot.log" 2>&1
    "$wineserver" -w
}

wine_wrap() {
    local wrapper="$scratch/$(basename "$1" .exe).sh"
    printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine" "$(realpath "$1")" >"$wrapper"
    chmod +x "$wrapper"
    echo "$wrapper"
}
