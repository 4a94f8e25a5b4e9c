#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for building (and, with
# --test, for running the test suite; with --windows, for the Windows build).
# Installs nothing that is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

lists=("$here/packages-build.txt")
for arg in "$@"; do
    case $arg in
        --test) lists+=("$here/packages-test.txt") ;;
        --windows) lists+=("$here/packages-windows.txt") ;;
    esac
done

wanted=$(grep -hv '^\s*\(#\|$\)' "${lists[@]}" | sort -u)
missing=()
for pkg in $wanted; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "setup: these packages are missing and this system has no apt-get: ${missing[*]}" >&2
    exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "setup: these packages are missing, and installing them needs root or sudo: ${missing[*]}" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
