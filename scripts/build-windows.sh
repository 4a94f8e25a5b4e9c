#!/usr/bin/env bash
# Cross-builds the Windows program on Debian: build-windows/Brevant.exe, and
# beside it the NSIS installer, the portable zip and the Windows Installer
# package (.msi), each holding the program with the Qt and MinGW runtime DLLs it
# runs with and the licence files.
#   bash scripts/build-windows.sh            everything
#   bash scripts/build-windows.sh --qt-only  only the cached Windows Qt
# The first run on a machine builds Qt from source (20–30 minutes on two
# cores); later runs reuse it (see scripts/windows-qt.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/setup.sh --windows

# Qt's source comes through apt-get source, from the archive the machine uses.
bash scripts/deb-src.sh qt6-base

t0=$SECONDS
qt_prefix=$(bash scripts/windows-qt.sh)
echo "build-windows: Windows Qt ready in $((SECONDS - t0)) s: $qt_prefix"
[ "${1:-}" = "--qt-only" ] && exit 0

t0=$SECONDS
out=build-windows
rm -f "$out"/*.exe "$out"/*.zip "$out"/*.msi "$out"/*.json
"$qt_prefix/bin/qt-cmake" -S . -B "$out" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$out" --parallel "${SORELIN_JOBS:-2}"
echo "build-windows: Brevant.exe built in $((SECONDS - t0)) s"

t0=$SECONDS
(cd "$out" && cpack)
echo "build-windows: installer, zip and .msi made in $((SECONDS - t0)) s"

ls -l "$out"/*.exe "$out"/*.zip "$out"/*.msi
echo "build-windows: done in $((SECONDS - started)) s"
