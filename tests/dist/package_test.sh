#!/bin/sh
# The release as a Windows user gets it: an exe that loads with nothing but the
# system's DLLs, packed by make dist's own script with its README and licence.
# usage: package_test.sh <objdump> <Morvane.exe> <source dir> <work dir> <version> <a MinGW runtime DLL>
set -u
export LC_ALL=C
objdump=$1 exe=$2 src=$3 work=$4 version=$5 runtime_dll=$6
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# What Morvane.exe imports today; a new system DLL joins here on purpose
# (advapi32: the decoder process's reduced token).
allowed="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll mfplat.dll mfreadwrite.dll
         msvcrt.dll ole32.dll shell32.dll shlwapi.dll user32.dll winmm.dll"

imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'; }

# Prints the imports of $1 that are not on the list; fails when there are any, or none at all.
foreign_imports() {
  list=$(imports "$1")
  [ -n "$list" ] || { echo "(no import table)"; return 1; }
  foreign=""
  for dll in $list; do
    case " $(echo $allowed) " in *" $dll "*) ;; *) foreign="$foreign $dll" ;; esac
  done
  [ -z "$foreign" ] || { echo "$foreign"; return 1; }
}

# The check itself must catch the runtime DLLs a dynamic link brings in.
if [ ! -f "$runtime_dll" ]; then
  fail "no MinGW runtime DLL at $runtime_dll to prove the import check on"
elif foreign_imports "$runtime_dll" >/dev/null; then
  fail "the import check lets $(basename "$runtime_dll") through"
fi

if ! out=$(foreign_imports "$exe"); then
  fail "Morvane.exe imports beyond the system DLLs:$out"
fi

rm -rf "$work" && mkdir -p "$work"
zip="$work/Morvane-$version-win64.zip"
"$src/tools/make-dist.sh" "$exe" "$src" "$zip" >/dev/null || fail "make-dist.sh failed"
if [ -f "$zip" ]; then
  entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [ "$entries" = "LICENSE.txt Morvane.exe README.txt " ] || fail "the zip holds: $entries"
  unzip -p "$zip" Morvane.exe | cmp -s - "$exe" || fail "the zipped exe is not the built one"
  unzip -p "$zip" LICENSE.txt | grep -q "MIT License" || fail "LICENSE.txt is not the MIT licence"
  unzip -p "$zip" README.txt | grep -q "cfg.cfg" || fail "README.txt does not say where cfg.cfg goes"
  # Notepad before Windows 10 1809 shows a text without CRs as one line.
  if unzip -p "$zip" README.txt LICENSE.txt | grep -q -v "$(printf '\r')\$"; then
    fail "a text file in the zip has a line without CRLF"
  fi
else
  fail "no zip at $zip"
fi

[ "$failures" -eq 0 ] && echo "release checks hold for Morvane-$version-win64.zip"
