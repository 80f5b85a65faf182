#!/usr/bin/env bash
# The Windows builder against the Linux one, under Wine:
#   windows-builder.sh <averlune-build.exe> <bare setup program> <SampleNotes.exe> <out-dir> <wine-run command...>
# Builds the sample from folders named outside ASCII, given as Windows paths with a drive letter,
# and requires the very bytes the Linux builder writes from the same folders; the same for the
# bare setup found beside the builder, for --new's folder, and for --check's exit codes; --help and
# --version answer as the Linux builder's do; a console shows the names whole.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -lt 5 ]; then
  echo "usage: windows-builder.sh <averlune-build.exe> <bare setup program> <SampleNotes.exe> <out-dir> <wine-run command...>" >&2
  exit 2
fi
windows_builder=$1 setup=$2 program=$3 out=$4
shift 4
wine_run=("$@")
linux_builder=$root/build/host/authoring/averlune-build
if [ ! -x "$linux_builder" ]; then
  (cd "$root" && cmake --preset host >/dev/null && cmake --build --preset host --target averlune-build >/dev/null)
fi
# Wine reads the command line in the Unix locale's character set: UTF-8, as the names below are.
export LC_ALL=C.UTF-8

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
on_windows() { "${wine_run[@]}" "$windows_builder" "$@"; }

rm -rf "$out"
folder="$out/Café ☕ Notes"
mkdir -p "$folder"
"$root/sample/stage.sh" "$folder" "$program" >/dev/null
printf 'Grüße\r\n' > "$folder/app/Über ☕.txt"
config=$(windows_path "$folder/config") app=$(windows_path "$folder/app")

"$linux_builder" --quiet --setup "$setup" --config "$folder/config" --app "$folder/app" --output "$out/linux.exe"
said=$(on_windows --setup "$(windows_path "$setup")" --config "$config" --app "$app" \
  --output "$(windows_path "$folder/Setup ☕.exe")") || fail "the Windows builder failed: $said"
cmp "$out/linux.exe" "$folder/Setup ☕.exe" || fail "the Windows builder wrote other bytes than the Linux builder"
case "$said" in
  "averlune-build: wrote $(windows_path "$folder/Setup ☕.exe") ("*") in "*" s"*) ;;
  *) fail "the closing line names the setup as given: $said" ;;
esac

# A package's layout: the bare setup beside the builder, no --setup.
mkdir "$out/package"
cp "$windows_builder" "$out/package/averlune-build.exe"
cp "$setup" "$out/package/AverluneSetup.exe"
"${wine_run[@]}" "$out/package/averlune-build.exe" --quiet --config "$config" --app "$app" \
  --output "$(windows_path "$out/beside.exe")" || fail "the builder did not find the bare setup beside itself"
cmp "$out/linux.exe" "$out/beside.exe" || fail "the setup built with the bare setup beside the builder differs"

# --check: clean folders say nothing; a misspelt key is a warning, 1 with --strict; no SC.dat is 2.
said=$(on_windows --check "$config" "$app" 2>&1) || fail "--check of the sample: exit $?: $said"
[ -z "$said" ] || fail "--check of the sample said: $said"
cp -r "$folder/config" "$folder/config-typo"
printf 'Appnme = Demo\r\n' >> "$folder/config-typo/SC.dat"
status=0
said=$(on_windows --check "$(windows_path "$folder/config-typo")" --strict 2>&1) || status=$?
[ "$status" = 1 ] || fail "--check --strict with a warning: exit $status, not 1"
case "$said" in *'config-typo\SC.dat:'*'warning: unknown key Appnme'*) ;; *) fail "--check's finding: $said" ;; esac
rm "$folder/config-typo/SC.dat"
status=0
on_windows --check "$(windows_path "$folder/config-typo")" >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "--check without SC.dat: exit $status, not 2"

# --new writes what the Linux builder writes.
"$linux_builder" --new "$out/new-linux" --name "Ünïcode ☕ Notes" >/dev/null
on_windows --new "$(windows_path "$out/new-windows")" --name "Ünïcode ☕ Notes" >/dev/null || fail "--new failed"
diff -r "$out/new-linux" "$out/new-windows" || fail "--new wrote other files than the Linux builder"

# On a console (a pseudo-terminal here) the names outside ASCII show whole, not as UTF-8 bytes
# read in the console's code page. Wine draws the console with cursor moves, which go.
console_command=$(printf '%q ' "${wine_run[@]}" "$windows_builder" --new "$(windows_path "$folder/console")")
shown=$(script -qec "$console_command" /dev/null | sed -E 's/\x1b\[[?0-9;]*[a-zA-Z]//g' | tr -d '\r\n')
case "$shown" in *'Café'*'☕'*) ;; *) fail "a console shows the names garbled: $shown" ;; esac

# --help and --version: the same texts, line ends aside.
for option in --help --version; do
  expected=$("$linux_builder" "$option")
  said=$(on_windows "$option" | tr -d '\r') || fail "$option: exit $?"
  [ "$said" = "$expected" ] || fail "$option differs from the Linux builder's: $said"
done

[ "$failures" = 0 ] || exit 1
echo "the Windows builder writes the Linux builder's bytes"
