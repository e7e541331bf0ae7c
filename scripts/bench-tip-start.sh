#!/usr/bin/env bash
# VexoTip.exe's start to its first visible fade step, against a trivial Win32 program,
# under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tip_start_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
bash scripts/wine-prefix.sh "$WINEPREFIX"
xvfb-run -a bash -c 'wineserver -p; bash scripts/wine-run.sh "$0"/bin/tip_start_bench.exe; wineserver -k' "$build"
