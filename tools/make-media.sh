#!/usr/bin/env bash
# Generates the sample videos the tests use (never downloaded). Idempotent.
set -euo pipefail
out=${1:?usage: make-media.sh OUT_DIR}
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
src_v="testsrc2=size=320x240:rate=30"
src_a="sine=frequency=440:sample_rate=44100"
[ -f clip.mp4 ] || ff -f lavfi -i "$src_v:duration=5" -f lavfi -i "$src_a:duration=5" \
  -c:v libx264 -pix_fmt yuv420p -g 30 -c:a aac -b:a 96k -shortest clip.mp4
# What `make run` plays without a display: long enough to be playing at the screenshot.
[ -f demo.mp4 ] || ff -f lavfi -i "testsrc2=size=640x360:rate=30:duration=20" -f lavfi -i "$src_a:duration=20" \
  -c:v libx264 -pix_fmt yuv420p -g 30 -c:a aac -b:a 96k -shortest demo.mp4
[ -f clip.mkv ] || ff -i clip.mp4 -c copy clip.mkv
[ -f clip.avi ] || ff -f lavfi -i "$src_v:duration=5" -f lavfi -i "$src_a:duration=5" \
  -c:v mpeg4 -q:v 4 -c:a libmp3lame -shortest clip.avi
[ -f clip.wmv ] || ff -f lavfi -i "$src_v:duration=5" -f lavfi -i "$src_a:duration=5" \
  -c:v wmv2 -c:a wmav2 -shortest clip.wmv
[ -f noaudio.mp4 ] || ff -f lavfi -i "$src_v:duration=3" -c:v libx264 -pix_fmt yuv420p noaudio.mp4
[ -f audioonly.m4a ] || ff -f lavfi -i "$src_a:duration=3" -c:a aac audioonly.m4a
[ -f truncated.mp4 ] || head -c 20000 clip.mp4 > truncated.mp4
[ -f random.mp4 ] || head -c 65536 /dev/urandom > random.mp4
[ -f empty.mp4 ] || : > empty.mp4
mkdir -p folder.mp4
# ffmpeg's own pictures to compare the engine's with, chroma placed as H.264 sites it (level
# with the even pixels across, midway between rows down) and interpolated between its samples.
sited="scale=flags=bilinear+full_chroma_int+accurate_rnd:in_h_chr_pos=0:in_v_chr_pos=128,format=bgra"
# An odd size whose decoded rows are padded, with ffmpeg's own picture of frame 0.
[ -f odd.mp4 ] || ff -f lavfi -i "testsrc2=size=318x178:rate=25:duration=1" -c:v libx264 -pix_fmt yuv420p odd.mp4
[ -f odd-frame0-sited.bgra ] || ff -i odd.mp4 -frames:v 1 -vf "$sited" -f rawvideo odd-frame0-sited.bgra
# ffmpeg's own pictures 75 and 76 of clip.mp4, for exact-seek checks.
for n in 75 76; do
  [ -f "clip-frame$n-sited.bgra" ] ||
    ff -i clip.mp4 -vf "select=eq(n\\,$n),$sited" -frames:v 1 -f rawvideo "clip-frame$n-sited.bgra"
done
# Index first, then cut: it opens, and its data ends long before its stated duration.
[ -f cut.mp4 ] || { ff -i clip.mp4 -c copy -movflags +faststart cut-full.mp4 && head -c 60000 cut-full.mp4 > cut.mp4 && rm -f cut-full.mp4; }
# Detailed stills (fractal edges, a test card's text and bars, a grid of one-pixel lines) as short
# clips, to see how a picture looks shrunk into the window and enlarged to the screen.
for size in 1920x1080 640x360; do
  [ -f "still-$size.mp4" ] || ff -f lavfi -i "mandelbrot=s=$size:start_scale=0.4:end_scale=0.4:maxiter=200" \
    -f lavfi -i "testsrc2=s=$size" -filter_complex \
    "[0]format=gbrp[a];[1]format=gbrp[b];[a][b]blend=all_mode=average,drawgrid=w=7:h=5:t=1:c=yellow@0.6,format=yuv420p" \
    -t 2 -r 25 -c:v libx264 -crf 12 -tune stillimage "still-$size.mp4"
done
# Two audio tracks, 440 Hz then 880 Hz, each with its language, the second in its own rate and channels.
[ -f twotrack.mp4 ] || ff -f lavfi -i "$src_v:duration=6" -f lavfi -i "$src_a:duration=6" \
  -f lavfi -i "sine=frequency=880:sample_rate=48000:duration=6" -map 0:v -map 1:a -map 2:a \
  -c:v libx264 -pix_fmt yuv420p -g 30 -c:a aac -b:a 96k -ac:a:0 2 -ac:a:1 1 \
  -metadata:s:a:0 language=chi -metadata:s:a:1 language=eng -shortest twotrack.mp4
echo "media ready in $out"
