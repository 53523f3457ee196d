#!/usr/bin/env bash
# Layouts beside an exe whose own path is longer than MAX_PATH (only Wine's loader
# starts one, from a Unix path): the layout beside the exe is read, never one in the
# ancestor that a path cut at 260 units would name.
. "$(dirname "$0")/../../tools/common.sh"
probe="$build/tests/duilib_core/duilib_layout_probe.exe"

base="$build/tests/duilib_core/longexe"
rm -rf "$base"
dir="$base"
while [ ${#dir} -lt 340 ]; do
  dir="$dir/folder_with_a_rather_long_name"
  mkdir -p "$dir"
  echo '<Label/>' > "$dir/probe_layout.xml"  # decoys in every ancestor
done
cp "$probe" "$dir/"
echo '<Button/>' > "$dir/probe_layout.xml"
got=$("$tools/wine-run" "$dir/duilib_layout_probe.exe" 2>/dev/null | tr -d '\r')
rm -rf "$base"
if [ "$got" != "ButtonUI" ]; then echo "FAIL: built '$got', want the ButtonUI beside the exe"; exit 1; fi
echo "ok   the layout beside the exe"
