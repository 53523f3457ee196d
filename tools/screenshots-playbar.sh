#!/usr/bin/env bash
# Full screen with the control bar shown, as the bar's window test draws it, into
# BUILD/screenshots (run by tools/screenshots.sh with BUILD as $1).
set -u
build=$(cd "${1:?usage: screenshots-playbar.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/tests/video/window/playbar_test.exe"
[ -f "$exe" ] || { echo "screenshots-playbar: $exe is not built" >&2; exit 1; }
mkdir -p "$build/screenshots"
MORVANE_SHOTS=$("$here/wine-run" --path "$build/screenshots") "$here/wine-run" --build "$build" --screen --timeout 120 \
  "$exe" "--gtest_filter=PlayBarTest.FullScreenWithTheBarLooksRight"
