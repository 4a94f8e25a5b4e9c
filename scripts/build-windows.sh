#!/usr/bin/env bash
# Cross-builds the Windows program on Debian: build-windows/Brevant.exe, and
# beside it the NSIS installer, the portable zip and the Windows Installer
# package (.msi), each holding the program with the Qt and MinGW runtime DLLs it
# runs with and the licence files.
#   bash scripts/build-windows.sh            everything
#   bash scripts/build-windows.sh --qt-only  only the cached Windows Qt
# The first run on a machine builds Qt from source (20–30 minutes on two
# cores); later runs reuse it (see scripts/windows-qt.sh).
#
# Two runs on the same commit give the same bytes, wherever and whenever they run:
# every time stamp is $SOURCE_DATE_EPOCH, by default the last commit's time
# (cmake/Reproducible.cmake). build-windows/SHA256SUMS lists the packages' checksums.
#
# Signed when SORELIN_SIGN_PFX (a PKCS#12 file) and SORELIN_SIGN_PASSWORD_FILE (a
# file holding its password) are set, with an RFC 3161 time stamp from
# SORELIN_SIGN_TIMESTAMP_URL if set (scripts/sign-windows.sh): Brevant.exe and the
# DLLs before they are packed, the installer and its uninstaller, and the .msi.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/setup.sh --windows

# The linker, strip and osslsigncode take the time they write from the environment,
# and cmake/Reproducible.cmake takes it from there too when it is set: the same rule.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
if [ -n "${SORELIN_SIGN_PFX:-}${SORELIN_SIGN_PASSWORD_FILE:-}" ]; then
    signing=1
    bash scripts/sign-windows.sh --check
else
    signing=
    echo "build-windows: no SORELIN_SIGN_PFX given: Brevant.exe, its DLLs and the packages are unsigned"
fi

# Qt's source comes through apt-get source, from the archive the machine uses.
bash scripts/deb-src.sh qt6-base

t0=$SECONDS
qt_prefix=$(bash scripts/windows-qt.sh)
echo "build-windows: Windows Qt ready in $((SECONDS - t0)) s: $qt_prefix"
[ "${1:-}" = "--qt-only" ] && exit 0

t0=$SECONDS
out=build-windows
# Brevant.exe is linked again each time, since the last run may have signed it.
rm -f "$out"/*.exe "$out"/*.zip "$out"/*.msi "$out"/*.json "$out"/SHA256SUMS
"$qt_prefix/bin/qt-cmake" -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$out" --parallel "${SORELIN_JOBS:-2}"
echo "build-windows: Brevant.exe built in $((SECONDS - t0)) s"

if [ -n "$signing" ]; then
    # The DLLs' copies that are packed, which PackagingWindows.cmake stripped.
    t0=$SECONDS
    bash scripts/sign-windows.sh "$out/Brevant.exe" "$out"/stripped/*.dll
    echo "build-windows: Brevant.exe and $(ls "$out"/stripped/*.dll | wc -l) DLLs signed in $((SECONDS - t0)) s"
fi

t0=$SECONDS
# cpack signs the installer, its uninstaller and the .msi, and writes SHA256SUMS
# (cmake/windows/Packaging.windows.in).
sign_script=${signing:+$PWD/scripts/sign-windows.sh}
(cd "$out" && SORELIN_SIGN_SCRIPT=$sign_script cpack)
echo "build-windows: installer, zip and .msi made in $((SECONDS - t0)) s"

ls -l "$out"/*.exe "$out"/*.zip "$out"/*.msi
cat "$out/SHA256SUMS"
echo "build-windows: done in $((SECONDS - started)) s"
