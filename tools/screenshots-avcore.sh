#!/usr/bin/env bash
# PNGs of a generated clip played by the engine with shape 1 (ellipse), LOMO 10 and
# texture 3 (plus a water-drop ice pair), and of detailed stills drawn in the window and at
# full screen, into BUILD/screenshots.
set -u
build=$(cd "${1:?usage: screenshots-avcore.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/avcore/avcore_shots.exe"
[ -f "$exe" ] || { echo "screenshots-avcore: $exe is not built" >&2; exit 1; }
mkdir -p "$build/screenshots"
"$here/wine-run" --build "$build" --screen --timeout 120 "$exe" \
  "$("$here/wine-run" --path "$build/media")" "$("$here/wine-run" --path "$build/screenshots")"
