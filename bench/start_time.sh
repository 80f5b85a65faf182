#!/usr/bin/env bash
# Start time under Wine: from starting the sample setup (built as the demo builds it, splash
# picture included) to its first visible window, next to a minimal program that only opens a
# window, measured the same way by one driver program, alternated run by run.
#   bench/start_time.sh <work folder>
# AVERLUNE_START_RUNS sets the number of runs (15). Goal: at most 250 ms more than the minimal
# program.
set -euo pipefail
work=$(realpath "${1:?usage: start_time.sh <work folder>}")
mkdir -p "$work"
source "$(dirname "$0")/windows_bench_env.sh"

staged="$work/sample-staged"
"$repo/sample/stage.sh" "$staged" "$build/sample/SampleNotes.exe"
setup="$work/AverluneSampleSetup.exe"
quietly "$builder" --setup "$build/AverluneSetup.exe" --config "$staged/config" --app "$staged/app" --output "$setup"

runs=${AVERLUNE_START_RUNS:-15}
report=$("${wine_run[@]}" "$build/bench/averlune_start_time_bench.exe" "$runs" "$(windows_path "$setup")" \
  "$(windows_path "$build/bench/averlune_minimal_window.exe")" | tr -d '\r')
echo "start to first window under Wine ($windows_build), ms per run: sample setup, minimal program"
grep -E '^(first|run)' <<<"$report" | sed 's/^/  /'
read -r _ setup_ms minimal_ms < <(grep '^medians:' <<<"$report")
difference=$((setup_ms - minimal_ms))
verdict="goal met"
[ "$difference" -le 250 ] || verdict="goal missed"
echo "start to first window, medians: setup $setup_ms ms, minimal program $minimal_ms ms, difference $difference ms (goal <= 250 ms: $verdict)"
