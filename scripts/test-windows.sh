#!/usr/bin/env bash
# The Windows checks, under Wine: builds build-windows/Brevant.exe, its installer,
# its portable zip and its .msi (scripts/build-windows.sh), and an .msi of the
# next version in build-windows/upgrade, then in a fresh Wine prefix
#   - installs silently for the current user (/S) and checks what is where:
#     the program with its Qt and runtime DLLs, the licence files, the HKCU
#     entry and the user's Start-menu entry;
#   - installs for all users (/S /AllUsers) under Program Files with an HKLM
#     entry, and uninstalls that again;
#   - runs the portable zip from a copied folder and checks that it leaves no
#     registry key or file of its own behind;
#   - runs the desktop test on the program installed for the user, on a screen
#     it fits and on a short and a scaled one;
#   - uninstalls it and checks that nothing of it is left;
#   - installs, removes, upgrades the .msi silently as school IT does (below).
# All of it on packages signed with a throwaway certificate made for the run, whose
# signatures osslsigncode checks; and two more builds of the commit, in fresh clones
# and signed alike, must give the same bytes (scripts/test-reproducible.sh --windows).
# Screenshots and logs go to build-windows/desktop-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test --windows

# A throwaway CA, a code-signing certificate it issued and one that expired, and
# their password, removed after the run.
ca=$(mktemp -d)
trap 'rm -rf "$ca"' EXIT
(
    cd "$ca" && umask 077
    openssl rand -hex 16 >pass && echo wrong >wrong
    openssl req -x509 -newkey rsa:2048 -noenc -keyout ca.key -out ca.pem -days 2 -subj "/CN=Sorelin test CA" \
        -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign
    openssl req -newkey rsa:2048 -noenc -keyout sign.key -out sign.csr -subj "/CN=Tamberlo test"
    printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >ext
    openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile ext -out sign.pem
    faketime '2020-01-01 00:00:00' openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -days 1 -extfile ext -out old.pem
    for name in sign old; do
        openssl pkcs12 -export -inkey sign.key -in $name.pem -out $name.pfx -passout file:pass
    done
) 2>/dev/null
export SORELIN_SIGN_PFX=$ca/sign.pfx SORELIN_SIGN_PASSWORD_FILE=$ca/pass
bash scripts/build-windows.sh 2>&1 | tee "$ca/build.log"

installer=$(find build-windows -maxdepth 1 -name 'Sorelin-*-setup.exe')
portable=$(find build-windows -maxdepth 1 -name 'Sorelin-*-portable.zip')
msi=$(find build-windows -maxdepth 1 -name 'Sorelin-*.msi')
if [ "$(wc -w <<<"$installer $portable $msi")" -ne 3 ]; then
    echo "test-windows: expected one installer, one portable zip and one .msi, found: $installer $portable $msi" >&2
    exit 1
fi

# The .msi's version in Windows Installer's three numbers (1.00 is 1.0.0), and an
# .msi of the next version (1.01), from a build of its own, to upgrade to.
t0=$SECONDS
version=${msi##*/Sorelin-} && version=${version%.msi}
msi_version=$(awk -v v="$version" 'BEGIN { split(v, n, "."); printf "%d.%d.0", n[1], n[2] }')
next=$(awk -v v="$version" 'BEGIN { split(v, n, "."); printf "%d.%02d", n[1], n[2] + 1 }')
upgrade=build-windows/upgrade
qt_prefix=$(bash scripts/windows-qt.sh)
"$qt_prefix/bin/qt-cmake" -S . -B "$upgrade" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DSORELIN_PACKAGE_VERSION="$next" >/dev/null
cmake --build "$upgrade" --parallel "${SORELIN_JOBS:-2}" >/dev/null
rm -f "$upgrade"/*.msi
(cd "$upgrade" && cpack -G External >/dev/null)
newer=$upgrade/Sorelin-$next.msi
newer_files=$(dirname "$(find "$upgrade/_CPack_Packages" -path '*/External/*/Brevant.exe')")
echo "test-windows: the $next .msi built in $((SECONDS - t0)) s"

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

# The .msi's checks. msiexec, silent, with a package (/i or /x): its exit code,
# which Wine gives modulo 256 (1603, the install failed, as 67).
msiexec() {
    local code=0
    "$wine" msiexec "$1" "Z:$(realpath "$2" | tr / '\\')" /qn || code=$?
    "$wineserver" -w
    return $code
}
refused() { msiexec /i "$1"; [ $? -eq $((1603 % 256)) ]; }
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }
# Per machine, the upgrade code Sorelin keeps for good, the version record's name,
# maker and version, and the message that stops an older package.
msi_properties() { # package, version
    local code; code=$(sed -n 's/^set(CPACK_WIXL_UPGRADE_CODE \(.*\))$/{\1}/p' cmake/PackagingWindows.cmake)
    [ "$(property "$1" ALLUSERS) $(property "$1" UpgradeCode) $(property "$1" ProductName)" = "1 $code Sorelin" ] \
        && [ "$(property "$1" Manufacturer) $(property "$1" ProductVersion)" = "Tamberlo $2" ] \
        && msiinfo export "$1" LaunchCondition | grep -q 'A newer version of Sorelin is already installed'
}
# The HKLM Settings > Apps entries of Windows Installer products: name, publisher,
# version and folder, a line each.
msi_entries() {
    awk -F'"' 'function out() { if (name != "") print name "|" publisher "|" version "|" folder; name = "" }
        /^\[/ { out(); publisher = version = folder = ""
                entry = /^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\\{/ }
        entry && $2 == "DisplayName" { name = $4 } entry && $2 == "Publisher" { publisher = $4 }
        entry && $2 == "DisplayVersion" { version = $4 } entry && $2 == "InstallLocation" { folder = $4 }
        END { out() }' "$WINEPREFIX/system.reg"
}
one_entry() { [ "$(msi_entries)" = "Sorelin|Tamberlo|$1|C:\\\\Program Files\\\\Sorelin\\\\" ]; }
# The entry's icon: the product's, which Windows Installer keeps in its own folder.
entry_icon() {
    local icon; icon=$(sed -n 's/^"ProductIcon"="C:\(.*\)"$/\1/p' "$WINEPREFIX/system.reg")
    [ -n "$icon" ] && cmp -s resources/brevant.ico "$WINEPREFIX/drive_c${icon//\\\\//}"
}
# A Start-menu entry that starts the installed program: in ProgramMenuFolder, all
# users' Start menu on Windows with ALLUSERS=1; Wine's msiexec takes the user's.
menu_entry() {
    grep -qsaF 'C:\Program Files\Sorelin\Brevant.exe' \
        "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sorelin.lnk" \
        "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sorelin.lnk"
}
# Starts the program, clicks the first button of the tab shown at start (at 92,73
# in the window; it copies A-(1)), reads the clipboard and closes the program.
click_copies() {
    local window copied= _
    "$wine" "$1" &
    # This program's window: Windows Installer's own, named after the product
    # too, may still be closing.
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid $! --name '^Sorelin$' | head -1)
    [ -n "$window" ] || return 1
    for _ in $(seq 20); do
        xdotool mousemove --window "$window" 92 73 click 1
        copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
        [ "$copied" = "A-(1)" ] && break
        sleep 0.5
    done
    wmctrl -i -c "$window"
    "$wineserver" -w
    [ "$copied" = "A-(1)" ]
}
# The newer .msi installed: its one entry and its files.
upgraded() { one_entry "$(property "$newer" ProductVersion)" && diff -r "$newer_files" "$all_users"; }
# What is left of the .msi: files or keys naming Sorelin, what is in Windows
# Installer's own folder (packages and icons kept), and the keys it registers
# products and their components under, named by packed GUIDs.
msi_traces() {
    { grep -h -i -E '^\[.*(sorelin|tamberlo|brevant)|^\[Software\\\\(Classes\\\\Installer|Microsoft\\\\Windows\\\\CurrentVersion\\\\(Installer|Uninstall))\\\\.*([0-9A-F]{32}|\{)' \
          "$WINEPREFIX"/*.reg || true
      find "$WINEPREFIX/drive_c" -iname '*sorelin*' -o -iname '*tamberlo*' -o -iname '*brevant*' -o -path '*/windows/Installer/*'
    } | sed 's/\] [0-9]*$/]/'
}

# Signed by the test's certificate: the installer, the .msi and every .exe and DLL.
signed() {
    local f
    for f; do
        osslsigncode verify -CAfile "$ca/ca.pem" -in "$f" >/dev/null 2>&1 || { echo "  not signed: $f" >&2; return 1; }
    done
}
check "SHA256SUMS holds the installer, the zip and the .msi, and they match it" \
    bash -c 'cd build-windows && [ "$(cut -d" " -f3 SHA256SUMS | xargs)" = "$(ls Sorelin-*-portable.zip Sorelin-*-setup.exe Sorelin-*.msi | LC_ALL=C sort | xargs)" ] && sha256sum --quiet -c SHA256SUMS'
check "the password is in no log" bash -c '! grep -rqFf "$1" "$2" build-windows/_CPack_Packages' _ "$ca/pass" "$ca/build.log"
# A wrong password and an expired certificate stop the build before it starts.
for row in "a wrong password|sign.pfx|wrong|does not open" "an expired certificate|old.pfx|pass|expired on"; do
    IFS='|' read -r what pfx pass says <<<"$row"
    said=$(SORELIN_SIGN_PFX=$ca/$pfx SORELIN_SIGN_PASSWORD_FILE=$ca/$pass bash scripts/build-windows.sh 2>&1) && said=
    check "$what stops the build: '$(grep -m1 "$says" <<<"$said")'" grep -q "$says" <<<"$said"
done

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
    check "the installed uninstaller is signed" signed "$per_user/Uninstall.exe"

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
    check "signed: the installer, the .msi, and every .exe and DLL the zip holds" \
        signed "$installer" "$msi" $(find "$folder" -iname '*.exe' -o -iname '*.dll')
    "$wine" "$exe" &
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid $! --name '^Sorelin$' | head -1)
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

# The .msi, as school IT runs it, in the same prefix with nothing of Sorelin's left:
# installed, removed, installed again and upgraded by the next version's, which
# the older one must not replace; after each removal nothing of it may be left.
t0=$SECONDS
(
    source scripts/xsession.sh
    source scripts/wine.sh
    x_session_start "windows msi"
    wine_start
    # At 96 dpi again after the scaled desktop test, for click_copies' point.
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    mkdir -p "$scratch/zip" && (cd "$scratch/zip" && unzip -q "$(realpath "$OLDPWD/$portable")")
    zipped=$(dirname "$(find "$scratch/zip" -name Brevant.exe)")

    check "the .msi: per machine, Sorelin's upgrade code, name, maker and version" msi_properties "$msi" "$msi_version"
    check "the .msi installs silently" msiexec /i "$msi"
    check "  every file the zip holds, and no other, under Program Files" diff -r "$zipped" "$all_users"
    check "  one HKLM entry: Sorelin, Tamberlo, $msi_version, the folder" one_entry "$msi_version"
    check "  the entry's icon" entry_icon
    check "  a Start-menu entry" menu_entry
    check "  the program starts and a click copies" click_copies "$all_users/Brevant.exe"
    check "the .msi removes itself silently" msiexec /x "$msi"
    check "  leaving nothing" test -z "$(msi_traces)"

    check "the .msi installs again" msiexec /i "$msi"
    check "the $next .msi upgrades it" msiexec /i "$newer"
    check "  to one entry, of $next, with its files" upgraded
    check "the older .msi over the newer one stops" refused "$msi"
    check "  and changes nothing" upgraded
    check "the newer .msi removes itself silently" msiexec /x "$newer"
    left=$(msi_traces)
    check "  leaving nothing" test -z "$left"
    [ -z "$left" ] || echo "$left" >&2
    exit $failures
) || failures=$?
echo "test-windows: .msi checks done in $((SECONDS - t0)) s"
[ "$failures" -eq 0 ] || exit 1

t0=$SECONDS
bash scripts/test-reproducible.sh --windows
echo "test-windows: reproducibility check done in $((SECONDS - t0)) s"
