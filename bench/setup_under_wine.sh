#!/usr/bin/env bash
# The real thing: the setup under Wine installs the extraction bench's payload, driven through its
# wizard, next to Info-ZIP unzip extracting the same payload on the host; runs alternated, each
# into an emptied folder.
#   bench/setup_under_wine.sh <work folder>
# The work folder is bench/run.sh's: it holds payload/ and payload.zip. The setup is built there
# from the sample's configuration with payload/ as its application folder (kept while the bare
# setup is not rebuilt). The setup's time runs from the press of Next that starts the
# installation to the finish page, as the test driver sees them. AVERLUNE_BENCH_RUNS sets the
# number of runs (3).
set -euo pipefail
work=$(realpath "${1:?usage: setup_under_wine.sh <work folder>}")
payload="$work/payload"
archive="$work/payload.zip"
[ -d "$payload" ] && [ -f "$archive" ] || { echo "no payload in $work: bench/run.sh makes it" >&2; exit 1; }
source "$(dirname "$0")/windows_bench_env.sh"

setup="$work/PayloadSampleSetup.exe"
if [ ! "$setup" -nt "$build/AverluneSetup.exe" ]; then
  quietly "$builder" --setup "$build/AverluneSetup.exe" --config "$repo/sample/config" --app "$payload" --output "$setup"
fi
echo "setup under Wine ($windows_build): $(du -m "$setup" | cut -f1) MB setup, payload archive of unzip $(du -m "$archive" | cut -f1) MB"

runs=${AVERLUNE_BENCH_RUNS:-3}
installed="$work/setup-out"
unzipped="$work/unzip-out"
setup_times=()
unzip_times=()
for run in $(seq 1 "$runs"); do
  rm -rf "$installed"; sync
  # Wine's notice that the host's root folder (drive Z:) has no volume label is left out.
  seconds=$("${wine_run[@]}" "$build/bench/averlune_install_time_bench.exe" "$(windows_path "$setup")" \
    "$(windows_path "$installed")" 2> >(grep -v 'FS volume label and serial are not available' >&2) | tr -d '\r')
  setup_times+=("$seconds")
  rm -rf "$unzipped"; sync
  start=$(date +%s.%N)
  unzip -q -o "$archive" -d "$unzipped"
  end=$(date +%s.%N)
  unzip_times+=("$(echo "$end - $start" | bc)")
  printf "run %d: setup %.2f s  unzip %.2f s\n" "$run" "${setup_times[-1]}" "${unzip_times[-1]}"
done
# The setup adds its uninstaller and log beside the application's files.
diff -r -x 'uninstall*' "$payload" "$installed" > /dev/null && echo "installed files identical to the payload"
setup_median=$(median "${setup_times[@]}")
unzip_median=$(median "${unzip_times[@]}")
printf "installation (Next to finish page) median %.2f s, unzip median %.2f s, ratio setup/unzip %.2f\n" \
  "$setup_median" "$unzip_median" "$(echo "$setup_median / $unzip_median" | bc -l)"
rm -rf "$installed" "$unzipped"
