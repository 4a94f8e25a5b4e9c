#!/usr/bin/env bash
# Builds the committed HEAD twice, from two fresh clones in two different
# folders, the second started at least a minute after the first, under another
# time zone, locale and umask, and checks that what is shipped comes out the
# same bit for bit:
#   bash scripts/test-reproducible.sh            build/Brevant, the .deb, the web folder and its zip
#   bash scripts/test-reproducible.sh --windows  Brevant.exe, the installer, the portable zip, the .msi
# A difference is named with diffoscope's summary of it, and the exit status is 1.
# Uncommitted changes are not built: commit first.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
platform=linux
case ${1:-} in
    --windows) platform=windows ;;
    "") ;;
    *) echo "usage: $0 [--windows]" >&2; exit 2 ;;
esac
bash "$repo/scripts/setup.sh" --test ${1:-}
started=$SECONDS
scratch=$(mktemp -d /tmp/sorelin-repro.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
commit=$(git -C "$repo" rev-parse HEAD)

# ---- Linux: the program, the Debian package, the web edition -------------
build_linux() { # SOURCE_DIR: builds only what is compared, into SOURCE_DIR/build
    cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build "$1/build" -j 2
    (cd "$1/build" && cpack -G DEB)
}
artefacts_linux() { # SOURCE_DIR: what is compared, relative to SOURCE_DIR
    (cd "$1" && printf '%s\n' build/Brevant build/sorelin_*.deb build/Sorelin-*-web.zip build/SHA256SUMS build/web)
}

# ---- Windows: the cross-built program and its three packages ------------
# The Windows Qt is cached outside the clones (scripts/windows-qt.sh), so each
# clone only builds the program and its packages. A signing certificate given to
# build-windows.sh (SORELIN_SIGN_PFX, …) signs both builds: scripts/test-windows.sh
# compares signed ones.
build_windows() { # SOURCE_DIR
    bash "$1/scripts/build-windows.sh"
}
artefacts_windows() { # SOURCE_DIR
    (cd "$1" && printf '%s\n' build-windows/Brevant.exe build-windows/Sorelin-*-setup.exe \
        build-windows/Sorelin-*-portable.zip build-windows/Sorelin-*.msi build-windows/SHA256SUMS)
}

# ---- The two builds ------------------------------------------------------
# The second build's Japanese locale, compiled here: the machine need not have it.
mkdir -p "$scratch/locale"
localedef -i ja_JP -f UTF-8 -c "$scratch/locale/ja_JP.UTF-8"

one_build() { # SOURCE_DIR TZ LANG UMASK
    local t0=$SECONDS
    git clone -q --no-checkout "$repo" "$1" && git -C "$1" checkout -q "$commit"
    if ! (umask "$4" && cd "$1" && export TZ="$2" LANG="$3" LOCPATH="$scratch/locale" \
            && unset LC_ALL SOURCE_DATE_EPOCH && "build_$platform" "$1") >"$1.log" 2>&1; then
        tail -n 30 "$1.log" >&2
        echo "test-reproducible: the build in $1 failed" >&2
        exit 1
    fi
    echo "test-reproducible: built in $1 (TZ=$2 LANG=$3 umask $4) in $((SECONDS - t0)) s"
}
one=$scratch/one/Sorelin
two=$scratch/the-second-build/src
mkdir -p "${one%/*}" "${two%/*}"
one_build "$one" UTC C.UTF-8 0022
# A minute at least between the two starts: the clone's file times and every
# clock the build reads move on. The first build mostly takes longer than that.
wait_for=$((60 - (SECONDS - started)))
[ "$wait_for" -gt 0 ] && sleep "$wait_for"
one_build "$two" Pacific/Kiritimati ja_JP.UTF-8 0077

# ---- The comparison ------------------------------------------------------
passed=0
failed=0
while read -r artefact; do
    a=$one/$artefact b=$two/$artefact
    if [ ! -e "$a" ] || [ ! -e "$b" ]; then
        echo "FAIL: $artefact is missing from a build" >&2
        failed=$((failed + 1))
    elif if [ -d "$a" ]; then diff -r "$a" "$b"; else cmp -s "$a" "$b"; fi >/dev/null; then
        echo "ok: $artefact is the same in both builds"
        passed=$((passed + 1))
    else
        echo "FAIL: $artefact differs between the two builds:" >&2
        (cd "$scratch" && diffoscope --no-progress --text - "${a#"$scratch"/}" "${b#"$scratch"/}" 2>&1 | head -n 40) >&2 || true
        failed=$((failed + 1))
    fi
done < <(artefacts_$platform "$one")
echo "test-reproducible: $platform, $((SECONDS - started)) s in all"
echo "reproducible: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
