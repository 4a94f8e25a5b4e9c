#!/usr/bin/env bash
# The Windows checks, under Wine: builds build-windows/Brevant.exe, its installer
# and its portable zip (scripts/build-windows.sh), then in a fresh Wine prefix
#   - installs silently for the current user (/S) and checks what is where:
#     the program with its Qt and runtime DLLs, the licence files, the HKCU
#     entry and the user's Start-menu entry;
#   - installs for all users (/S /AllUsers) under Program Files with an HKLM
#     entry, and uninstalls that again;
#   - runs the portable zip from a copied folder and checks that it leaves no
#     registry key or file of its own behind;
#   - runs the desktop test on the program installed for the user, on a screen
#     it fits and on a short and a scaled one;
#   - uninstalls it and checks that nothing of it is left.
# Screenshots and logs go to build-windows/desktop-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test --windows
bash scripts/build-windows.sh

installer=$(find build-windows -maxdepth 1 -name 'Sorelin-*-setup.exe')
portable=$(find build-windows -maxdepth 1 -name 'Sorelin-*-portable.zip')
if [ "$(wc -w <<<"$installer $portable")" -ne 2 ]; then
    echo "test-windows: expected one installer and one portable zip, found: $installer $portable" >&2
    exit 1
fi

# The desktop test's driver is a Linux program.
cmake -S . -B build >/dev/null
cmake --build build -j2 --target tst_desktop

export WINEPREFIX=$PWD/build-windows/wine-prefix
rm -rf "$WINEPREFIX"
user_dir=$WINEPREFIX/drive_c/users/$(id -un)
per_user=$user_dir/AppData/Local/Programs/Sorelin
all_users="$WINEPREFIX/drive_c/Program Files/Sorelin"
key='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Sorelin'

failures=0
check() { # description, command...
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
has_key() { grep -q "^\[$key\]" "$WINEPREFIX/$1"; }
user_entry_only() { has_key user.reg && ! has_key system.reg; }
# What a folder must hold: the program and the Qt and runtime DLLs it runs with,
# and the licence files.
holds_package() {
    local dir=$1 f
    cmp -s build-windows/Brevant.exe "$dir/Brevant.exe" || { echo "  $dir: Brevant.exe differs" >&2; return 1; }
    for f in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll libstdc++-6.dll libgcc_s_seh-1.dll \
             libwinpthread-1.dll LICENSE.txt THIRD-PARTY-NOTICES.txt LICENSES/LGPL-3.0-only.txt LICENSES/GPL-3.0-only.txt \
             qt-patches/README.txt; do
        [ -s "$dir/$f" ] || { echo "  $dir: no $f" >&2; return 1; }
    done
    ls "$dir"/qt-patches/*.patch >/dev/null || return 1
    local qt; qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    grep -q "^Qt ${qt%%+*} " "$dir/THIRD-PARTY-NOTICES.txt" || { echo "  the notices do not name Qt ${qt%%+*}" >&2; return 1; }
    grep -q "qt6-base, version $qt" "$dir/qt-patches/README.txt"
}
# The program's own traces: registry keys or files naming it or its maker.
traces() {
    { grep -h -i -E '^\[.*(sorelin|tamberlo|brevant|qtproject)' "$WINEPREFIX"/*.reg || true
      find "$user_dir" "$WINEPREFIX/drive_c/ProgramData" -iname '*sorelin*' -o -iname '*tamberlo*' -o -iname '*brevant*'
    } | sed 's/\] [0-9]*$/]/' | sort
}

t0=$SECONDS
(
    source scripts/xsession.sh
    source scripts/wine.sh
    x_session_start "windows install"
    wine_start

    "$wine" "$(realpath "$installer")" /S
    "$wineserver" -w
    check "installed for the user, with DLLs and licence files" holds_package "$per_user"
    check "HKCU entry, no HKLM entry" user_entry_only
    check "the user's Start menu" test -f "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sorelin/Sorelin.lnk"
    check "nothing under Program Files" test ! -e "$all_users"

    "$wine" "$(realpath "$installer")" /S /AllUsers
    "$wineserver" -w
    check "installed for all users under Program Files" holds_package "$all_users"
    check "HKLM entry" has_key system.reg
    check "every user's Start menu" test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sorelin/Sorelin.lnk"
    "$wine" "$all_users/Uninstall.exe" /AllUsers /S
    "$wineserver" -w
    check "uninstalled for all users, the user's install kept" test ! -e "$all_users" -a -f "$per_user/Brevant.exe"
    check "the HKLM entry gone, the HKCU one kept" user_entry_only

    # The portable folder, copied elsewhere, started and closed.
    before=$(traces)
    folder=$scratch/stick
    mkdir -p "$folder" && (cd "$folder" && unzip -q "$(realpath "$OLDPWD/$portable")")
    exe=$(find "$folder" -name Brevant.exe)
    check "the zip holds the same folder" holds_package "$(dirname "$exe")"
    "$wine" "$exe" &
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Sorelin$' | head -1)
    check "the portable program shows its window" test -n "$window"
    # Closed as by its close box: the window manager asks the window to close.
    [ -n "$window" ] && wmctrl -i -c "$window"
    "$wineserver" -w
    check "the portable program leaves no trace" test "$before" = "$(traces)"
    exit $failures
) || failures=$?
echo "test-windows: install checks done in $((SECONDS - t0)) s"
[ "$failures" -eq 0 ] || exit 1

# As designed on a screen it fits, then on the short and scaled screens of
# school laptops: 1366x768, and 1920x1080 at 150 % (144 dpi).
for screen in "" "1366x768 96" "1920x1080 144"; do
    t0=$SECONDS
    read -r size dpi <<<"$screen"
    # What the scaling makes of the design's pixels, which a window that fits is not drawn larger than.
    factor=$(awk -v dpi="${dpi:-96}" 'BEGIN { print dpi / 96 }')
    SORELIN_SCREEN=$size SORELIN_DPI=$dpi SORELIN_SCALE_FACTOR=$factor \
        bash tests/desktop/run_desktop.sh build/tests/desktop/tst_desktop \
        "$per_user/Brevant.exe" "build-windows/desktop-artifacts${size:+-$size}"
    echo "test-windows: desktop test under Wine${size:+ on $size at $dpi dpi} passed in $((SECONDS - t0)) s"
done

(
    source scripts/xsession.sh
    source scripts/wine.sh
    x_session_start "windows uninstall"
    wine_start
    "$wine" "$per_user/Uninstall.exe" /CurrentUser /S
    "$wineserver" -w
    sleep 1 # the uninstaller runs from a copy of itself, which starts a moment later
    "$wineserver" -w
    left=$(traces)
    [ -z "$left" ] || { echo "test-windows: the uninstall left: $left" >&2; exit 1; }
    echo "ok: the uninstall removes everything"
)
