#!/usr/bin/env bash
# Generates the sample photos and music from ffmpeg's test sources (nothing binary is committed).
# Idempotent: files already made are kept.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/media"
mkdir -p "$out"

photo() {  # name source size
  local file="$out/$1"
  [ -s "$file" ] && return 0
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$2=size=$3" -frames:v 1 -q:v 3 "$file.tmp.jpg"
  mv "$file.tmp.jpg" "$file"
}

photo "beach_landscape.jpg" "testsrc2" "1024x768"
photo "tower_portrait.jpg" "testsrc" "720x1080"
photo "valley_large.jpg" "mandelbrot" "2400x1600"
photo "bars_small.jpg" "smptehdbars" "640x480"
photo "wide_panorama.jpg" "rgbtestsrc" "1920x1080"

music="$out/music.mp3"
if [ ! -s "$music" ]; then
  # A soft chord that changes every few seconds, 24 seconds long.
  ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "aevalsrc=0.2*sin(2*PI*(220+55*floor(t/4))*t)+0.15*sin(2*PI*330*t):s=44100:d=24" \
    -ac 2 -b:a 128k "$out/music.tmp.mp3"
  mv "$out/music.tmp.mp3" "$music"
fi

clip="$out/clip.mp4"
if [ ! -s "$clip" ]; then
  # A 6 second clip with sound: a moving test picture and a steady tone.
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=6" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=6" \
    -c:v libx264 -pix_fmt yuv420p -c:a aac -b:a 96k -shortest "$out/clip.tmp.mp4"
  mv "$out/clip.tmp.mp4" "$clip"
fi
