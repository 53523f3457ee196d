#!/usr/bin/env bash
# Runs every benchmark script (tools/bench-*.sh) in one go and prints their reports.
. "$(dirname "$0")/common.sh"
rc=0
for s in "$tools"/bench-*.sh; do
  [ -x "$s" ] || continue
  echo "== $(basename "$s" .sh)"
  "$s" "$build" || rc=1
done
exit $rc
