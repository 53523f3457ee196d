#!/bin/sh
# Packs the release zip for Windows users: the exe, their README and the licence,
# flat at the zip's root, text in CRLF so Notepad on any Windows shows it whole.
# usage: make-dist.sh <Morvane.exe> <source dir> <output .zip>
set -eu
[ $# -eq 3 ] || { echo "usage: $0 <Morvane.exe> <source dir> <output .zip>" >&2; exit 2; }
exe=$1 src=$2 zip=$3
[ -f "$exe" ] || { echo "no exe at $exe" >&2; exit 1; }

stage=$(mktemp -d "${TMPDIR:-/tmp}/morvane-dist.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Morvane.exe"
sed 's/\r*$/\r/' "$src/docs/windows-readme.txt" > "$stage/README.txt"
sed 's/\r*$/\r/' "$src/LICENSE" > "$stage/LICENSE.txt"
# One date on every entry, the exe's, so the same build packs the same zip.
touch -r "$exe" "$stage"/*

mkdir -p "$(dirname "$zip")"
rm -f "$zip"
zip_abs=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
(cd "$stage" && zip -q -X -D "$zip_abs" Morvane.exe README.txt LICENSE.txt)
echo "$zip"
