#!/usr/bin/env bash
# Extraction benchmark: the setup's payload archive reader against Info-ZIP unzip and 7-Zip on
# the same archive, in one run, plus the peak memory of extracting a single 1 GiB entry.
#   bench/run.sh [work folder]      (default: a fresh folder under /tmp; needs ~3 GB free)
#   BENCH_ROUNDS=n                  rounds of the paired runs (default 6)
# Not part of the test command. The machine is noisy, so the three extractors run in rounds, each
# round in a rotated order, each run into an empty folder that is removed right after it (the
# removal and a sync are outside the clock). Creating files right after many were deleted costs
# the file system more system time (it passes over recently freed entries), so every run follows
# the removal of a run's output, an untimed warm-up round comes first, and with a multiple of 3
# rounds every extractor takes every place equally often. Prints every round, the medians and the
# ratios, and peak resident memory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
work=${1:-$(mktemp -d /tmp/averlune-bench.XXXXXX)}
rounds=${BENCH_ROUNDS:-6}
mkdir -p "$work"
echo "work folder: $work"

# What the extraction bench needs, installed the way scripts/bootstrap.sh does when missing.
"$here/install_missing.sh" g++ pkg-config python3 zlib1g-dev libminizip-dev libdeflate-dev zip unzip p7zip-full bc time

# The reader, built optimised from the same sources the setup uses.
bin="$work/extract_bench"
g++ -std=c++17 -O2 -I"$repo" $(pkg-config --cflags minizip libdeflate) -o "$bin" "$here/extract_bench.cpp" \
  "$repo/install/payload_archive_reader.cpp" "$repo/install/payload_whole_entry.cpp" \
  "$repo/base/contained_path.cpp" "$repo/base/path_text.cpp" "$repo/base/text_decoding.cpp" \
  "$repo/config/payload_container.cpp" \
  $(pkg-config --libs minizip libdeflate) -lz

# Payload: thousands of files, a few hundred MB, mixed compressibility (text-like, zeros, random).
src="$work/payload"
if [ ! -d "$src" ]; then
  python3 - "$src" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(7)
words = [b"alpha", b"beta", b"gamma", b"delta", b"setup", b"folder", b"entry", b"value", b"\r\n"]
for i in range(4000):
    d = os.path.join(root, "d%02d" % (i % 40), "s%d" % (i % 7))
    os.makedirs(d, exist_ok=True)
    kind = i % 4
    size = rng.choice([2000, 20000, 60000, 150000]) if i % 50 else 4_000_000
    if kind == 0:
        data = os.urandom(size)
    elif kind == 1:
        data = bytes(size)
    else:
        data = b" ".join(rng.choice(words) for _ in range(size // 5))[:size]
    with open(os.path.join(d, "f%05d.bin" % i), "wb") as f:
        f.write(data)
PY
fi
archive="$work/payload.zip"
[ -f "$archive" ] || (cd "$src" && zip -q -r -6 "$archive" .)
echo "payload: $(find "$src" -type f | wc -l) files, $(du -sm "$src" | cut -f1) MB, archive $(du -sm "$archive" | cut -f1) MB"

command_of() {  # tool archive folder -> sets `command`
  case $1 in
    reader) command=("$bin" "$2" "$3") ;;
    unzip) command=(unzip -q -o "$2" -d "$3") ;;
    7z) command=(7z x -y -bd -o"$3" "$2") ;;
  esac
}
measure() {  # tool [keep] -> "wall user system" seconds of one extraction of the payload
  local out="$work/out-$1"
  rm -rf "$out"; mkdir -p "$out"; sync
  local start end command
  command_of "$1" "$archive" "$out"
  start=$(date +%s.%N)
  /usr/bin/time -f "%U %S" -o "$work/cpu" "${command[@]}" > /dev/null
  end=$(date +%s.%N)
  [ "${2:-}" = keep ] || { rm -rf "$out"; sync; }
  echo "$(echo "$end - $start" | bc) $(cat "$work/cpu")"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

tools=(reader unzip 7z)
measure reader keep > /dev/null
diff -r "$src" "$work/out-reader" > /dev/null && echo "reader output identical to the source files"
rm -rf "$work/out-reader"; sync
measure unzip > /dev/null
measure 7z > /dev/null
declare -A wall user system
echo "rounds (seconds wall/user/system; the order rotates each round):"
for ((r = 0; r < rounds; r++)); do
  line="round $((r + 1)):"
  for ((k = 0; k < 3; k++)); do
    tool=${tools[$(((r + k) % 3))]}
    read -r w u s <<<"$(measure "$tool")"
    wall[$tool]+="$w "; user[$tool]+="$u "; system[$tool]+="$s "
  done
  for tool in "${tools[@]}"; do
    line+=$(printf "  %s %.2f/%.2f/%.2f" "$tool" "$(echo "${wall[$tool]}" | awk '{print $NF}')" \
      "$(echo "${user[$tool]}" | awk '{print $NF}')" "$(echo "${system[$tool]}" | awk '{print $NF}')")
  done
  r_w=$(echo "${wall[reader]}" | awk '{print $NF}')
  line+=$(printf "  | reader/unzip %.2f  reader/7z %.2f" "$(echo "$r_w / $(echo "${wall[unzip]}" | awk '{print $NF}')" | bc -l)" \
    "$(echo "$r_w / $(echo "${wall[7z]}" | awk '{print $NF}')" | bc -l)")
  echo "$line"
done
declare -A med
for tool in "${tools[@]}"; do
  med[$tool]=$(echo "${wall[$tool]}" | tr ' ' '\n' | grep . | median)
  printf "median %-6s wall %.2f  user %.2f  system %.2f\n" "$tool" "${med[$tool]}" \
    "$(echo "${user[$tool]}" | tr ' ' '\n' | grep . | median)" "$(echo "${system[$tool]}" | tr ' ' '\n' | grep . | median)"
done
printf "ratio of median walls: reader/unzip %.2f (goal <= 0.80)  reader/7z %.2f (goal <= 1.00)\n" \
  "$(echo "${med[reader]} / ${med[unzip]}" | bc -l)" "$(echo "${med[reader]} / ${med[7z]}" | bc -l)"

# Peak memory of one 1 GiB entry (half random, half zeros, so the inflater works at both speeds).
big="$work/big.zip"
if [ ! -f "$big" ]; then
  mkdir -p "$work/bigsrc"
  python3 -c "
import os
with open('$work/bigsrc/big.bin','wb') as f:
    for i in range(1024):
        f.write(os.urandom(1<<20) if i % 2 else bytes(1<<20))
"
  (cd "$work/bigsrc" && zip -q -1 "$big" big.bin)
  rm -rf "$work/bigsrc"
fi
peak() {  # tool ; prints max RSS in MB
  local out="$work/big-$1" command; rm -rf "$out"; mkdir -p "$out"
  command_of "$1" "$big" "$out"
  /usr/bin/time -f "%M" -o "$work/rss" "${command[@]}" > /dev/null
  echo "$(( $(cat "$work/rss") / 1024 ))"
  rm -rf "$out"
}
echo "peak resident memory for one 1 GiB entry (MB, goal for the reader <= 8): reader $(peak reader)  unzip $(peak unzip)  7z $(peak 7z)"

# Under Wine: the real setup installing the same payload next to unzip, and the setup's start time.
"$here/setup_under_wine.sh" "$work"
"$here/start_time.sh" "$work"

# The 32-bit setup program against its size goal (the setup_program_size test keeps it there).
(cd "$repo" && cmake --preset win32 >/dev/null && cmake --build --preset win32 --target AverluneSetup >/dev/null)
echo "setup program (32-bit): $(stat -c %s "$repo/build/win32/AverluneSetup.exe") bytes (goal <= 409600, 400 KiB)"
