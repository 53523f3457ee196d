#!/usr/bin/env bash
# Subtitle benchmarks: parsing a 5,000-cue file, drawing the text per picture, and
# 10 s of 1080p60 playback with a cue changing every second (drop count), at 1.0x and at 2.0x.
set -u
build=$(cd "${1:?usage: bench-subtitles.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe="$build/bench/subtitles/bench_subtitles.exe"
[ -f "$exe" ] || { echo "bench-subtitles: $exe is not built" >&2; exit 1; }
export MORVANE_BUILD="$build"
if [ -z "${DISPLAY:-}" ]; then exec "$here/with-display.sh" "$0" "$build"; fi
"$here/wine-run" "$exe"

media="$build/media-bench"
mkdir -p "$media"
[ -f "$media/hd60.mp4" ] || ffmpeg -nostdin -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc2=size=1920x1080:rate=60:duration=12" -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=12" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 120 -c:a aac -shortest "$media/hd60.mp4"
awk 'BEGIN { for (i = 0; i < 12; i++) printf "%d\n00:00:%02d,000 --> 00:00:%02d,800\n字幕第 %d 句, a line of text\n\n", i + 1, i, i, i }' \
  > "$media/hd60.srt"
win() { "$here/wine-run" --path "$1"; }
echo "# 1920x1080 at 60 fps with sound and subtitles, 10 s in a 1280x720 window (target: 0 dropped)"
"$here/wine-run" "$build/bench/avcore/bench_avcore.exe" realtime "$(win "$media/hd60.mp4")" 10 1.0 "$(win "$media/hd60.srt")"
# Twice the pictures a second: those the screen cannot show are dropped (the count says
# how many), and the clock must not drift.
echo "# the same at 2.0x, 5 s of wall time over the 10 s of media"
"$here/wine-run" "$build/bench/avcore/bench_avcore.exe" realtime "$(win "$media/hd60.mp4")" 5 2.0 "$(win "$media/hd60.srt")"
