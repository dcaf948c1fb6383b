#!/usr/bin/env bash
# Checks that a Windows program imports system DLLs only: the C and C++ runtimes, libgcc and
# winpthread must be linked in statically, or the program does not start on a plain Windows.
set -euo pipefail
objdump=${1:?objdump}; exe=${2:?exe}
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt)\.dll$'
# A failing objdump stops the script here instead of reading as "no imports".
headers=$("$objdump" -p "$exe")
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
echo "imports of $(basename "$exe"): $(echo $dlls)"
bad=$(echo "$dlls" | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then
  echo "not a system DLL: $(echo $bad)"
  exit 1
fi
