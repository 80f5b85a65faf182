#!/usr/bin/env bash
# Extraction benchmark: the setup's payload archive reader against Info-ZIP unzip and 7-Zip on
# the same archive, in one run, plus the peak memory of extracting a single 1 GiB entry.
#   bench/run.sh [work folder]      (default: a fresh folder under /tmp; needs ~3 GB free)
# Not part of the test command. Prints seconds, ratios and peak resident memory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
work=${1:-$(mktemp -d /tmp/averlune-bench.XXXXXX)}
mkdir -p "$work"
echo "work folder: $work"

# The reader, built optimised from the same sources the setup uses.
bin="$work/extract_bench"
g++ -std=c++17 -O2 -I"$repo" $(pkg-config --cflags minizip) -o "$bin" "$here/extract_bench.cpp" \
  "$repo/install/payload_archive_reader.cpp" "$repo/config/contained_path.cpp" \
  "$repo/config/text_decoding.cpp" $(pkg-config --libs minizip) -lz

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

measure() {  # name command...
  local out="$work/out-$1"; rm -rf "$out"; mkdir -p "$out"; sync
  local start end
  start=$(date +%s.%N)
  "${@:2}" "$out" > /dev/null
  end=$(date +%s.%N)
  echo "$1 $(echo "$end - $start" | bc)"
}
ours=$(measure reader "$bin" "$archive" | cut -d' ' -f2)
unz=$(measure unzip sh -c 'unzip -q -o "$1" -d "$2"' _ "$archive" | cut -d' ' -f2)
sz=$(measure 7z sh -c '7z x -y -bd -o"$2" "$1"' _ "$archive" | cut -d' ' -f2)
diff -r "$src" "$work/out-reader" > /dev/null && echo "reader output identical to the source files"
printf "seconds: reader %.2f  unzip %.2f  7z %.2f\n" "$ours" "$unz" "$sz"
printf "ratio reader/unzip %.2f  reader/7z %.2f\n" "$(echo "$ours / $unz" | bc -l)" "$(echo "$ours / $sz" | bc -l)"

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
peak() {  # name command... ; prints max RSS in MB
  local out="$work/big-$1"; rm -rf "$out"; mkdir -p "$out"
  /usr/bin/time -f "%M" -o "$work/rss" "${@:2}" "$out" > /dev/null
  echo "$(( $(cat "$work/rss") / 1024 ))"
  rm -rf "$out"
}
echo "peak resident memory for one 1 GiB entry (MB): reader $(peak reader "$bin" "$big")  unzip $(peak unzip sh -c 'unzip -q -o "$1" -d "$2"' _ "$big")  7z $(peak 7z sh -c '7z x -y -bd -o"$2" "$1"' _ "$big")"

# Under Wine: the real setup installing the same payload next to unzip, and the setup's start time.
"$here/setup_under_wine.sh" "$work"
"$here/start_time.sh" "$work"
