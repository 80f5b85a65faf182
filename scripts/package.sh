#!/usr/bin/env bash
# Makes the two release packages, into build/packages/ (or the folder given):
#   averlune-<version>-linux-x86_64.tar.gz   averlune-build (Linux)
#   averlune-<version>-windows.zip           averlune-build.exe (Windows)
# Each holds, beside its builder, the bare 32-bit setup program AverluneSetup.exe (which the
# builder finds there by itself), the author's manual, the sample's configuration and application
# folders and the licences of the libraries linked into the programs. The version is the project's
# (CMakeLists.txt); the builders' --version says the same. The builders are optimised builds
# without sanitizers: the Linux one from the release preset, the Windows one from win32 (32-bit,
# so it runs on every Windows).
#   package.sh [<out-dir>]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$(realpath -m "${1:-build/packages}")
jobs=${AVERLUNE_JOBS:-2}

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target AverluneSetup averlune-build averlune_sample_notes

linux_builder=build/release/authoring/averlune-build
version=$("$linux_builder" --version | sed -n 's/^averlune-build //p')
[ -n "$version" ] || { echo "package.sh: $linux_builder --version names no version" >&2; exit 1; }

# The libraries in both packages' programs: zlib, minizip, libdeflate and libjpeg-turbo (Debian's
# for Linux, the same sources built for Windows), and the compilers' runtime libraries linked into
# every program.
licences=(
  "zlib:/usr/share/doc/zlib1g/copyright"
  "minizip:/usr/share/doc/libminizip1/copyright"
  "libdeflate:/usr/share/doc/libdeflate0/copyright"
  "libjpeg-turbo:/usr/share/doc/libjpeg62-turbo/copyright"
  "gcc-runtime:/usr/share/doc/gcc-12-base/copyright"
  "gcc-runtime-windows:/usr/share/doc/gcc-mingw-w64-base/copyright"
  "mingw-w64-runtime:/usr/share/doc/mingw-w64-common/copyright"
)

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
sample/stage.sh "$stage/sample" build/win32/sample/SampleNotes.exe >/dev/null

# fill <folder> <builder>: everything but the builder is the same in both packages.
fill() {
  local folder=$1 builder=$2
  mkdir -p "$folder/licences"
  cp "$builder" "$folder/"
  cp build/win32/AverluneSetup.exe "$folder/"
  cp docs/authoring.md "$folder/manual.md"
  cp -r "$stage/sample" "$folder/sample"
  for entry in "${licences[@]}"; do
    [ -f "${entry#*:}" ] || { echo "package.sh: the licence ${entry#*:} is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }
    cp "${entry#*:}" "$folder/licences/${entry%%:*}.txt"
  done
  cat > "$folder/README.txt" <<TEXT
Averlune $version: make a Windows setup from a configuration folder and an application folder.

  $(basename "$builder") --new notes/config --name "Notes"
  $(basename "$builder") --check notes/config notes/app
  $(basename "$builder") --config notes/config --app notes/app --output NotesSetup.exe

The builder takes AverluneSetup.exe from its own folder; keep the two together. manual.md is the
author's manual; sample/ holds a complete setup's folders:

  $(basename "$builder") --config sample/config --app sample/app --output SampleSetup.exe

licences/ holds the licences of the libraries linked into the programs.
TEXT
}

name=averlune-$version
linux=$stage/$name-linux-x86_64
windows=$stage/$name-windows
fill "$linux" "$linux_builder"
fill "$windows" build/win32/authoring/averlune-build.exe
sed -i 's/$/\r/' "$windows/README.txt"

# The same input makes the same package bytes: names sorted, owners and times fixed. The time is
# even: the zip format keeps two-second times, so both packages then unpack the sample with the
# same times, and the same setup is built from either.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
stamp=$((stamp - stamp % 2))
find "$stage" -exec touch -h -d "@$stamp" {} +
rm -f "$out/$name-linux-x86_64.tar.gz" "$out/$name-windows.zip"
tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$stamp" \
  -cf - "$name-linux-x86_64" | gzip -n -9 > "$out/$name-linux-x86_64.tar.gz"
(cd "$stage" && find "$name-windows" | LC_ALL=C sort | zip -X -q -9 "$out/$name-windows.zip" -@)
rm -rf "$stage"
echo "$out/$name-linux-x86_64.tar.gz"
echo "$out/$name-windows.zip"
