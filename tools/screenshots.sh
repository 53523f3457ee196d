#!/usr/bin/env bash
# Runs every screenshot script (tools/screenshots-*.sh); PNGs land in BUILD/screenshots.
set -u
build=$(cd "${1:?usage: screenshots.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/screenshots"
rc=0
for s in "$here"/screenshots-*.sh; do
  [ -x "$s" ] || continue
  "$s" "$build" || rc=1
done
ls -1 "$build/screenshots"
exit $rc
