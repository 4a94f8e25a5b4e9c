#!/bin/bash
# Compiles the Windows resource script with the MinGW resource compiler and
# checks the version record's texts (UTF-16), numbers, language and the icon.
# Usage: check_rc.sh SOURCE_DIR.  Exits 77 (skipped) when windres is missing.
set -u
windres="${WINDRES:-x86_64-w64-mingw32-windres}"
command -v "$windres" >/dev/null 2>&1 || { echo "no $windres: skipped"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# windres preprocesses with the MinGW gcc; without it the host's cpp does the same job here.
pre=()
command -v x86_64-w64-mingw32-gcc >/dev/null 2>&1 || pre=(--preprocessor=cpp --preprocessor-arg=-DRC_INVOKED)
"$windres" "${pre[@]}" -O res -i "$1/resources/brevant.rc" -o "$work/brevant.res" || { echo "FAIL: windres"; exit 1; }

python3 - "$work/brevant.res" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
def after(key):  # where a key's value starts: after the key, on a 4-byte boundary
    i = data.find((key + "\0").encode("utf-16-le")) + len(key) * 2 + 2
    return i + -i % 4
def value(key):  # a String entry's text, up to its NUL
    i = end = after(key)
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[i:end].decode("utf-16-le")
fixed = data.find(struct.pack("<I", 0xFEEF04BD))
texts = {"FileDescription": "道徳関連の文字列をクリップボードに送ります。", "Comments": "道徳関連の文字列をクリップボードに送ります。",
         "FileVersion": "1.00", "ProductVersion": "1.00", "ProductName": "Sorelin", "LegalTrademarks": "Sorelin",
         "InternalName": "Brevant", "OriginalFilename": "Brevant.exe", "CompanyName": "Tamberlo"}
facts = {key: value(key) for key in texts}
facts.update(table="041104B0".encode("utf-16-le") in data, icon=struct.pack("<HH", 0xFFFF, 3) in data,
             # file and product version 1.0.0.0, no flags, 32-bit Windows, application
             fixed=struct.unpack_from("<13I", data, fixed)[2:10] if fixed >= 0 else None,
             translation=struct.unpack_from("<HH", data, after("Translation")))
want = dict(texts, table=True, icon=True, fixed=(0x10000, 0, 0x10000, 0, 0x3F, 0, 4, 1), translation=(0x411, 1200))
bad = [f"{k}: {facts[k]!r}, expected {v!r}" for k, v in want.items() if facts[k] != v]
print("\n".join("FAIL: " + b for b in bad) or "brevant.rc: version record and icon OK")
sys.exit(1 if bad else 0)
PY
