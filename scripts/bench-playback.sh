#!/usr/bin/env bash
# The CPU time of a Timer1 tick while playing, and the window's responsiveness over 20 resolves
# while the site takes a second to answer h.asp; under Wine with the stand-in player and the content site.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target playback_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
export build VEXO_SITE_ARGS="--catalogue --answer-delay 1"
xvfb-run -a bash tools/content-site/with-content-site.sh bash -c '
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/player_standin.dll")" >/dev/null 2>&1
  bash scripts/wine-run.sh "$build/bin/playback_bench.exe"
  wineserver -k'
