#!/usr/bin/env bash
# Engine benchmarks on 1080p clips of the manifest (made once, kept in BUILD/media-bench):
# decode-only vs decode+convert+effect throughput, how long open and seek keep a user waiting
# for the picture, and 10 s of real-time 1080p60 playback with where each picture's time goes (and 5 s
# of it at 2.0x), and the time-stretch's CPU.
# A second argument, the bench_avcore.exe of an earlier build, compares the two: the open and
# seek run and the real-time run then alternate between it and this build three times, so
# both meet the same load.
. "$(dirname "$0")/common.sh"
baseline=${1:+$(cd "$(dirname "$1")" && pwd)/$(basename "$1")}
exe="$build/bench/avcore/bench_avcore.exe"
need_built "$exe"
media="$build/media-bench"
"$tools/make-media.sh" "$media" hd30.mp4 hd60.mp4 >/dev/null || exit 1

run() { "$tools/wine-run" "$exe" "$@"; }
if [ -z "${DISPLAY:-}" ]; then exec "$tools/with-display.sh" "$0" "$build" ${baseline:+"$baseline"}; fi
compared() {
  if [ -z "$baseline" ]; then run "$@"; return; fi
  for round in 1 2 3; do
    echo "## baseline, round $round"; "$tools/wine-run" "$baseline" "$@"
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
