#!/usr/bin/env bash
# Lays out the sample setup's two folders for averlune-build:
#   stage.sh <out-dir> <SampleNotes.exe>
# makes <out-dir>/config (the committed configuration files and the splash picture isps.dat, drawn
# by make_artwork.py) and <out-dir>/app (the committed application files and the given program,
# copied as SampleNotes.exe). Folders of those names that exist already are replaced.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: stage.sh <out-dir> <SampleNotes.exe>" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
out=$1
program=$2
[ -f "$program" ] || { echo "stage.sh: the sample program $program does not exist" >&2; exit 1; }

mkdir -p "$out"
rm -rf "$out/config" "$out/app"
mkdir "$out/config" "$out/app"
cp "$here"/config/* "$out/config/"
python3 "$here/make_artwork.py" "$out/config/isps.dat"
cp "$here"/app/* "$out/app/"
cp "$program" "$out/app/SampleNotes.exe"
