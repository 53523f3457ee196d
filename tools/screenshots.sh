#!/usr/bin/env bash
# Runs every screenshot script (tools/screenshots-*.sh); PNGs land in BUILD/screenshots.
. "$(dirname "$0")/common.sh"
mkdir -p "$build/screenshots"
rc=0
for s in "$tools"/screenshots-*.sh; do
  [ -x "$s" ] || continue
  "$s" "$build" || rc=1
done
ls -1 "$build/screenshots"
exit $rc
