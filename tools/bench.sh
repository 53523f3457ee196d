#!/usr/bin/env bash
# Runs every benchmark script (tools/bench-*.sh) in one go and prints their reports.
set -u
build=$(cd "${1:?usage: bench.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
rc=0
for s in "$here"/bench-*.sh; do
  [ -x "$s" ] || continue
  echo "== $(basename "$s" .sh)"
  "$s" "$build" || rc=1
done
exit $rc
