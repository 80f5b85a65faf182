#!/usr/bin/env bash
# Checks the release packages as a new author meets them, each unpacked into an empty folder with
# nothing of this repository in reach:
#   package-check.sh [<packages folder>]      (default build/packages, as package.sh makes them)
# Linux: the manual's five-minute walk (--new, --check, a build without --setup) and the sample,
# built with the package's builder alone. Windows, under Wine: the package's averlune-build.exe
# builds the sample from Windows paths to the same bytes, and the built setups install silently
# and uninstall. The Windows half needs a host that runs 32-bit programs (the package's programs
# are 32-bit); elsewhere the win64 build's windows_builder test covers the Windows builder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=$(realpath "${1:-$root/build/packages}")
tarball=$(ls "$packages"/averlune-*-linux-x86_64.tar.gz)
zipfile=$(ls "$packages"/averlune-*-windows.zip)
source "$root/scripts/windows-tiers.sh"

work=$(mktemp -d /tmp/averlune-package-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

# A clean environment: the package's folder on PATH before the system's, nothing else.
linux=$work/linux
mkdir -p "$linux"
tar -C "$linux" -xzf "$tarball"
package=$(echo "$linux"/averlune-*)
walk() { (cd "$linux" && env -i HOME="$linux" PATH="$package:/usr/bin:/bin" "$@"); }

walk mkdir -p notes/app
walk cp "$package/sample/app/SampleNotes.exe" notes/app/Notes.exe
walk averlune-build --new notes/config --name "Notes" >/dev/null || fail "--new failed"
said=$(walk averlune-build --check notes/config notes/app 2>&1) || fail "--check failed: $said"
[ -z "$said" ] || fail "--check of a new folder said: $said"
said=$(walk averlune-build --config notes/config --app notes/app --output NotesSetup.exe) ||
  fail "the walk's build failed: $said"
case "$said" in "averlune-build: wrote NotesSetup.exe ("*") in "*" s") ;; *) fail "the closing line: $said" ;; esac
walk averlune-build --quiet --config "$package/sample/config" --app "$package/sample/app" \
  --output SampleSetup.exe || fail "the sample's build failed"
for file in manual.md AverluneSetup.exe README.txt licences/zlib.txt; do
  [ -f "$package/$file" ] || fail "the Linux package has no $file"
done
echo "package-check: the Linux package builds the walk's and the sample's setups"

if [ "$windows_build" != win32 ]; then
  echo "package-check: the Windows package's 32-bit programs cannot run here ($windows_reason)"
  exit 0
fi
windows=$work/windows
mkdir -p "$windows"
(cd "$windows" && unzip -q "$zipfile")
winpackage=$(echo "$windows"/averlune-*)
prefix=$root/build/packages/wineprefix
export LC_ALL=C.UTF-8
on_windows() { "$root/scripts/wine-run.sh" --prefix "$prefix" "$@"; }
trap 'on_windows --stop; rm -rf "$work"' EXIT
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

[ "$(on_windows "$winpackage/averlune-build.exe" --version | tr -d '\r')" = "$(walk averlune-build --version)" ] ||
  fail "the two builders' --version differ"
on_windows "$winpackage/averlune-build.exe" --quiet --config "$(windows_path "$winpackage/sample/config")" \
  --app "$(windows_path "$winpackage/sample/app")" --output "$(windows_path "$windows/SampleSetup.exe")" ||
  fail "the Windows builder failed"
cmp "$linux/SampleSetup.exe" "$windows/SampleSetup.exe" || fail "the two builders wrote different setups"

# Installed silently and removed again; the exit codes 0 to 2 reach the shell whole.
for case in NotesSetup:Notes.exe SampleSetup:SampleNotes.exe; do
  setup=${case%%:*} program=${case#*:}
  on_windows "$linux/$setup.exe" /S "/D=C:\\Package check\\$setup" || fail "$setup /S ended with exit code $?"
  installed="$prefix/drive_c/Package check/$setup"
  [ -f "$installed/$program" ] && [ -f "$installed/uninstall.exe" ] ||
    fail "$setup did not install $program and uninstall.exe"
  on_windows "$installed/uninstall.exe" /S || fail "$setup's uninstaller ended with exit code $?"
  [ ! -e "$installed/$program" ] || fail "$setup's uninstaller left $program"
done
echo "package-check: the Windows builder writes the same setup; both setups install and uninstall"
