#!/bin/bash
# Compiles the Windows resource script with the MinGW resource compiler and
# checks that the version record comes out as UTF-16 with the right texts.
# Usage: check_rc.sh SOURCE_DIR.  Exits 77 (skipped) when windres is missing.
set -u

src="${1:?usage: check_rc.sh SOURCE_DIR}"
windres="${WINDRES:-x86_64-w64-mingw32-windres}"
command -v "$windres" >/dev/null 2>&1 || { echo "no $windres: skipped"; exit 77; }
command -v python3 >/dev/null 2>&1 || { echo "no python3: skipped"; exit 77; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# windres runs the MinGW gcc as its preprocessor; without the cross compiler
# the host's cpp does the same job for this file.
pre=()
if ! command -v x86_64-w64-mingw32-gcc >/dev/null 2>&1; then
    pre=(--preprocessor=cpp --preprocessor-arg=-DRC_INVOKED)
fi

if ! "$windres" "${pre[@]}" -O res -i "$src/resources/brevant.rc" -o "$work/brevant.res"; then
    echo "FAIL: windres could not compile brevant.rc"
    exit 1
fi

python3 - "$work/brevant.res" <<'PY'
import struct, sys

data = open(sys.argv[1], "rb").read()
failures = []

def value(key):
    """The text of a String entry in the version record, or None."""
    k = (key + "\0").encode("utf-16-le")
    i = data.find(k)
    if i < 0:
        return None
    i += len(k)
    i += (-i) % 4                       # values start on a 4-byte boundary
    end = i
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[i:end].decode("utf-16-le")

expected = {
    "FileDescription": "道徳関連の文字列をクリップボードに送ります。",
    "Comments": "道徳関連の文字列をクリップボードに送ります。",
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "ProductName": "Sorelin",
    "LegalTrademarks": "Sorelin",
    "InternalName": "Brevant",
    "OriginalFilename": "Brevant.exe",
    "CompanyName": "Tamberlo",
}
for key, want in expected.items():
    got = value(key)
    if got != want:
        failures.append(f"{key}: {got!r} != {want!r}")

if "041104B0".encode("utf-16-le") not in data:
    failures.append("string table 041104B0 missing")

fixed = data.find(struct.pack("<I", 0xFEEF04BD))
if fixed < 0:
    failures.append("VS_FIXEDFILEINFO missing")
else:
    f = struct.unpack_from("<13I", data, fixed)
    # file version, product version, flags, OS, type
    got = (f[2], f[3], f[4], f[5], f[7], f[8], f[9])
    want = (0x10000, 0, 0x10000, 0, 0, 4, 1)
    if got != want:
        failures.append(f"fixed file info {got} != {want}")

t = data.find("Translation\0".encode("utf-16-le"))
if t < 0:
    failures.append("Translation missing")
else:
    t += len("Translation\0".encode("utf-16-le"))
    t += (-t) % 4
    if struct.unpack_from("<HH", data, t) != (0x411, 1200):
        failures.append("Translation is not 0x411, 1200")

# The icon is the first resource after the empty header entry: type 3.
if struct.pack("<HH", 0xFFFF, 3) not in data:
    failures.append("icon resource missing")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
PY
status=$?
[ "$status" -eq 0 ] && echo "brevant.rc: version record and icon OK"
exit "$status"
