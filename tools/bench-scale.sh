#!/usr/bin/env bash
# Resizing one picture for the window on one thread: the nearest-pixel resize the player
# drew with before beside the filtered one, for 1080p in a 720p window, 360p at full screen
# (1080p) and 1080p in the 840x600 window. Usage: bench-scale.sh BUILD_DIR
. "$(dirname "$0")/common.sh"
need_built "$build/bench/effects/bench_scale.exe"
"$tools/wine-run" "$build/bench/effects/bench_scale.exe" 2>/dev/null | tr -d '\r'
