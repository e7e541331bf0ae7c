#!/usr/bin/env bash
# Runs play.exe's tests on the product's own player control: in a fresh Wine prefix where only
# that control is registered (the maker's control is absent, as on a machine without it), with
# the content site playing real clips from the build's clip folder.
#   own-player-tests.sh BUILD_DIR TEST_PROGRAM [ARGS...]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
shift
bash "$root/scripts/fresh-prefix.sh" "$build" own-player-prefix || { echo "could not create the Wine prefix"; exit 1; }
export WINEPREFIX=$build/own-player-prefix WINEDEBUG=${VEXO_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
trap 'wineserver -k >/dev/null 2>&1' EXIT
# The prefix's first start may still be settling when a loaded machine runs this: one more try
# once its server is idle, and what Wine said if that fails too.
register() { wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >"$build/own-player-register.log" 2>&1 </dev/null; }
register || { wineserver -w; register; } ||
  { echo "could not register the player control"; cat "$build/own-player-register.log"; exit 1; }
export VEXO_SITE_ARGS="--catalogue --media-folder $build/clips"
bash "$root/tools/content-site/with-content-site.sh" bash "$root/scripts/wine-run.sh" "$@"
