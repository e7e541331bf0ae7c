#!/usr/bin/env bash
# What a user waits for when starting play.exe (window shown, catalogue listed, first playing
# tick after a click) against a trivial GUI program's start to first paint, and play.exe's
# private memory; under Wine on a virtual display, with the content site on loopback and the
# stand-in player, in the same environment as the Windows tests. Arguments name other builds'
# play.exe (Linux paths), started in turn with this build's in every run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target play_start_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
# Other builds' play.exe (Linux paths) to measure beside this one, as Windows paths.
others=()
for exe in "$@"; do others+=("$(realpath "$exe")"); done
export build VEXO_SITE_ARGS="--catalogue --start-ms 0"
xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/content-site/with-content-site.sh bash -c '
  wineserver -p
  standin=$(winepath -w "$build/bin/player_standin.dll")
  wine regsvr32 /s "$standin" >/dev/null 2>&1
  windows=()
  for exe in "$@"; do windows+=("$(winepath -w "$exe")"); done
  bash scripts/wine-run.sh "$build/bin/play_start_bench.exe" "${windows[@]}"
  # Then as users start it: the maker'"'"'s control is not there, our own one is.
  wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >/dev/null 2>&1
  wine regsvr32 /u /s "$standin" >/dev/null 2>&1
  bash scripts/wine-run.sh "$build/bin/play_start_bench.exe" --own-player "${windows[@]}"
  wine regsvr32 /s "$standin" >/dev/null 2>&1
  wineserver -k' bench "${others[@]}"
