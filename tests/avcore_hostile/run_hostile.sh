#!/usr/bin/env bash
# Makes the hostile corpus afresh, then runs the engine's test over it under Wine on
# the caller's X screen (a private one when there is none).
# Usage: run_hostile.sh BUILD_DIR TEST_EXE [gtest arguments]
takes_exe=1
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/common.sh"
corpus="$build/tests/avcore_hostile/corpus"

python3 "$(dirname "$0")/make_corpus.py" "$corpus" || exit 1
export MORVANE_MEDIA="$corpus"
# Output goes through a file: a child process stuck in the platform's reader can
# outlive the test, and must not hold the caller's pipe open until Wine ends.
log="$build/tests/avcore_hostile/output.txt"
"$tools/wine-run" --screen "$exe" --gtest_color=no "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
exit $rc
