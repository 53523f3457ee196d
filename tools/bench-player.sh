#!/usr/bin/env bash
# Player benchmark: the playlist's cost for 10,000 files in a real main window, beside
# the plain linear duplicate scan; a polling tick; a start with the user's state of 500
# rows and positions, beside a start with none. Usage: tools/bench-player.sh BUILD_DIR
# [name part: only those measurements]; needs an X display (make bench gives one, else
# a private Xvfb).
set -u
build=$(cd "${1:?usage: bench-player.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/player/bench_player.exe"
if [ ! -f "$exe" ]; then
  echo "bench_player not built ($exe)" >&2
  exit 1
fi
exec "$here/wine-run" --build "$build" --screen "$exe" "${@:2}"
