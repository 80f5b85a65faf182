#!/usr/bin/env bash
# Fails when an executable imports a DLL that Windows itself does not provide: everything else
# (compiler runtimes, zlib, ...) must be linked in statically, since a setup travels alone.
#   check-imports.sh objdump program.exe...    (objdump: the toolchain's, it knows the PE flavour)
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|setupapi|shlwapi|winmm|msvcrt|uxtheme|version|riched20|msftedit)\.dll$'
status=0
for exe in "$@"; do
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$exe imports $dll, which is not a Windows system DLL"
      status=1
    fi
  done < <("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}')
done
exit $status
