# The start every script of the project shares; sourced first, with the script's arguments in place.
# Sets $tools (this folder) and $build (the first argument, a build folder, made absolute); a script
# that sets takes_exe=1 before also gets $exe, the program named second. Both leave "$@", so what
# follows them (gtest arguments and the like) is passed on as it came.
set -u
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage="usage: $(basename "$0") BUILD_DIR${takes_exe:+ TEST_EXE [gtest arguments]}"
build=$(cd "${1:?$usage}" && pwd) || exit 1
shift
if [ -n "${takes_exe:-}" ]; then
  exe=${1:?$usage}
  shift
fi
export MORVANE_BUILD="$build"

# Stops the script unless every file named has been built.
need_built() {
  local f
  for f in "$@"; do
    [ -f "$f" ] || { echo "$(basename "$0"): $f is not built" >&2; exit 1; }
  done
}

# A Unix path as a program under Wine sees it.
win() { "$tools/wine-run" --path "$1"; }
