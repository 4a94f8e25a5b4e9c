#!/usr/bin/env bash
# Checks that the Windows packages are reproducible: the commit checked out, built
# by scripts/build-windows.sh in another folder, at another time, with another
# time zone, language and umask, must give the same bytes: Brevant.exe, the
# installer, the portable zip, the .msi and SHA256SUMS. Each file that differs is
# named, with the start of diffoscope's report on it.
#   bash scripts/test-reproducible-windows.sh          two builds in folders of their own
#   bash scripts/test-reproducible-windows.sh DIR      one, against DIR (e.g. build-windows,
#                                                      made from this commit)
# A signing certificate set for build-windows.sh (SORELIN_SIGN_PFX, …) is used by
# each build, so that signed builds are compared.
set -euo pipefail
cd "$(dirname "$0")/.."

windows_reproducible() { # [DIR]
    local commit work built=() dir a b name differ=0
    commit=$(git rev-parse HEAD)
    [ -z "$(git status --porcelain --untracked-files=no)" ] \
        || echo "test-reproducible-windows: uncommitted changes are not built; the commit $commit is" >&2
    work=$(mktemp -d)
    # Each build in a clone of the commit, in folders of different depths.
    for dir in "$work/a/Sorelin" "$work/b/another/folder"; do
        [ ${#built[@]} -eq $(( $# > 0 ? 1 : 2 )) ] && break
        git clone -q --no-checkout "$PWD" "$dir"
        git -C "$dir" checkout -q "$commit"
        if [ ${#built[@]} -eq 0 ]; then
            (cd "$dir" && umask 077 && TZ=Asia/Tokyo LANG=ja_JP.UTF-8 LC_ALL= bash scripts/build-windows.sh) >"$dir.log" 2>&1
        else
            (cd "$dir" && umask 002 && TZ=America/Los_Angeles LANG=C LC_ALL= bash scripts/build-windows.sh) >"$dir.log" 2>&1
        fi || { tail -20 "$dir.log" >&2; rm -rf "$work"; return 1; }
        built+=("$dir/build-windows")
    done
    if [ $# -gt 0 ]; then a=$1; b=${built[0]}; else a=${built[0]}; b=${built[1]}; fi
    # SHA256SUMS last, named only if it alone differs.
    for name in Brevant.exe $(cd "$b" && ls Sorelin-*-setup.exe Sorelin-*-portable.zip Sorelin-*.msi) SHA256SUMS; do
        if ! cmp -s "$a/$name" "$b/$name" && [ "$name" != SHA256SUMS -o $differ -eq 0 ]; then
            echo "test-reproducible-windows: $name differs between two builds of $commit" >&2
            diffoscope --text - "$a/$name" "$b/$name" 2>/dev/null | head -25 >&2 || true
            differ=1
        fi
    done
    rm -rf "$work"
    [ $differ -eq 0 ] && echo "ok: the Windows packages are the same bytes in two builds of $commit"
}

windows_reproducible "$@"
