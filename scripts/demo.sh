#!/usr/bin/env bash
# Builds everything, assembles the sample setup and runs it under Wine: on $DISPLAY when there is
# one, otherwise on a private Xvfb display. Every window the run meets is saved as a PNG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/bootstrap.sh
source scripts/windows-tiers.sh
build=build/$windows_build
if [ "$windows_build" = win64 ]; then
  echo "demo: the 64-bit build of the sample setup ($windows_reason); the product is the 32-bit build"
else
  echo "demo: the 32-bit sample setup ($windows_reason)"
fi

jobs=${AVERLUNE_JOBS:-2}
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs" --target averlune-build
cmake --preset "$windows_build" >/dev/null
cmake --build --preset "$windows_build" -j "$jobs"

out=build/sample
rm -rf "$out/staged"
sample/stage.sh "$out/staged" "$build/sample/SampleNotes.exe"
build/host/authoring/averlune-build --setup "$build/AverluneSetup.exe" \
  --config "$out/staged/config" --app "$out/staged/app" --output "$out/AverluneSampleSetup.exe"
echo "sample setup: $root/$out/AverluneSampleSetup.exe"

shots="$root/build/screenshots"
rm -rf "$shots"
display_flag=()
[ -n "${DISPLAY:-}" ] && display_flag=(--display)
scripts/wine-run.sh --prefix "$build/wineprefix" "${wine_flavour[@]}" "${display_flag[@]}" \
  "$build/tests/e2e/averlune_demo_walk.exe" "Z:$root/$out/AverluneSampleSetup.exe" "Z:$shots"
echo "screenshots of every window met:"
ls -1 "$shots"/*.png | sed 's/^/  /'
