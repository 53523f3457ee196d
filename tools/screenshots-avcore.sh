#!/usr/bin/env bash
# PNGs of a generated clip played by the engine with shape 1 (ellipse), LOMO 10 and
# texture 3 (plus a water-drop ice pair), and of detailed stills drawn in the window and at
# full screen, into BUILD/screenshots.
. "$(dirname "$0")/common.sh"
exe="$build/bench/avcore/avcore_shots.exe"
need_built "$exe"
mkdir -p "$build/screenshots"
"$tools/wine-run" --screen --timeout 120 "$exe" "$(win "$build/media")" "$(win "$build/screenshots")"
