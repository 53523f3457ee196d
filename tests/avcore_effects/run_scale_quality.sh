#!/usr/bin/env bash
# Makes two detailed stills afresh (grey, and colour as planes G, B, R) at 1920x1080 and
# 640x360, and ffmpeg's resizes of them to the window's sizes, then runs the scaler's
# quality test on them under Wine.
# Usage: run_scale_quality.sh BUILD_DIR TEST_EXE [gtest arguments]
set -u
build=$(cd "${1:?usage: run_scale_quality.sh BUILD_DIR TEST_EXE}" && pwd)
exe=${2:?usage: run_scale_quality.sh BUILD_DIR TEST_EXE}
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
stills="$build/tests/avcore_effects/stills"
rm -rf "$stills"
mkdir -p "$stills"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@" || exit 1; }

# Fractal edges, a test card's bars, text and moving shapes, and a grid of one-pixel lines.
for size in 1920x1080 640x360; do
  ff -f lavfi -i "mandelbrot=s=$size:start_scale=0.4:end_scale=0.4:maxiter=200" -f lavfi -i "testsrc2=s=$size" \
    -filter_complex "[0]format=gbrp[a];[1]format=gbrp[b];[a][b]blend=all_mode=average,drawgrid=w=7:h=5:t=1:c=white@0.7,format=gray" \
    -frames:v 1 -f rawvideo "$stills/grey-$size.raw"
  ff -f lavfi -i "testsrc2=s=$size" -vf "drawgrid=w=9:h=6:t=1:c=yellow@0.6,format=gbrp" \
    -frames:v 1 -f rawvideo "$stills/colour-$size.raw"
done
# Each plane resized alone, as grey frames: no colour conversion stands between the two sides.
resize() {  # still, its size, target size, scaler
  ff -f rawvideo -pix_fmt gray -s "$2" -i "$stills/$1-$2.raw" -vf "scale=${3/x/:}:flags=$4+accurate_rnd" \
    -f rawvideo -pix_fmt gray "$stills/$1-$2-$3-$4.raw"
}
for still in grey colour; do
  resize "$still" 1920x1080 625x352 area
  resize "$still" 640x360 1280x720 bicubic
done

export MORVANE_BUILD="$build" MORVANE_STILLS="$stills"
"$here/../../tools/wine-run" "$exe" --gtest_color=no "$@" </dev/null
