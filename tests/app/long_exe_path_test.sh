#!/usr/bin/env bash
# An exe whose own path is longer than MAX_PATH (Windows cannot start one through
# CreateProcess, Wine's loader can from a Unix path): cfg.cfg must land in the exe's
# own folder, never in an ancestor that a path cut at 260 units would name.
set -u
build=$1
probe="$build/tests/app/config/config_probe.exe"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run() { "$here/../../tools/wine-run" "$@" 2>/dev/null | tr -d '\r'; }

base="$build/tests/app/config/longexe"
rm -rf "$base"
dir="$base"
while [ ${#dir} -lt 340 ]; do dir="$dir/folder_with_a_rather_long_name"; done
mkdir -p "$dir"
cp "$probe" "$dir/"
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got '$2', want '$3'"; fail=1; else echo "ok   $1"; fi; }

check "defaults without a file" "$(run "$dir/config_probe.exe" load)" "1 0"
run "$dir/config_probe.exe" save 2 258 >/dev/null
check "saved beside the exe" "$(od -An -tx1 "$dir/cfg.cfg" 2>/dev/null | tr -s ' ')" " 02 00 00 00 02 01 00 00"
check "loaded back" "$(run "$dir/config_probe.exe" load)" "2 258"
check "fixed-size lookup refuses" "$(run "$dir/config_probe.exe" dir)" "refused"
stray=$(find "$base" -name cfg.cfg ! -path "$dir/cfg.cfg")
check "no cfg.cfg in an ancestor" "$stray" ""
rm -rf "$base"
exit $fail
