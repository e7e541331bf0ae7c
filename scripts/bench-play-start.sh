#!/usr/bin/env bash
# play.exe's start to its window shown and idle, against a trivial Win32 program, and its
# private memory once idle; under Wine on a virtual display with the stand-in player.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target play_start_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
bash scripts/wine-prefix.sh "$WINEPREFIX"
xvfb-run -a bash -c '
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$0/bin/player_standin.dll")" >/dev/null 2>&1
  bash scripts/wine-run.sh "$0"/bin/play_start_bench.exe
  wineserver -k' "$build"
