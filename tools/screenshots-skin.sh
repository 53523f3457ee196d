#!/usr/bin/env bash
# Builds each of the four skinned windows from the archive, then the settings window
# as the player shows it (both pages, the water-drop preview), and saves a PNG of
# each into BUILD/screenshots (run by tools/screenshots.sh with BUILD as $1).
set -u
build=$(cd "${1:?usage: screenshots-skin.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exes=("$build/tests/skin/skin_gallery.exe" "$build/tests/settings/gallery/settings_gallery.exe")
for exe in "${exes[@]}"; do
  if [ ! -f "$exe" ]; then
    echo "screenshots-skin: $exe is not built" >&2
    exit 1
  fi
done
mkdir -p "$build/screenshots"
shots=$("$here/wine-run" --path "$build/screenshots")
rc=0
for exe in "${exes[@]}"; do
  "$here/wine-run" --build "$build" --screen --timeout 120 "$exe" "$shots" || rc=1
done
exit $rc
