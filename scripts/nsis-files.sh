#!/usr/bin/env bash
# Writes the installer's and the uninstaller's lists of files for NSIS.template.in
# (makensis runs it):
#   nsis-files.sh FOLDER INSTALL.nsh UNINSTALL.nsh
# INSTALL.nsh: a File line for each file in FOLDER, under a SetOutPath line for its
# folder; UNINSTALL.nsh: a Delete line for each, then an RMDir line for each folder,
# deepest first. Both in name order: makensis's File /r and CPack's own lists
# follow the order the file system gives, which would make installers of the same
# files differ from one machine to another.
set -euo pipefail
cd "$1"
files=$(find . -mindepth 1 -type f | LC_ALL=C sort | sed 's|^\./||')
last=-
while IFS= read -r file; do
    dir=$(dirname "$file")
    [ "$dir" = . ] && dir= || dir=\\${dir//\//\\}
    [ "$dir" = "$last" ] || printf '    SetOutPath "$INSTDIR%s"\n' "$dir"
    last=$dir
    printf '    File "%s/%s"\n' "$PWD" "$file"
done <<<"$files" >"$2"
echo '    SetOutPath "$INSTDIR"' >>"$2"
{ sed 's|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|' <<<"$files"
  find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
} >"$3"
