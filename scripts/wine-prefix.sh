#!/usr/bin/env bash
# Creates the Wine prefix for the tests once: `wineboot -i`, then no crash dialog (a crashing
# test would otherwise wait on a modal window for ever), and windows dragged with their
# contents shown, as Windows shows them (Wine's default is an outline). A first start of Wine
# now and then fails to load its own kernel32 on a busy machine; the prefix is then made again
# from scratch.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wine-prefix.sh PREFIX}")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
[ -f "$prefix/.vexo-ready" ] && exit 0
: >"$prefix.log"
for attempt in 1 2 3; do
  rm -rf "$prefix"
  mkdir -p "$prefix"
  if wineboot -i >>"$prefix.log" 2>&1 </dev/null &&
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$prefix.log" 2>&1 </dev/null &&
    wine reg add 'HKCU\Control Panel\Desktop' /v DragFullWindows /t REG_SZ /d 1 /f >>"$prefix.log" 2>&1 </dev/null &&
    wineserver -w && [ -f "$prefix/drive_c/windows/system32/kernel32.dll" ]; then
    touch "$prefix/.vexo-ready"
    exit 0
  fi
  echo "wine-prefix: attempt $attempt to make $prefix failed" >>"$prefix.log"
  wineserver -k >/dev/null 2>&1 || true
  sleep 2
done
cat "$prefix.log" >&2
exit 1
