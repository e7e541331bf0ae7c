#!/usr/bin/env bash
# The product's own player control on 640x480 and 1280x720 clips (first picture, CPU per second
# of playback, memory; an http clip's first picture; the conversion alone), under Wine on a
# virtual display, beside ffmpeg's decode of the same clips as the yardstick: ffmpeg decoding
# and converting to 32-bit pixels at the clip's own pace (-re), its time to the first decoded
# frame, and its peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target media_player_bench >/dev/null
build=$(realpath build/win64)
bash scripts/make-test-clips.sh "$build/clips" --bench
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
export HOME=$build/test-home VEXO_TEST_CLIPS=$build/clips
mkdir -p "$HOME"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
export build VEXO_SITE_ARGS="--media-folder $build/clips"
echo "== our control (under Wine)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/content-site/with-content-site.sh bash -c '
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >/dev/null 2>&1
  bash scripts/wine-run.sh "$build/bin/media_player_bench.exe"
  wineserver -k'
echo "== ffmpeg (native), the same clips"
export LC_ALL=C
for size in 640x480 1280x720 1920x1080 1920x1080-hevc10 3840x2160; do
  clip=$(ls "$build"/clips/clip-$size.m*)
  # The same work as the control's: the big pictures scaled to the 1280 x 720 they are shown at.
  scale=()
  case "$size" in 1920x1080* | 3840x2160) scale=(-vf scale=1280:720) ;; esac
  read -r wall user system peak < <(/usr/bin/time -f "%e %U %S %M" ffmpeg -nostdin -loglevel error -re -i "$clip" \
    "${scale[@]}" -pix_fmt bgr0 -f null - 2>&1 | tail -n 1)
  cpu=$(echo "($user + $system) * 1000 / $wall" | bc -l)
  first=$( { /usr/bin/time -f "%e" ffmpeg -nostdin -loglevel error -i "$clip" -frames:v 1 -pix_fmt bgr0 -f null - ; } 2>&1 | tail -n 1)
  printf 'ffmpeg %-19s first picture %7.1f ms   CPU %6.1f ms/s   peak resident %6.1f MiB\n' "$size" \
    "$(echo "$first * 1000" | bc -l)" "$cpu" "$(echo "$peak / 1024" | bc -l)"
done
