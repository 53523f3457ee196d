#!/usr/bin/env bash
# Builds each of the four skinned windows from the archive, then the settings window
# as the player shows it (both pages, the water-drop preview), and saves a PNG of
# each into BUILD/screenshots (run by tools/screenshots.sh with BUILD as $1).
. "$(dirname "$0")/common.sh"
exes=("$build/tests/skin/skin_gallery.exe" "$build/tests/settings/gallery/settings_gallery.exe")
need_built "${exes[@]}"
mkdir -p "$build/screenshots"
shots=$(win "$build/screenshots")
rc=0
for exe in "${exes[@]}"; do
  "$tools/wine-run" --screen --timeout 120 "$exe" "$shots" || rc=1
done
exit $rc
