#!/usr/bin/env bash
# Cross-builds the Windows program on Debian: build-windows/Brevant.exe (static,
# needs no DLLs beside it) and its NSIS installer beside it.
#   bash scripts/build-windows.sh            everything
#   bash scripts/build-windows.sh --qt-only  only the cached Windows Qt
# The first run on a machine builds Qt from source (20–30 minutes on two
# cores); later runs reuse it (see scripts/windows-qt.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/setup.sh --windows

# Qt's source comes through apt-get source, which needs a deb-src line.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package: qt6-base'; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    . /etc/os-release
    echo "build-windows: adding a deb-src line for $VERSION_CODENAME"
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
        "Suites: $VERSION_CODENAME $VERSION_CODENAME-updates" 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
        | "${sudo[@]}" tee /etc/apt/sources.list.d/sorelin-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi

t0=$SECONDS
qt_prefix=$(bash scripts/windows-qt.sh)
echo "build-windows: Windows Qt ready in $((SECONDS - t0)) s: $qt_prefix"
[ "${1:-}" = "--qt-only" ] && exit 0

t0=$SECONDS
out=build-windows
rm -f "$out"/*.exe
"$qt_prefix/bin/qt-cmake" -S . -B "$out" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$out" --parallel "${SORELIN_JOBS:-2}"
echo "build-windows: Brevant.exe built in $((SECONDS - t0)) s"

t0=$SECONDS
(cd "$out" && cpack -G NSIS)
echo "build-windows: installer made in $((SECONDS - t0)) s"

ls -l "$out"/*.exe
echo "build-windows: done in $((SECONDS - started)) s"
