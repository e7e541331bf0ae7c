#!/usr/bin/env bash
# The demo: builds the programs, registers the product's own player control in a Wine prefix
# of the demo's own (the maker's control is not there, as on a machine without it), makes
# three episodes from ffmpeg's test pictures, starts the content site with its catalogue
# playing them, and starts play.exe against it in build/win64/run (its config.ini and lists
# stay there between runs). A driver clicks a series in the catalogue, so it plays real
# pictures and moves on to its next episode on its own.
# With a display, play.exe runs on it until closed. Without one it runs on a virtual display,
# and screenshots of the catalogue, an item playing and the next episode starting are saved
# in build/win64/artifacts/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
  VEXO_HEADLESS=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
bash scripts/setup.sh
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" >/dev/null
done
build=$(realpath build/win64)
bash scripts/fresh-prefix.sh "$build" demo-prefix
export WINEPREFIX=$build/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
if [ -n "${VEXO_HEADLESS:-}" ]; then
  # No sound card on a virtual display: the sound goes to a null device, under a home of the
  # demo's own so that nothing else on the machine changes.
  export HOME=$build/demo-home
  mkdir -p "$HOME"
  printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
fi
seconds=${VEXO_DEMO_EPISODE_SECONDS:-20}
bash scripts/make-episode-clips.sh "$build/demo-media" "$seconds" 640x360
# Fetched at three times their own rate, so that the download bar is seen filling.
rate=$(( $(stat -c %s "$build/demo-media/episode-1.mp4") * 3 / seconds / 1024 + 16 ))
mkdir -p "$build/run" "$build/artifacts/demo"
cp "$build/bin/play.exe" "$build/bin/i.gif" "$build/run/"
export build
# The site offers the release's setup program as the upgrade download.
export VEXO_SITE_ARGS="--catalogue --media-folder $build/demo-media --media-rate $rate
  --setup-file $(realpath build/win32/setup/vexo-setup.exe)"

demo() {
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >/dev/null 2>&1
  export PLAY_CONTENT_BASE="http://127.0.0.1:$VEXO_SITE_PORT/soft/"
  cd "$build/run"
  wine "$build/bin/demo_driver.exe" 1 >/dev/null 2>&1 &
  if [ -n "${VEXO_HEADLESS:-}" ]; then
    wine play.exe >"$build/run/play.log" 2>&1 &
    shots=$build/artifacts/demo
    sleep 4;  import -window root "$shots/1-catalogue.png"
    sleep 12; import -window root "$shots/2-playing.png"
    sleep 22; import -window root "$shots/3-next-episode.png"
    echo "screenshots: $shots"
    wine "$build/bin/demo_driver.exe" close >/dev/null 2>&1 || echo "play.exe did not close"
    wineserver -k
  else
    wine play.exe
    wineserver -k
  fi
}
export -f demo
exec bash tools/content-site/with-content-site.sh bash -c demo
