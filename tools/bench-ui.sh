#!/usr/bin/env bash
# UI library benchmark: building the main layout and one full repaint (medians in ms).
# Usage: tools/bench-ui.sh BUILD_DIR; needs an X display (make bench gives one, else a private Xvfb).
. "$(dirname "$0")/common.sh"
need_built "$build/bench/duilib/ui_bench.exe"
exec "$tools/wine-run" --screen "$build/bench/duilib/ui_bench.exe"
