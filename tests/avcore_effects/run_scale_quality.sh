#!/usr/bin/env bash
# Runs the scaler's quality test under Wine on detailed stills at 1920x1080 and 640x360 and
# ffmpeg's resizes of them to the window's sizes (the manifest's `stills`, made once).
# Usage: run_scale_quality.sh BUILD_DIR TEST_EXE [gtest arguments]
takes_exe=1
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"
export MORVANE_STILLS="$build/tests/avcore_effects/stills"
"$tools/make-media.sh" "$MORVANE_STILLS" stills >/dev/null || exit 1
"$tools/wine-run" "$exe" --gtest_color=no "$@" </dev/null
