#!/usr/bin/env bash
# Fails when an executable imports a DLL it may not.
#   check-imports.sh objdump [--elevated program.exe...] [--system program.exe...]
# --system (test programs): Windows system DLLs only; everything else (compiler runtimes, zlib,
#   ...) is linked in statically, since a setup travels alone.
# --elevated (the setup and the uninstaller, which run with administrator rights from folders
#   others can write to): only the DLLs Windows always loads from its own folder (KnownDLLs), and
#   comctl32, which the programs' manifest takes from the side-by-side store. The loader resolves
#   imports before any of our code runs, from the program's own folder first for anything else, so
#   a planted DLL of such a name would run elevated. Other libraries are loaded at run time from
#   the system folder (guards/dll_search_win.h).
# objdump: the toolchain's, it knows the PE flavour.
set -euo pipefail
objdump=$1
shift
known='kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|shlwapi|setupapi|msvcrt'
elevated="^($known|comctl32)\.dll\$"
system="^($known|comctl32|winmm|uxtheme|version|riched20|msftedit)\.dll\$"
allowed=$system
status=0
for argument in "$@"; do
  case "$argument" in
    --elevated) allowed=$elevated; continue ;;
    --system) allowed=$system; continue ;;
  esac
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$argument imports $dll, which is not allowed for it (allowed: $allowed)"
      status=1
    fi
  done < <("$objdump" -p "$argument" | awk '/DLL Name:/ {print $3}')
done
exit $status
