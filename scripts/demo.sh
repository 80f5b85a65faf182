#!/usr/bin/env bash
# Builds everything, assembles the sample setup and runs it under Wine: on $DISPLAY when there is
# one, otherwise on a private Xvfb display. Every window the run meets is saved as a PNG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/bootstrap.sh

jobs=${AVERLUNE_JOBS:-2}
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs" --target averlune-build
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

out=build/sample
rm -rf "$out/staged"
sample/stage.sh "$out/staged" build/win32/sample/SampleNotes.exe
build/host/authoring/averlune-build --setup build/win32/AverluneSetup.exe \
  --config "$out/staged/config" --app "$out/staged/app" --output "$out/AverluneSampleSetup.exe"
echo "sample setup: $root/$out/AverluneSampleSetup.exe"

shots="$root/build/screenshots"
rm -rf "$shots"
display_flag=()
[ -n "${DISPLAY:-}" ] && display_flag=(--display)
scripts/wine-run.sh --prefix build/win32/wineprefix "${display_flag[@]}" \
  build/win32/tests/e2e/averlune_demo_walk.exe "Z:$root/$out/AverluneSampleSetup.exe" "Z:$shots"
echo "screenshots of every window met:"
ls -1 "$shots"/*.png | sed 's/^/  /'
