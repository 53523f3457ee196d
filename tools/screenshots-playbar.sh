#!/usr/bin/env bash
# Full screen with the control bar shown, as the bar's window test draws it, into
# BUILD/screenshots (run by tools/screenshots.sh with BUILD as $1).
. "$(dirname "$0")/common.sh"
exe="$build/tests/video/window/playbar_test.exe"
need_built "$exe"
mkdir -p "$build/screenshots"
MORVANE_SHOTS=$(win "$build/screenshots") "$tools/wine-run" --screen --timeout 120 \
  "$exe" "--gtest_filter=PlayBarTest.FullScreenWithTheBarLooksRight"
