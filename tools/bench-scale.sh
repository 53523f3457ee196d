#!/usr/bin/env bash
# Resizing one picture for the window on one thread: the nearest-pixel resize the player
# drew with before beside the filtered one, for 1080p in a 720p window, 360p at full screen
# (1080p) and 1080p in the 840x600 window. Usage: bench-scale.sh BUILD_DIR
set -u
build=$(cd "${1:?usage: bench-scale.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/effects/bench_scale.exe"
[ -f "$exe" ] || { echo "bench-scale: $exe is not built" >&2; exit 1; }
MORVANE_BUILD="$build" "$here/wine-run" "$exe" 2>/dev/null | tr -d '\r'
