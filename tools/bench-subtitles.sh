#!/usr/bin/env bash
# Subtitle benchmarks: parsing a 5,000-cue file, drawing the text per picture, and
# 10 s of 1080p60 playback with a cue changing every second (drop count), at 1.0x and at 2.0x.
. "$(dirname "$0")/common.sh"
exe="$build/bench/subtitles/bench_subtitles.exe"
need_built "$exe"
if [ -z "${DISPLAY:-}" ]; then exec "$tools/with-display.sh" "$0" "$build"; fi
"$tools/wine-run" "$exe"

media="$build/media-bench"
"$tools/make-media.sh" "$media" hd60.mp4 hd60.srt >/dev/null || exit 1
realtime() { "$tools/wine-run" "$build/bench/avcore/bench_avcore.exe" realtime "$(win "$media/hd60.mp4")" "$@"; }
echo "# 1920x1080 at 60 fps with sound and subtitles, 10 s in a 1280x720 window (target: 0 dropped)"
realtime 10 1.0 "$(win "$media/hd60.srt")"
# Twice the pictures a second: those the screen cannot show are dropped (the count says
# how many), and the clock must not drift.
echo "# the same at 2.0x, 5 s of wall time over the 10 s of media"
realtime 5 2.0 "$(win "$media/hd60.srt")"
