#!/usr/bin/env bash
# Runs one Windows program under Wine in the test environment: code page 936, no install
# prompts, no crash dialog. Output goes through a file, because Wine's background processes
# inherit the caller's pipes and could keep a reader waiting.
set -u
: "${WINEPREFIX:?set WINEPREFIX to the test prefix (scripts/wine-prefix.sh creates it)}"
export WINEDEBUG=${VEXO_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
