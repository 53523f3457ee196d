#!/usr/bin/env bash
# Engine benchmarks on generated 1080p files (made here once, kept in BUILD/media-bench):
# decode-only vs decode+convert+effect throughput, how long open and seek keep a user waiting
# for the picture, and 10 s of real-time 1080p60 playback with where each picture's time goes (and 5 s
# of it at 2.0x), and the time-stretch's CPU.
# A second argument, the bench_avcore.exe of an earlier build, compares the two: the open and
# seek run and the real-time run then alternate between it and this build three times, so
# both meet the same load.
set -u
build=$(cd "${1:?usage: bench-avcore.sh BUILD_DIR [BASELINE_EXE]}" && pwd)
baseline=${2:+$(cd "$(dirname "$2")" && pwd)/$(basename "$2")}
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/avcore/bench_avcore.exe"
[ -f "$exe" ] || { echo "bench-avcore: $exe is not built" >&2; exit 1; }
media="$build/media-bench"
mkdir -p "$media"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
[ -f "$media/hd30.mp4" ] || ff -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=10" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=10" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 60 -c:a aac -shortest "$media/hd30.mp4"
[ -f "$media/hd60.mp4" ] || ff -f lavfi -i "testsrc2=size=1920x1080:rate=60:duration=12" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=12" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 120 -c:a aac -shortest "$media/hd60.mp4"

export MORVANE_BUILD="$build"
win() { "$here/wine-run" --path "$1"; }
run() { "$here/wine-run" "$exe" "$@"; }
if [ -z "${DISPLAY:-}" ]; then exec "$here/with-display.sh" "$0" "$build" ${baseline:+"$baseline"}; fi
compared() {
  if [ -z "$baseline" ]; then run "$@"; return; fi
  for round in 1 2 3; do
    echo "## baseline, round $round"; "$here/wine-run" "$baseline" "$@"
    echo "## this build, round $round"; run "$@"
  done
}

hd30=$(win "$media/hd30.mp4")
hd60=$(win "$media/hd60.mp4")
echo "# 1920x1080 H.264, 300 frames; best of five runs each, alternating"
dec=(); pipe=(); fx=()
for round in 1 2 3 4 5; do
  dec+=("$(run decode "$hd30")")
  pipe+=("$(run pipeline "$hd30" 0 0)")
  fx+=("$(run pipeline "$hd30" 1 14)")
done
fps() { sed -n 's/.*= *\([0-9.]*\) fps.*/\1/p'; }
bestOf() { printf '%s\n' "$@" | awk -F'= *' '{split($2,a," "); if (a[1]>m) {m=a[1]; l=$0}} END {print l}'; }
d=$(bestOf "${dec[@]}"); p=$(bestOf "${pipe[@]}"); e=$(bestOf "${fx[@]}")
echo "$d"; echo "$p"; echo "$e"
dfps=$(echo "$d" | fps); pfps=$(echo "$p" | fps); efps=$(echo "$e" | fps)
awk -v d="$dfps" -v p="$pfps" -v e="$efps" 'BEGIN {
  printf "ratio to decode-only: plain %.2fx, ellipse+yellowed vignette %.2fx (target >= 0.9x)\n", p/d, e/d }'
echo "# 1920x1080 H.264 at 30 fps, keyframes 2 s apart, in a 1280x720 window (aim: under 150 ms each)"
compared respond "$hd30" 8
echo "# 1920x1080 at 60 fps with sound, 10 s in a 1280x720 window (target: 0 dropped)"
compared realtime "$hd60" 10
echo "# the same at 2.0x for 5 s: the screen shows what it can (60 a second), the rest is dropped, no drift"
compared realtime "$hd60" 5 2.0
echo "# the time-stretch that keeps the pitch at other speeds"
run stretch
