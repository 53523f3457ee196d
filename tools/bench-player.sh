#!/usr/bin/env bash
# Player benchmark: the playlist's cost for 10,000 files in a real main window, beside
# the plain linear duplicate scan; a polling tick; a start with the user's state of 500
# rows and positions, beside a start with none. Usage: tools/bench-player.sh BUILD_DIR
# [name part: only those measurements]; needs an X display (make bench gives one, else
# a private Xvfb).
. "$(dirname "$0")/common.sh"
need_built "$build/bench/player/bench_player.exe"
exec "$tools/wine-run" --screen "$build/bench/player/bench_player.exe" "$@"
