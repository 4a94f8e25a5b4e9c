#!/usr/bin/env python3
"""Writes the licence notices that ship with the Windows program.

    qt-notices.py QT_PREFIX OUT_DIR [RUNTIME_COPYRIGHT ...]

QT_PREFIX is the Windows Qt built by scripts/windows-qt.sh, which keeps beside
it (share/sorelin-attributions) the licence texts and qt_attribution.json
records of the Qt source it was built from and the list of source files that
build compiled or included.  Every record whose files (or, where it names none,
whose folder) the build used is a library built into the shipped Qt DLLs.

Written into OUT_DIR:
  THIRD-PARTY-NOTICES.txt  Qt itself, then each library built into it with its
                           version, copyright and full licence text, then the
                           MinGW runtime DLLs with the copyright files given
  LICENSES/                the LGPL-3 and GPL-3 texts under which Qt is used,
                           and a copy of each RUNTIME_COPYRIGHT file
The output depends only on the inputs, so a package is made the same each time.
"""

import json
import os
import shutil
import sys


def records(root):
    """Every attribution record under root, with the folder it stands in."""
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        if "qt_attribution.json" not in files:
            continue
        with open(os.path.join(folder, "qt_attribution.json"), encoding="utf-8") as f:
            data = json.loads(f.read(), strict=False)  # some copyright fields hold raw newlines
        for record in data if isinstance(data, list) else [data]:
            yield os.path.relpath(folder, root), record


def used(folder, record, compiled):
    """Whether the build compiled or included anything the record covers: the
    files it names, else its path (a file or a folder), else its folder."""
    names = record.get("Files", "").replace(",", " ").split()
    if not names or not all("." in n for n in names):  # some hold a sentence, not names
        names = [record["Path"]] if record.get("Path") else ["."]
    for name in names:
        path = os.path.normpath(os.path.join(folder, name))
        if path in compiled or any(c.startswith(path + "/") for c in compiled):
            return True
    return False


def licence_texts(root, folder, record):
    files = record.get("LicenseFile") or []
    for name in files if isinstance(files, list) else [files]:
        path = os.path.normpath(os.path.join(root, folder, name))
        if os.path.isfile(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                yield name, f.read().strip()


def main(prefix, out, runtime_copyrights):
    root = os.path.join(prefix, "share", "sorelin-attributions")
    with open(os.path.join(root, "compiled-sources.txt"), encoding="utf-8") as f:
        # Files only (the list also holds the include folders), and not the
        # build's own inputs (CMake files), which are no code that was built.
        compiled = {os.path.normpath(line.strip()) for line in f
                    if "." in os.path.basename(line.strip())
                    and not line.strip().endswith(("CMakeLists.txt", ".cmake", ".cmake.in"))}
    with open(os.path.join(root, "qt6-base-source-version.txt"), encoding="utf-8") as f:
        source_version = f.read().strip()
    qt_version = source_version.split("+")[0]

    licences = os.path.join(out, "LICENSES")
    os.makedirs(licences, exist_ok=True)
    for name in ("LGPL-3.0-only.txt", "GPL-3.0-only.txt"):
        shutil.copyfile(os.path.join(root, "LICENSES", name), os.path.join(licences, name))

    rule = "=" * 78
    lines = [
        "Third-party software in Sorelin for Windows",
        "",
        "Brevant.exe runs with the Qt DLLs and the MinGW runtime DLLs installed",
        "beside it.  Each is listed here with its licence.",
        "",
        rule,
        f"Qt {qt_version} (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll)",
        rule,
        "Copyright (C) The Qt Company Ltd. and other contributors.",
        "License: GNU Lesser General Public License version 3 (LGPL-3.0-only),",
        "which builds on the GNU General Public License version 3: see",
        "LICENSES\\LGPL-3.0-only.txt and LICENSES\\GPL-3.0-only.txt.",
        "",
        f"Built from Debian's source package qt6-base, version {source_version}",
        "(apt-get source qt6-base=" + source_version + "), with the changes in",
        "the qt-patches folder.  You may replace these DLLs with another build of Qt",
        f"{qt_version.split('.')[0]} of the same or a later version.",
        "",
        "Qt contains the following libraries, built into the DLLs above.",
    ]
    for folder, record in sorted(records(root), key=lambda r: (r[1].get("Name", ""), r[0])):
        if not used(folder, record, compiled):
            continue
        lines += ["", rule, f"{record.get('Name', record.get('Id'))} {record.get('Version', '')}".rstrip(), rule]
        if record.get("Description"):
            lines.append(record["Description"])
        lines.append("License: " + record.get("License", record.get("LicenseId", "see below")))
        if record.get("Copyright"):
            lines += ["", record["Copyright"].strip()]
        for name, text in licence_texts(root, folder, record):
            lines += ["", f"--- {name} ---", text]

    lines += ["", rule, "MinGW-w64 runtime (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll)", rule,
              "libstdc++ and libgcc: GNU General Public License version 3 with the GCC",
              "Runtime Library Exception, version 3.1.  libwinpthread: MIT (expat) licence.",
              "The copyright files of the Debian packages they come from, with the full",
              "texts, are in the LICENSES folder:"]
    for path in runtime_copyrights:
        name = os.path.basename(os.path.dirname(path)) + ".copyright.txt"
        shutil.copyfile(path, os.path.join(licences, name))
        lines.append("  LICENSES\\" + name)

    with open(os.path.join(out, "THIRD-PARTY-NOTICES.txt"), "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
