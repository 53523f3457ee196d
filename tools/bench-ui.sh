#!/usr/bin/env bash
# UI library benchmark: building the main layout and one full repaint (medians in ms).
# Usage: tools/bench-ui.sh BUILD_DIR; needs an X display (make bench gives one, else a private Xvfb).
set -u
build=$(cd "${1:?usage: bench-ui.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/duilib/ui_bench.exe"
if [ ! -f "$exe" ]; then
  echo "ui_bench not built ($exe)" >&2
  exit 1
fi
exec "$here/wine-run" --build "$build" --screen "$exe"
