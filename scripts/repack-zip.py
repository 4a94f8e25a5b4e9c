#!/usr/bin/env python3
"""Writes a zip again so that its bytes depend on its content alone: entries in
name order, each of the time $SOURCE_DATE_EPOCH (kept in UTC), directories 755,
files 755 if executable else 644, deflated at level 9.
    repack-zip.py ZIP"""
import os
import sys
import time
import zipfile

path = sys.argv[1]
with zipfile.ZipFile(path) as z:
    entries = [(i, z.read(i)) for i in sorted(z.infolist(), key=lambda i: i.filename)]
# A zip holds no time before 1980.
when = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(path, "w") as z:
    for old, data in entries:
        new = zipfile.ZipInfo(old.filename, when)
        if old.is_dir():
            new.external_attr = 0o40755 << 16 | 0x10
            z.writestr(new, data, zipfile.ZIP_STORED)
        else:
            new.external_attr = (0o755 if old.external_attr >> 16 & 0o111 else 0o644) << 16
            z.writestr(new, data, zipfile.ZIP_DEFLATED, 9)
