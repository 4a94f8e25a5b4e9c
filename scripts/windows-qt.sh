#!/usr/bin/env bash
# Builds the Windows Qt (DLLs, so that a user can put another Qt in their place)
# that the Windows Brevant.exe runs with, once per machine, and prints its
# install prefix (the only line on stdout; the build's own output goes to stderr).
#
# Qt comes from Debian's own source package of the Qt the Linux build uses
# (the installed Linux Qt serves as the host Qt for moc, rcc and uic). Only
# Core, Gui, Widgets and the windows platform plugin are shipped. The changes
# made to Qt's source are the patch files in scripts/qt-patches. Beside the
# installed Qt go the licence and attribution files of the source and the list
# of source files the build compiled, from which the package's third-party
# notices are written (scripts/qt-notices.py). The result lives in a cache outside the source tree, keyed by the
# Qt version and everything below that shapes the build:
#   $SORELIN_QT_CACHE, else /var/cache/sorelin-qt-mingw as root,
#   else ${XDG_CACHE_HOME:-~/.cache}/sorelin-qt-mingw.
# A finished Qt is moved into place in one rename and only then marked done,
# so an interrupted build is never taken for a finished one; its build
# directory is kept and the next run carries on where it stopped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain_src="$here/../cmake/windows/mingw-w64-x86_64.cmake"

if [ -n "${SORELIN_QT_CACHE:-}" ]; then
    cache=$SORELIN_QT_CACHE
elif [ "$(id -u)" -eq 0 ]; then
    cache=/var/cache/sorelin-qt-mingw
else
    cache=${XDG_CACHE_HOME:-$HOME/.cache}/sorelin-qt-mingw
fi
jobs=${SORELIN_JOBS:-2}

qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_deb_version%%+*}

# Only the parts the program uses, optimised for size (teachers download it).
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DFEATURE_optimize_size=ON
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_dbus=OFF
    -DINPUT_opengl=no
    -DFEATURE_opengl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_testlib=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=ON
    -DFEATURE_png=ON
    # Debian's source has no 3rdparty/wintab.
    -DFEATURE_tabletevent=OFF
)

patches=("$here"/qt-patches/*.patch)
key=$( { echo "$qt_deb_version"; printf '%s\n' "${options[@]}"; cat "$toolchain_src" "${patches[@]}";
         sed -n '/^keep_attributions()/,/^}/p' "$0"; } | sha256sum | cut -c1-12)
prefix="$cache/qt-$qt_version-$key"
stamp="$prefix/.sorelin-complete"

if [ -f "$stamp" ]; then
    echo "windows-qt: using $prefix" >&2
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
# One build at a time per cache; a second run waits, then finds it done.
exec 9>"$cache/.lock"
if ! flock -n 9; then
    echo "windows-qt: another run is building Qt; waiting for it" >&2
    flock 9
fi
if [ -f "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/work-$key"
src="$work/src"
build="$work/build"
mkdir -p "$work"

# The licence texts and attribution records of Qt's source, and which of its
# source files this build compiled or included, kept beside the installed Qt.
keep_attributions() {
    local out="$1/share/sorelin-attributions"
    mkdir -p "$out"
    (cd "$src" && find . \( -path '*/tests' -o -path '*/examples' \) -prune -o -type f \
        \( -name qt_attribution.json -o -iname '*licen[cs]e*' -o -name 'COPYING*' -o -path './LICENSES/*' \) -print0 \
        | xargs -0 cp --parents -t "$out")
    { ninja -C "$build" -t deps; cat "$build/build.ninja"; } \
        | grep -o "$src/[^ :|\$]*" | sed "s|^$src/||" | sort -u >"$out/compiled-sources.txt"
    echo "$qt_deb_version" >"$out/qt6-base-source-version.txt"
}

if [ ! -f "$src/.sorelin-patched" ]; then
    t0=$SECONDS
    rm -rf "$work/fetch" "$src"
    mkdir -p "$work/fetch"
    # The source of exactly the installed Linux Qt (a deb-src line is needed).
    if ! (cd "$work/fetch" && apt-get source -qq "qt6-base=$qt_deb_version" >&2); then
        echo "windows-qt: apt-get source qt6-base=$qt_deb_version failed (is there a deb-src line?)" >&2
        exit 1
    fi
    dir=$(find "$work/fetch" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
    for p in "${patches[@]}"; do
        patch -s -p1 -d "$dir" <"$p" >&2
    done
    touch "$dir/.sorelin-patched"
    mv "$dir" "$src"
    rm -rf "$work/fetch"
    echo "windows-qt: source fetched and patched in $((SECONDS - t0)) s" >&2
fi

# The toolchain file is kept beside the Qt it built, which refers to it.
toolchain="$cache/toolchain-$key.cmake"
cp "$toolchain_src" "$toolchain"

t0=$SECONDS
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$src" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${options[@]}" >&2
fi
cmake --build "$build" --parallel "$jobs" >&2
echo "windows-qt: built in $((SECONDS - t0)) s" >&2

stage="$work/stage"
rm -rf "$stage" "$prefix"
DESTDIR="$stage" cmake --install "$build" >/dev/null
keep_attributions "$stage$prefix"
mv "$stage$prefix" "$prefix"
touch "$stamp"
rm -rf "$work"
echo "windows-qt: installed $(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
