#!/usr/bin/env bash
# Makes the clips of tools/clips.txt that OUT_DIR lacks: those named, the whole sets named, or
# with no names the set `media`. Idempotent, and safe beside another run filling the same folder.
# Usage: make-media.sh OUT_DIR [NAME|SET...]
set -euo pipefail
out=${1:?usage: make-media.sh OUT_DIR [NAME|SET...]}
shift
manifest="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/clips.txt"
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
encoder() { [[ $(ffmpeg -hide_banner -encoders 2>/dev/null) == *" $1 "* ]]; }

declare -A recipe=()
names=()
line=
while IFS= read -r part || [ -n "$part" ]; do
  if [[ $part == *\\ ]]; then line+="${part%\\} "; continue; fi
  line+=${part#"${part%%[! ]*}"}
  read -r set name rest <<<"$line" || :
  line=
  case $set in
    '' | '#'*) ;;
    let) printf -v "$name" '%s' "$rest" ;;
    *) recipe[$name]=$rest; names+=("$set:$name") ;;
  esac
done <"$manifest"

# need NAME...: makes each clip not yet in the folder, under a temporary name renamed once whole.
need() {
  local name o
  for name in "$@"; do
    [ -e "$name" ] && continue
    [ -n "${recipe[$name]+set}" ] || { echo "make-media: no clip named $name in $manifest" >&2; return 1; }
    o=".making-$$-$name"
    if ! eval "${recipe[$name]}"; then
      echo "make-media: could not make $name" >&2
      rm -rf "$o" "$o".*
      return 1
    fi
    [ -e "$o" ] || continue   # left out: its encoder is missing
    mv -T "$o" "$name"
  done
}

[ $# -gt 0 ] || set -- media
for wanted in "$@"; do
  matched=0
  for entry in "${names[@]}"; do
    if [ "${entry%%:*}" = "$wanted" ] || [ "${entry#*:}" = "$wanted" ]; then
      need "${entry#*:}"
      matched=1
    fi
  done
  [ $matched = 1 ] || { echo "make-media: no clip or set named $wanted in $manifest" >&2; exit 1; }
done
echo "media ready in $out"
