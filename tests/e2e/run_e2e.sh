#!/usr/bin/env bash
# Runs the end-to-end test exe on an X screen of its own, in a Wine desktop of its
# own: the player's windows are then the only ones its pictures and input can meet.
# Usage: run_e2e.sh BUILD_DIR TEST_EXE [gtest arguments]
# MORVANE_E2E_SECONDS (default 200) bounds the run; a longer run (make soak) raises it.
# Leaves its clips, captures and result in BUILD_DIR/tests/e2e/run/<test exe name>.
set -u
build=$(cd "${1:?usage: run_e2e.sh BUILD_DIR TEST_EXE}" && pwd)
exe=${2:?usage: run_e2e.sh BUILD_DIR TEST_EXE}
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tools="$here/../../tools"
work="$build/tests/e2e/run/$(basename "$exe" .exe)"
win() { "$tools/wine-run" --path "$1"; }

rm -rf "$work/media" "$work/shots" "$work/result.xml" "$work/output.txt" "$work/player" "$work/audio.raw" "$work/appdata" "$work/profile"
mkdir -p "$work/media" "$work/shots"
# Two short clips told apart by their picture: the colour bars, then one flat
# colour; and a minute of the flat colour, long enough to stay open through full
# screen and the settings. Made afresh each run (seconds), so they always fit the test.
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
ff -f lavfi -i "testsrc2=size=320x240:rate=30:duration=4" -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=4" \
  -c:v libx264 -pix_fmt yuv420p -g 30 -c:a aac -b:a 96k -shortest "$work/media/first.mp4" || exit 1
ff -f lavfi -i "color=c=0xE07020:size=320x240:rate=30:duration=8" -f lavfi -i "sine=frequency=660:sample_rate=44100:duration=8" \
  -c:v libx264 -pix_fmt yuv420p -g 30 -c:a aac -b:a 96k -shortest "$work/media/second.mkv" || exit 1
ff -f lavfi -i "color=c=0xE07020:size=320x240:rate=25:duration=60" -f lavfi -i "sine=frequency=550:sample_rate=44100:duration=60" \
  -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac -b:a 64k -shortest "$work/media/long.mkv" || exit 1
# Sound alone, 40 s of a tone.
ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=40" -c:a aac -b:a 64k "$work/media/tone.m4a" || exit 1

export MORVANE_BUILD="$build"
export MORVANE_E2E_DIR; MORVANE_E2E_DIR=$(win "$work")
export MORVANE_SHOTS; MORVANE_SHOTS=$(win "$work/shots")
export MORVANE_AUDIO_CAPTURE="$work/audio.raw"
# Wine's session (server and services) is started here if none runs, with the
# caller's screen and no output of ours: started by the run below it would live on
# with a screen that is about to go and with our output held open.
"$tools/wine-run" cmd /c exit </dev/null >/dev/null 2>&1
# Explorer hosts the named desktop and starts the test in it; it hands back no
# exit code, so the verdict is read from GoogleTest's report. The time limit ends
# explorer, and the screen's end takes whatever still runs on it.
run_in_desktop() {
  local n=$1
  shift
  MORVANE_USE_DISPLAY=0 "$tools/with-display.sh" timeout "${MORVANE_E2E_SECONDS:-200}" "$tools/wine-run" explorer \
    "/desktop=morvane-e2e-$$-$n,1280x800" "$(win "$exe")" --gtest_color=no \
    "--gtest_output=xml:$(win "$work/result.xml")" "$@" </dev/null >"$work/output.txt" 2>&1
}
run_in_desktop 1 "$@"
rc=$?
# Explorer now and then fails to start the program at all while other tests start
# Wine beside it; that is no verdict on the player, so it gets one more start.
if [ ! -f "$work/result.xml" ] && grep -q "could not be started" "$work/output.txt"; then
  echo "e2e: the test program did not start; starting it once more"
  run_in_desktop 2 "$@"
  rc=$?
fi
cat "$work/output.txt"
if [ ! -f "$work/result.xml" ]; then
  echo "e2e: no test report (runner exit code $rc)"
  exit 1
fi
head=$(grep -m1 '<testsuites' "$work/result.xml")
tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$head")
failures=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$head")
errors=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$head")
echo "e2e: captures in $work/shots"
if [ "${tests:-0}" -gt 0 ] && [ "${failures:-1}" = 0 ] && [ "${errors:-1}" = 0 ]; then
  exit 0
fi
echo "e2e: $tests tests, $failures failures, $errors errors"
exit 1
