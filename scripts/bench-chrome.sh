#!/usr/bin/env bash
# The cost of play.exe's skinned frame: full repaints at 904 x 565 and 1920 x 1080 and a live
# border drag of 20 steps (driven by the benchmark, then with the mouse), under Wine on a
# virtual display large enough for the big window, with the content site on loopback and the
# stand-in player; the same drags of a window that only fills itself are the floors. Arguments name other builds' play.exe (Linux paths) to
# measure after this build's.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target chrome_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
# Other builds' play.exe (Linux paths) to measure after this one.
others=()
for exe in "$@"; do others+=("$(realpath "$exe")"); done
export build VEXO_SITE_ARGS="--catalogue"
xvfb-run -a -s "-screen 0 1920x1200x24" bash tools/content-site/with-content-site.sh bash -c '
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/player_standin.dll")" >/dev/null 2>&1
  windows=()
  for exe in "$@"; do windows+=("$(winepath -w "$exe")"); done
  bash scripts/wine-run.sh "$build/bin/chrome_bench.exe" "${windows[@]}"
  wineserver -k' bench "${others[@]}"
