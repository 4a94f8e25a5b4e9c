#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that are missing for building (and, with
# --test, for running the test suite; with --windows, for the Windows build).
# Installs nothing that is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

lists=("$here/packages-build.txt")
test=false
for arg in "$@"; do
    case $arg in
        --test) lists+=("$here/packages-test.txt") test=true ;;
        --windows) lists+=("$here/packages-windows.txt") ;;
    esac
done

wanted=$(grep -hv '^\s*\(#\|$\)' "${lists[@]}" | sort -u)
# The web test's checkers run on Node.js: Debian's, where there is none yet.
$test && ! command -v node >/dev/null && wanted+=" nodejs npm"
missing=()
for pkg in $wanted; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$pkg")
done

# axe-core and Lighthouse for the web test, from the npm registry as the
# committed lock file pins them (tests/web/package-lock.json), again whenever
# the lock file is newer than what was installed.
web_checks() {
    local dir=$here/../tests/web
    $test || return 0
    [ -f "$dir/node_modules/.package-lock.json" ] && [ ! "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ] && return 0
    echo "setup: npm ci in tests/web"
    (cd "$dir" && npm ci --no-audit --no-fund)
}
[ ${#missing[@]} -eq 0 ] && { web_checks; exit 0; }

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
web_checks
