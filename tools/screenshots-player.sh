#!/usr/bin/env bash
# The main window playing a file: the end-to-end run's capture while its first
# clip plays, saved as BUILD/screenshots/player-playing.png.
set -u
build=$(cd "${1:?usage: screenshots-player.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/tests/e2e/e2e_player_test.exe"
if [ ! -f "$exe" ]; then
  echo "screenshots-player: $exe is not built" >&2
  exit 1
fi
mkdir -p "$build/screenshots"
log="$build/tests/e2e/screenshots-run.log"
"$here/../tests/e2e/run_e2e.sh" "$build" "$exe" >"$log" 2>&1
rc=$?
shot="$build/tests/e2e/run/e2e_player_test/shots/e2e-playing.png"
if [ ! -f "$shot" ]; then
  echo "screenshots-player: the player never showed a file playing; see $log" >&2
  exit 1
fi
cp "$shot" "$build/screenshots/player-playing.png"
[ $rc = 0 ] || echo "screenshots-player: the end-to-end run failed after the capture; see $log" >&2
exit 0
