#!/usr/bin/env bash
# Builds the Windows programs (x86_64 to run here under Wine, i686 for release) and lists
# what was built. The programs themselves join this script as they come to exist.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" >/dev/null
done
echo "Built:"
find build/win64 build/win32 \( -name '*.exe' -o -name '*.dll' -o -name '*.a' \) \
  -not -path '*/CMakeFiles/*' -not -path '*/googletest/*' -not -path '*/wineprefix/*' | sort | sed 's/^/  /'
