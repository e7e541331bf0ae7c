#!/usr/bin/env bash
# Creates the Wine prefix for the tests once: `wineboot -i`, then no crash dialog (a crashing
# test would otherwise wait on a modal window for ever).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wine-prefix.sh PREFIX}")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
if [ ! -f "$prefix/.vexo-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
  wineboot -i >"$prefix.log" 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$prefix.log" 2>&1 </dev/null
  wineserver -w
  touch "$prefix/.vexo-ready"
fi
