#!/usr/bin/env bash
# Runs every test: host unit tests (ASan+UBSan), fuzz smoke runs, then the Windows unit tests and
# the end-to-end tests under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/bootstrap.sh

jobs=${AVERLUNE_JOBS:-2}
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

scripts/fuzz-smoke.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
trap 'scripts/wine-run.sh --prefix build/win32/wineprefix --stop' EXIT
ctest --preset win32
