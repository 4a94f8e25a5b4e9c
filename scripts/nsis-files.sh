#!/usr/bin/env bash
# Writes the uninstaller's part of NSIS.template.in (makensis runs it):
#   nsis-files.sh FOLDER OUT.nsh
# a Delete line for each file in FOLDER, then an RMDir line for each folder in it,
# deepest first, in name order: CPack's own lists follow the order the file system
# gives, which would make installers of the same files differ.
set -euo pipefail
cd "$1"
{ find . -mindepth 1 -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
} >"$2"
