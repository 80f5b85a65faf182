#!/usr/bin/env bash
# Runs every test: host unit tests (ASan+UBSan), fuzz smoke runs, then the Windows unit tests and
# the end-to-end tests under Wine on a private Xvfb display. The Windows tiers run in the 32-bit
# build where this host runs 32-bit programs (and the Windows unit tests in the 64-bit build as
# well, so 64-bit breakage shows everywhere), in the 64-bit build where it cannot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/bootstrap.sh
source scripts/windows-tiers.sh
echo "Windows tiers: $windows_build build ($windows_reason)"

jobs=${AVERLUNE_JOBS:-2}
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

scripts/fuzz-smoke.sh

stop_wine() {
  scripts/wine-run.sh --prefix build/win32/wineprefix --stop
  scripts/wine-run.sh --prefix build/win64/wineprefix --wine64 --stop
}
trap stop_wine EXIT

cmake --preset "$windows_build" >/dev/null
cmake --build --preset "$windows_build" -j "$jobs"
ctest --preset "$windows_build"

if [ "$windows_build" = win32 ]; then
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$jobs" --target averlune_win_tests
  ctest --preset win64 -R '^averlune_win_tests$'
else
  # The 32-bit setup program builds here though it cannot run: its size limit holds everywhere.
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j "$jobs" --target AverluneSetup
  ctest --preset win32 -R '^setup_program_size$'
fi

# The release packages, unpacked into an empty folder and used as the manual says.
scripts/package.sh >/dev/null
scripts/package-check.sh
