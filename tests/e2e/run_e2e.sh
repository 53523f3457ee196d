#!/usr/bin/env bash
# Runs the end-to-end test exe on an X screen of its own, in a Wine desktop of its
# own: the player's windows are then the only ones its pictures and input can meet.
# Usage: run_e2e.sh BUILD_DIR TEST_EXE [gtest arguments]
# MORVANE_E2E_SECONDS (default 200) bounds the run; a longer run (make soak) raises it.
# Leaves its clips, captures and result in BUILD_DIR/tests/e2e/run/<test exe name>.
takes_exe=1
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"
work="$build/tests/e2e/run/$(basename "$exe" .exe)"

rm -rf "$work/media" "$work/shots" "$work/result.xml" "$work/output.txt" "$work/player" "$work/audio.raw" "$work/appdata" "$work/profile"
mkdir -p "$work/media" "$work/shots"
# The clips are made once for every run, and each run plays its own copies.
"$tools/make-media.sh" "$build/media-e2e" e2e >/dev/null && cp "$build/media-e2e"/* "$work/media" || exit 1

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
