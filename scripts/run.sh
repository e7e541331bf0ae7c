#!/usr/bin/env bash
# The demo: builds the programs, registers the stand-in player in the Wine prefix, starts the
# content site with its catalogue, and starts play.exe against it in build/win64/run (its
# config.ini and lists stay there between runs). A driver clicks a series in the catalogue,
# so it plays and moves on to its next episode on its own.
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
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
mkdir -p "$build/run" "$build/artifacts/demo"
cp "$build/bin/play.exe" "$build/bin/i.gif" "$build/run/"
export build
# The site offers the release's setup program as the upgrade download.
export VEXO_SITE_ARGS="--catalogue --episode-seconds ${VEXO_DEMO_EPISODE_SECONDS:-20} --download-seconds 6
  --setup-file $(realpath build/win32/setup/vexo-setup.exe)"

demo() {
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/player_standin.dll")" >/dev/null 2>&1
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
    wineserver -k
  else
    wine play.exe
    wineserver -k
  fi
}
export -f demo
exec bash tools/content-site/with-content-site.sh bash -c demo
