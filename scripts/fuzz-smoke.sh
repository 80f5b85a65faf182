#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one briefly (AVERLUNE_FUZZ_SECONDS, default
# 10) from its committed seed corpus. For a long run of one target:
#   cmake --preset fuzz && cmake --build --preset fuzz
#   build/fuzz/<target> -max_total_time=3600 build/fuzz/corpus-<target> <seed folder>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${AVERLUNE_FUZZ_SECONDS:-10}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${AVERLUNE_JOBS:-2}"
for target in $(find build/fuzz -maxdepth 1 -type f -name '*_fuzz' -perm -u+x | sort); do
  name=$(basename "$target")
  corpus="build/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "tests/fuzz-seeds/$name" ] && seeds=("tests/fuzz-seeds/$name")
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "${seeds[@]}" >"build/fuzz/$name.log" 2>&1 \
    || { tail -40 "build/fuzz/$name.log"; exit 1; }
done
