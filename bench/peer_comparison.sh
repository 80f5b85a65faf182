#!/usr/bin/env bash
# Peer comparison: our setup against NSIS setups (zlib, and lzma solid for reference) of the same
# generated payload, under the same Wine prefix, in one run; every figure with its ratio and verdict.
#   bench/peer_comparison.sh [work folder]   (default: a fresh folder under /tmp; ~1 GB free, and
#                                             1 GB of /dev/shm or else 4 GB more of disk)
#   BENCH_FILES=n          files in the payload (default 2000, about 205 MB; 200 for a quick run)
#   BENCH_ROUNDS=n         silent-install rounds, the order rotated each round (default 5)
#   BENCH_MANY_FILES=n     files of a few bytes for the builder's memory (default 20000)
#   AVERLUNE_START_RUNS=n  alternated start-time runs (default 31)
#   BENCH_WIZARD=0         leaves out our wizard's installation (by default one in every round)
# Not part of the test command. NSIS comes from Debian and is installed here only. Every silent
# install goes into a new empty folder (`/S /D=`) after a sync outside the clock, and an untimed
# round first loads the setups into the file cache.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(realpath -m "${1:-$(mktemp -d /tmp/averlune-peer.XXXXXX)}")
files=${BENCH_FILES:-2000}
rounds=${BENCH_ROUNDS:-5}
many=${BENCH_MANY_FILES:-20000}
wizard=${BENCH_WIZARD:-1}
mkdir -p "$work"
echo "work folder: $work"

"$here/install_missing.sh" nsis bc time
source "$here/windows_bench_env.sh"

figure() {  # name ours peer goal-ratio unit -> prints both, the ratio and the verdict
  local ratio verdict
  ratio=$(echo "$2 / $3" | bc -l)
  if [ "$(echo "$ratio <= $4" | bc -l)" = 1 ]; then verdict="met"; else verdict="missed"; fi
  printf "%-34s ours %s %s, NSIS %s %s, ratio %.2f (goal <= %s: %s)\n" "$1" "$2" "$5" "$3" "$5" "$ratio" "$4" "$verdict"
}
seconds_of() {  # command... -> its wall seconds in $wall, its peak resident MB in $peak_mb
  local kb
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$work/last.log" 2>&1 || { tail "$work/last.log" >&2; return 1; }
  read -r wall kb < "$work/time"
  peak_mb=$((kb / 1024))
}

# Payloads: the mixed one, one small file, and many files of a few bytes.
payload="$work/payload-$files"
[ -d "$payload" ] || python3 "$here/make_payload.py" "$payload" "$files"
one="$work/one-file"
mkdir -p "$one" && echo "one small file" > "$one/readme.txt"
manyfiles="$work/many-$many"
[ -d "$manyfiles" ] || python3 "$here/make_payload.py" "$manyfiles" "$many" small
echo "payload: $(find "$payload" -type f | wc -l) files, $(du -sm "$payload" | cut -f1) MB"

# NSIS builds for the same processor as ours: on hosts without 32-bit programs our 64-bit build
# runs, and NSIS's amd64 stubs (Debian's nsis ships them) are its peers there.
if [ "$windows_build" = win64 ]; then nsis_target="Target amd64-unicode"; else nsis_target="Unicode true"; fi
nsis_script() {  # folder output compressor -> writes the NSIS script of that setup beside it, prints its path
  local script="${2%.exe}.nsi" first
  first=$(cd "$1" && find . -type f | sort | head -n 1)
  cat > "$script" <<NSI
$nsis_target
Name "Bench Payload"
OutFile "$2"
SetCompressor /FINAL $3
RequestExecutionLevel admin
InstallDir "\$PROGRAMFILES\\Bench Payload"
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "$1/*"
  WriteUninstaller "\$INSTDIR\\uninstall.exe"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bench Payload" "DisplayName" "Bench Payload"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bench Payload" "UninstallString" '"\$INSTDIR\\uninstall.exe"'
  CreateDirectory "\$SMPROGRAMS\\Bench Payload"
  CreateShortcut "\$SMPROGRAMS\\Bench Payload\\Bench Payload.lnk" "\$INSTDIR\\${first#./}"
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
  DeleteRegKey HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bench Payload"
  RMDir /r "\$SMPROGRAMS\\Bench Payload"
SectionEnd
NSI
  echo "$script"
}
nsis_setup() { seconds_of makensis -V1 "$(nsis_script "$@")"; }  # folder output compressor
ours_setup() {  # folder output
  seconds_of "$builder" --setup "$build/AverluneSetup.exe" --config "$repo/sample/config" --app "$1" --output "$2"
}

# Building: wall time and peak memory of each builder, the payload read from the file cache.
cat "$payload"/*/*/* > /dev/null
echo "building on $(nproc) cores:"
ours_setup "$payload" "$work/ours.exe"; ours_build=$wall ours_peak=$peak_mb
nsis_setup "$payload" "$work/nsis-zlib.exe" zlib; nsis_build=$wall nsis_peak=$peak_mb
nsis_setup "$payload" "$work/nsis-lzma.exe" "/SOLID lzma"; lzma_build=$wall lzma_peak=$peak_mb
echo "  ours ${ours_build} s, ${ours_peak} MB; NSIS zlib ${nsis_build} s, ${nsis_peak} MB; NSIS lzma solid ${lzma_build} s, ${lzma_peak} MB"
ours_setup "$manyfiles" "$work/ours-many.exe"; many_peak=$peak_mb
nsis_setup "$manyfiles" "$work/nsis-many.exe" zlib; many_nsis_peak=$peak_mb
ours_setup "$one" "$work/ours-one.exe"
nsis_setup "$one" "$work/nsis-one.exe" zlib
rm -f "$work/ours-many.exe" "$work/nsis-many.exe"

# Silent installs, rotated rounds after an untimed one. The prefix's Wine server stays up for
# every timed run: a run that found it gone would pay for Wine's start as well as its setup's.
"${wine_run[@]}" --keep-server
kinds=(ours nsis-zlib nsis-lzma)
# The installs go to memory (/dev/shm) when it has room for them, so the figures are the setups'
# own. On ext4 they measured the file system's state as well: each new file skips every inode
# deleted in the last minutes, one by one, and searches further as the disk fills, which added a
# second or more to every run, the same for each setup, growing round by round. Where memory has
# no room, every run installs into a new folder of the work folder (about 4 GB in all), and the
# folders are removed only at the end.
if [ "$(df --output=avail -k /dev/shm 2>/dev/null | tail -n 1)" -ge $((1024 * 1024)) ] 2>/dev/null; then
  installs=$(mktemp -d /dev/shm/averlune-bench.XXXXXX) in_memory=1
  trap 'rm -rf "$installs"; "${wine_run[@]}" --stop' EXIT  # memory is not left taken
else
  installs="$work/installed" in_memory=0
  rm -rf "$installs"
fi
runs=0
target=""
fresh_target() {  # -> sets $target to a new empty folder and flushes what earlier runs wrote
  [ "$in_memory" = 1 ] && [ -n "$target" ] && rm -rf "$target"
  runs=$((runs + 1))
  target="$installs/run-$runs"
  sync
}
install_once() {  # kind -> $seconds: a silent install's wall time, or the wizard's installation
  fresh_target
  local start end
  if [ "$1" = ours-wizard ]; then  # from the Next that starts it to the finish page
    seconds=$("${wine_run[@]}" "$build/bench/averlune_install_time_bench.exe" "$(windows_path "$work/ours.exe")" \
      "$(windows_path "$target")" 2> >(grep -v 'FS volume label' >&2) | tr -d '\r')
    return
  fi
  start=$(date +%s.%N)
  "${wine_run[@]}" "$work/$1.exe" /S "/D=$(windows_path "$target")" 2> >(grep -v 'FS volume label' >&2)
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc)
}
for kind in "${kinds[@]}"; do
  install_once "$kind"
  left=$(diff -r -x 'uninstall*' "$payload" "$target" 2>&1 | wc -l)
  [ "$left" = 0 ] || { echo "the $kind setup did not install the payload ($left differences)" >&2; exit 1; }
done
# The wizard's installation of our setup takes its turn in the same rounds, so that it is
# measured in the same conditions as the silent one it is held against.
[ "$wizard" = 1 ] && kinds+=(ours-wizard)
declare -A times
echo "install rounds (seconds; the order rotates each round):"
for ((r = 0; r < rounds; r++)); do
  line="  round $((r + 1)):"
  for ((k = 0; k < ${#kinds[@]}; k++)); do
    kind=${kinds[$(((r + k) % ${#kinds[@]}))]}
    install_once "$kind"
    t=$seconds
    times[$kind]+="$t "
    line+=$(printf " %s %.2f" "$kind" "$t")
  done
  echo "$line"
done
declare -A med
for kind in "${kinds[@]}"; do
  # shellcheck disable=SC2086
  med[$kind]=$(printf %.2f "$(median ${times[$kind]})")
done
echo "  NSIS lzma solid median: ${med[nsis-lzma]} s"

# Start to first window of the one-file setups, alternated by one driver, with nothing left to
# write back.
sync
report=$("${wine_run[@]}" "$build/bench/averlune_start_time_bench.exe" "${AVERLUNE_START_RUNS:-31}" \
  "$(windows_path "$work/ours-one.exe")" "$(windows_path "$work/nsis-one.exe")" | tr -d '\r')
read -r _ ours_ms nsis_ms < <(grep '^medians:' <<<"$report")

echo
if [ "$windows_build" = win64 ]; then wine_version=$(/usr/lib/wine/wine64 --version); else wine_version=$(wine --version); fi
echo "figures ($windows_build, $(nproc) cores, $wine_version, payload $(find "$payload" -type f | wc -l) files, $(du -sm "$payload" | cut -f1) MB):"
figure "silent install, median" "${med[ours]}" "${med[nsis-zlib]}" 0.7 s
[ "$wizard" = 1 ] && printf "%-34s wizard %s s, silent %s s, ratio %.2f (goal <= 1.15: %s)\n" "wizard against silent (ours)" \
  "${med[ours-wizard]}" "${med[ours]}" "$(echo "${med[ours-wizard]} / ${med[ours]}" | bc -l)" \
  "$([ "$(echo "${med[ours-wizard]} / ${med[ours]} <= 1.15" | bc -l)" = 1 ] && echo met || echo missed)"
figure "start to first window, median" "$ours_ms" "$nsis_ms" 1.05 ms
figure "setup size" "$(stat -c %s "$work/ours.exe")" "$(stat -c %s "$work/nsis-zlib.exe")" 1.0 B
echo "  NSIS lzma solid: $(stat -c %s "$work/nsis-lzma.exe") B"
printf "%-34s ours %s B, NSIS %s B\n" "setup with one small file" "$(stat -c %s "$work/ours-one.exe")" "$(stat -c %s "$work/nsis-one.exe")"
figure "building the setup, wall" "$ours_build" "$nsis_build" 0.5 s
peak_figure() {  # name ours peer
  printf "%-34s ours %s MB, NSIS %s MB (goal for ours <= 64 MB: %s)\n" "$1" "$2" "$3" "$([ "$2" -le 64 ] && echo met || echo missed)"
}
peak_figure "building the setup, peak memory" "$ours_peak" "$nsis_peak"
peak_figure "building $many small files, peak" "$many_peak" "$many_nsis_peak"
rm -rf "$installs"
