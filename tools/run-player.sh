#!/usr/bin/env bash
# Starts Morvane.exe from a build folder, with FILE to play when given. With $DISPLAY
# it runs there until closed. Without one it runs on a private virtual screen for a
# few seconds, playing FILE or the demo clip, and leaves a screenshot in
# BUILD/screenshot.png as proof that it started and played.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A Unix path as the player sees it under Wine (drive Z: is the root).
windows_path() { local p; p=$(realpath "$1") && printf 'Z:%s' "${p//\//\\}"; }

if [ "${1:-}" = --shot ]; then
  build=$2
  file=${3:-}
  exe="$build/app/Morvane.exe"
  shot="$build/screenshot.png"
  log="$build/run-player.log"
  "$here/wine-run" "$exe" ${file:+"$file"} >"$log" 2>&1 &
  pid=$!
  # A cold Wine can take a while; wait for the window rather than a fixed time.
  wid=
  for _ in $(seq 120); do
    wid=$(xdotool search --name '^Morvane_WNDNAME$' 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  sleep "${MORVANE_RUN_SECONDS:-3}"
  rm -f "$shot"
  import -window root "$shot"
  # Close it as a user would (Alt+F4 is the close command); kill only if it lingers.
  if [ -n "$wid" ]; then
    xdotool windowfocus --sync "$wid" key alt+F4 2>/dev/null
  fi
  for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "player exit code: $?"
  # Let Wine's helper processes leave before the virtual screen goes away.
  WINEPREFIX="${WINEPREFIX:-$MORVANE_BUILD/wineprefix}" timeout 15 wineserver -w 2>/dev/null
  if [ -f "$shot" ]; then
    echo "screenshot: $shot"
  else
    echo "no screenshot was taken" >&2
    exit 1
  fi
  exit 0
fi

build=$(cd "${1:?usage: run-player.sh BUILD_DIR [FILE]}" && pwd)
file=${2:-}
exe="$build/app/Morvane.exe"
if [ ! -f "$exe" ]; then
  echo "missing $exe: the build did not produce the player" >&2
  exit 1
fi
if [ -n "$file" ] && [ ! -f "$file" ]; then
  echo "no such file: $file" >&2
  exit 1
fi
export MORVANE_BUILD="${MORVANE_BUILD:-$build}"
if [ -n "${DISPLAY:-}" ]; then
  if [ -n "$file" ]; then
    exec "$here/wine-run" "$exe" "$(windows_path "$file")"
  fi
  exec "$here/wine-run" "$exe"
fi
demo="$build/media/demo.mp4"
[ -n "$file" ] || file=$demo
if [ ! -f "$file" ]; then
  echo "missing $file: make media generates it" >&2
  exit 1
fi
exec "$here/with-display.sh" "$0" --shot "$build" "$(windows_path "$file")"
