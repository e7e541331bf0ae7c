#!/usr/bin/env bash
# Makes three episodes for the content site's catalogue from ffmpeg's own moving test sources
# (each episode a different picture, with a tone), as MP4 with the index in front so that they
# play while they are fetched:
#   make-episode-clips.sh FOLDER SECONDS WIDTHxHEIGHT
# Does nothing when the folder already holds the same episodes.
set -euo pipefail
out=$(realpath -m "${1:?usage: make-episode-clips.sh FOLDER SECONDS SIZE}")
seconds=${2:?seconds}
size=${3:?size}
stamp="$(sha1sum "$0" | cut -c1-12)-$seconds-$size"
[ -f "$out/.episodes-$stamp" ] && exit 0
command -v ffmpeg >/dev/null || { echo "make-episode-clips: ffmpeg is missing (scripts/setup.sh installs it)"; exit 1; }
mkdir -p "$out"
rm -f "$out"/.episodes-* "$out"/episode-*.mp4
export LC_ALL=C
n=1
for source in testsrc testsrc2 mandelbrot; do
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$source=size=$size:rate=25" \
    -f lavfi -i "sine=frequency=$((330 + 110 * n)):sample_rate=44100" -t "$seconds" \
    -c:v libx264 -pix_fmt yuv420p -preset veryfast -g 50 -c:a aac -movflags +faststart "$out/episode-$n.mp4"
  n=$((n + 1))
done
touch "$out/.episodes-$stamp"
