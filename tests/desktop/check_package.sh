#!/usr/bin/env bash
# Builds the Debian package from a finished build directory and checks it:
#   check_package.sh BUILD_DIR
# its control fields, that every file lands where a desktop expects it, and
# that the installed desktop entry is valid.
# Exit 77 (skipped) when dpkg-deb or desktop-file-validate is missing, unless
# CI=true: then 1.
set -uo pipefail

build=$1
missing=()
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "package check: missing tools: ${missing[*]} (scripts/setup.sh --test installs them)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
fi

scratch=$(mktemp -d /tmp/sorelin-package.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "FAIL: cpack did not build the package" >&2
    exit 1
fi
debs=("$scratch"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: expected one .deb, found: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"
[[ $(basename "$deb") == sorelin_1.0.0_*.deb ]] && pass "file name" || fail "file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sorelin ] && pass "Package" || fail "Package is '$(field Package)'"
[ "$(field Version)" = 1.0.0 ] && pass "Version" || fail "Version is '$(field Version)'"
[ "$(field Maintainer)" = Tamberlo ] && pass "Maintainer" || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Section)" = education ] && pass "Section" || fail "Section is '$(field Section)'"
depends=$(field Depends)
echo "Depends: $depends"
for dep in libqt6widgets6 libqt6gui6 libqt6core6 fonts-noto-cjk; do
    grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" && pass "depends on $dep" || fail "no dependency on $dep"
done

echo "--- contents"
dpkg-deb -c "$deb" | tee "$scratch/contents"
echo "---"
# Nothing outside /usr.
if awk '{ print $6 }' "$scratch/contents" | grep -Ev '^\./(usr(/.*)?)?$' | grep -q .; then
    fail "files outside /usr"
fi

root=$scratch/root
dpkg-deb -x "$deb" "$root"
expect_file() { # path, description
    [ -f "$root/$1" ] && pass "$2: /$1" || fail "$2 missing: /$1"
}
expect_file usr/bin/Brevant "program"
[ -x "$root/usr/bin/Brevant" ] || fail "/usr/bin/Brevant is not executable"
expect_file usr/share/applications/jp.tamberlo.Sorelin.desktop "desktop entry"
expect_file usr/share/metainfo/jp.tamberlo.Sorelin.metainfo.xml "metainfo"
icon=usr/share/icons/hicolor/32x32/apps/jp.tamberlo.Sorelin.png
expect_file "$icon" "icon"
if [ -f "$root/$icon" ]; then
    # PNG signature, then the IHDR chunk's width and height.
    header=$(od -An -tx1 -N24 "$root/$icon" | tr -d ' \n')
    [ "${header:0:16}" = 89504e470d0a1a0a ] && pass "icon is a PNG" || fail "icon is not a PNG"
    [ "${header:32:16}" = 0000002000000020 ] && pass "icon is 32x32" || fail "icon is not 32x32"
fi

entry=$root/usr/share/applications/jp.tamberlo.Sorelin.desktop
if [ -f "$entry" ]; then
    if desktop-file-validate "$entry"; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
    exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n1)
    [ -x "$root/usr/bin/${exec_line%% *}" ] && pass "Exec names the installed program" || fail "Exec=$exec_line is not in /usr/bin"
    icon_name=$(sed -n 's/^Icon=//p' "$entry" | head -n1)
    [ "$icon_name" = jp.tamberlo.Sorelin ] && pass "Icon names the installed icon" || fail "Icon=$icon_name"
fi
metainfo=$root/usr/share/metainfo/jp.tamberlo.Sorelin.metainfo.xml
if [ -f "$metainfo" ] && command -v appstreamcli >/dev/null 2>&1; then
    if appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1; then
        pass "appstreamcli validate"
    else
        cat "$scratch/appstream.log" >&2
        fail "appstreamcli validate"
    fi
fi

if [ "$failures" -gt 0 ]; then
    echo "package check: $failures failure(s)" >&2
    exit 1
fi
echo "package check: all passed"
