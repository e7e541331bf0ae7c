#!/usr/bin/env bash
# The library's sync of 100 movies of 1 MiB (all new, then no change) under Wine, beside Wine's
# own floors for the same files (plain sockets, then plain sockets writing files) and curl
# fetching them natively, a new connection each as the library makes them, in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tips_sync_bench >/dev/null
build=$(realpath build/win64)
export WINEPREFIX=$build/wineprefix
bash scripts/wine-prefix.sh "$WINEPREFIX"
wineserver -p; trap 'wineserver -k' EXIT
bash tools/content-site/with-content-site.sh bash -c '
  bash scripts/wine-run.sh '"$build"'/bin/tips_sync_bench.exe
  urls=(); for i in $(seq 0 99); do urls+=(-o /dev/null "http://127.0.0.1:$VEXO_SITE_PORT/bench/m$i.swf"); done
  start=$(date +%s.%N); curl -s -H "Connection: close" "${urls[@]}"; end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" "BEGIN { printf \"curl:      %.3f s  (%.1f MiB/s)\n\", e - s, 100 / (e - s) }"'
