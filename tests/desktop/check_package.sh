#!/usr/bin/env bash
# Builds the Debian package from a finished build directory and checks its
# control fields, where its files land and that its desktop entry and metainfo
# are valid, and that SHA256SUMS beside it checks it and the web zip:
#   check_package.sh BUILD_DIR
# Exit 77 (skipped) when a tool is missing, unless CI=true: then 1.
set -uo pipefail

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
    command -v "$tool" >/dev/null 2>&1 && continue
    echo "package check: $tool is missing (scripts/setup.sh --test installs it)" >&2
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
done

scratch=$(mktemp -d /tmp/sorelin-package.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack did not build the package" >&2; exit 1; }
deb=$(echo "$scratch"/out/sorelin_1.0.0_*.deb)
[ -f "$deb" ] || { echo "FAIL: no sorelin_1.0.0_*.deb among: $(ls "$scratch/out")" >&2; exit 1; }
root=$scratch/root
dpkg-deb -x "$deb" "$root"
apps=usr/share/applications/jp.tamberlo.Sorelin.desktop
meta=usr/share/metainfo/jp.tamberlo.Sorelin.metainfo.xml
icon=usr/share/icons/hicolor/32x32/apps/jp.tamberlo.Sorelin.png

failures=0
check() { # description, command...
    if "${@:2}" >>"$scratch/checks.log" 2>&1; then echo "ok: $1"; else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
for pair in Package=sorelin Version=1.0.0 Maintainer=Tamberlo Section=education; do
    check "$pair" test "$(dpkg-deb -f "$deb" "${pair%%=*}")" = "${pair#*=}"
done
for dep in libqt6widgets6 libqt6gui6 libqt6core6 fonts-noto-cjk; do
    check "depends on $dep" grep -Eq "(^|, )$dep( |,|$)" <<<"$(dpkg-deb -f "$deb" Depends)"
done
check "nothing outside /usr" bash -c "! dpkg-deb -c '$deb' | awk '{ print \$6 }' | grep -Ev '^\./(usr(/.*)?)?$'"
check "program /usr/bin/Brevant" test -x "$root/usr/bin/Brevant"
check "32x32 PNG icon" bash -c "od -An -tx1 -N24 '$root/$icon' | tr -d ' \n' | grep -Eq '^89504e470d0a1a0a.{16}0000002000000020'"
check "desktop entry valid" desktop-file-validate "$root/$apps"
check "Exec and Icon name the installed files" bash -c "grep -qx Exec=Brevant '$root/$apps' && grep -qx Icon=jp.tamberlo.Sorelin '$root/$apps'"
check "metainfo valid" appstreamcli validate --no-net "$root/$meta"
check "the copyright file states the terms of LICENSE" grep -qF "$(sed -n 2p "$(dirname "$0")/../../LICENSE")" "$root/usr/share/doc/sorelin/copyright"
check "SHA256SUMS checks the .deb and the web zip" bash -c "cd '$scratch/out' && sha256sum -c --strict SHA256SUMS && grep -c '  [Ss]orelin[-_].*\.\(deb\|zip\)$' SHA256SUMS | grep -qx 2"
check "a manual page for Brevant" bash -c "gzip -dc '$root/usr/share/man/man1/Brevant.1.gz' | grep -q '^\.SH EXIT STATUS'"
# The maker has given no mail address, and none is made up: lintian's one error.
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1
check "no lintian error but malformed-contact" bash -c "! grep '^E:' '$scratch/lintian.log' | grep -v ' malformed-contact '"
[ "$failures" -eq 0 ] || { cat "$scratch/checks.log" "$scratch/lintian.log" >&2; exit 1; }
