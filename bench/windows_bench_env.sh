# Sourced by the Windows benchmarks (setup_under_wine.sh, start_time.sh): installs what is missing,
# builds the setup builder on the host and the bare setup, the sample program and the bench
# programs in the Windows build this host runs (scripts/windows-tiers.sh), quietly, and gives
#   repo, windows_build, build     the repository, win32 or win64, and its build folder
#   builder                        the setup builder (averlune-build)
#   wine_run                       the command that runs a Windows program in the build's prefix
#   windows_path PATH              PATH as Windows programs under Wine see it (drive Z:)
# and stops the prefix's Wine and display when the benchmark ends.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/bootstrap.sh"
source "$repo/scripts/windows-tiers.sh"
build="$repo/build/$windows_build"
# The builder is measured as authors run it: optimised, without the tests' sanitizers.
builder="$repo/build/bench-builder/authoring/averlune-build"

quietly() {  # runs a command with its output kept for when it fails
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    rm -f "$log"
    echo "failed: $*" >&2
    return 1
  fi
  rm -f "$log"
}
(
  cd "$repo"
  jobs=${AVERLUNE_JOBS:-2}
  quietly cmake --preset host -B build/bench-builder -DCMAKE_BUILD_TYPE=Release -DAVERLUNE_SANITIZE=OFF
  quietly cmake --build build/bench-builder -j "$jobs" --target averlune-build
  quietly cmake --preset "$windows_build"
  quietly cmake --build --preset "$windows_build" -j "$jobs" --target AverluneSetup averlune_sample_notes \
    averlune_minimal_window averlune_start_time_bench averlune_install_time_bench
)

wine_run=("$repo/scripts/wine-run.sh" --prefix "$build/wineprefix" "${wine_flavour[@]}")
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
trap '"${wine_run[@]}" --stop' EXIT

median() {  # numbers... ; prints their median
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
