#!/usr/bin/env bash
# Full screen with the control bar shown, as the bar's window test draws it, into
# BUILD/screenshots (run by tools/screenshots.sh with BUILD as $1).
set -u
build=$(cd "${1:?usage: screenshots-playbar.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/tests/video/window/playbar_test.exe"
[ -f "$exe" ] || { echo "screenshots-playbar: $exe is not built" >&2; exit 1; }
mkdir -p "$build/screenshots"
export MORVANE_BUILD="$build"
# Wine's drive Z: is the root of the Unix tree.
export MORVANE_SHOTS="Z:${build//\//\\}\\screenshots"
run=("$here/wine-run" "$exe" "--gtest_filter=PlayBarTest.FullScreenWithTheBarLooksRight")
if [ -z "${DISPLAY:-}" ]; then run=("$here/with-display.sh" "${run[@]}"); fi
timeout 120 "${run[@]}"
