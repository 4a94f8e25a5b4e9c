#!/usr/bin/env bash
# The Windows checks, under Wine: builds build-windows/Brevant.exe and its
# installer (scripts/build-windows.sh), installs it silently into a fresh Wine
# prefix, and runs the desktop test on the installed Brevant.exe. Screenshots
# and logs go to build-windows/desktop-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test --windows
bash scripts/build-windows.sh

mapfile -t installers < <(find build-windows -maxdepth 1 -name '*.exe' ! -name Brevant.exe)
if [ ${#installers[@]} -ne 1 ]; then
    echo "test-windows: expected one installer beside Brevant.exe, found: ${installers[*]}" >&2
    exit 1
fi

# The desktop test's driver is a Linux program.
cmake -S . -B build >/dev/null
cmake --build build -j2 --target tst_desktop

t0=$SECONDS
export WINEPREFIX=$PWD/build-windows/wine-prefix
rm -rf "$WINEPREFIX"
installed="$WINEPREFIX/drive_c/Program Files/Sorelin/Brevant.exe"
(
    source scripts/xsession.sh
    source scripts/wine.sh
    x_session_start "windows install"
    wine_start
    "$wine" "$(realpath "${installers[0]}")" /S
    "$wineserver" -w
    cmp build-windows/Brevant.exe "$installed"
    ls "$WINEPREFIX/drive_c/Program Files/Sorelin/Uninstall.exe" >/dev/null
    find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Sorelin/Sorelin.lnk' | grep -q .
)
echo "test-windows: installed silently in $((SECONDS - t0)) s (Wine prefix made)"

t0=$SECONDS
bash tests/desktop/run_desktop.sh build/tests/desktop/tst_desktop "$installed" build-windows/desktop-artifacts
echo "test-windows: desktop test under Wine passed in $((SECONDS - t0)) s"
