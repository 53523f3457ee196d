#!/usr/bin/env bash
# The player as the end-to-end runs see it, saved in BUILD/screenshots: the main
# window playing a file (player-playing.png), full screen with its bar
# (fullscreen-bar.png), and the water-drop picture after the settings' save
# (player-waterdrop.png), and subtitles in the window and full screen
# (subtitles-window.png, subtitles-fullscreen.png).
. "$(dirname "$0")/common.sh"
mkdir -p "$build/screenshots"
rc=0

# shoot TEST_NAME CAPTURE:SAVED_AS...
shoot() {
  local name=$1 exe="$build/tests/e2e/$1.exe" log="$build/tests/e2e/screenshots-$1.log" pair
  shift
  if [ ! -f "$exe" ]; then
    echo "screenshots-player: $exe is not built" >&2
    rc=1
    return
  fi
  "$tools/../tests/e2e/run_e2e.sh" "$build" "$exe" >"$log" 2>&1 ||
    echo "screenshots-player: the $name run failed; see $log" >&2
  for pair in "$@"; do
    local shot="$build/tests/e2e/run/$name/shots/${pair%%:*}"
    if [ -f "$shot" ]; then
      cp "$shot" "$build/screenshots/${pair#*:}"
    else
      echo "screenshots-player: the $name run made no ${pair%%:*}; see $log" >&2
      rc=1
    fi
  done
}

shoot e2e_player_test e2e-playing.png:player-playing.png
shoot e2e_fullscreen_test e2e-fullscreen-bar.png:fullscreen-bar.png e2e-waterdrop.png:player-waterdrop.png
shoot e2e_subtitle_test e2e-subtitle-gb18030.png:subtitles-window.png e2e-subtitle-fullscreen.png:subtitles-fullscreen.png
exit $rc
