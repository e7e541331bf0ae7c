#!/usr/bin/env bash
# Runs the installer tests in a Wine prefix of their own, fresh for every run: a copy of a
# pristine prefix made once per build folder, so nothing an earlier run installed is left.
# Setup registers the product's own player control, on which the installed play.exe starts
# (the maker's control is not there), and the content site serves the built setup program as
# its upgrade.
#   installer-tests.sh BUILD_DIR TEST_PROGRAM [ARGS...]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
shift
bash "$root/scripts/fresh-prefix.sh" "$build" install-prefix || { echo "could not create the Wine prefix"; exit 1; }
export WINEPREFIX=$build/install-prefix WINEDEBUG=${VEXO_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
trap 'wineserver -k >/dev/null 2>&1' EXIT
export VEXO_TEST_CLIPS=$build/clips
export VEXO_SITE_ARGS="--catalogue --setup-file $build/setup/vexo-setup.exe"
bash "$root/tools/content-site/with-content-site.sh" bash "$root/scripts/wine-run.sh" "$@" || exit 1

# A photograph of the setup program's first page, kept in artifacts/ and checked for a window.
artifacts=$build/artifacts
mkdir -p "$artifacts"
wine "$build/setup/vexo-setup.exe" >/dev/null 2>&1 </dev/null &
setup=$!
sleep 5
import -window root "$artifacts/setup-screen.png"
kill $setup 2>/dev/null
wineserver -k >/dev/null 2>&1
convert "$artifacts/setup-screen.png" -trim +repage "$artifacts/setup.png"
read -r width height < <(LC_ALL=C identify -format '%w %h\n' "$artifacts/setup.png")
if [ "$width" -lt 400 ] || [ "$height" -lt 250 ]; then
  echo "the setup program's window did not show (the screen holds $width x $height of it)"
  exit 1
fi
echo "setup window photographed: $artifacts/setup.png ($width x $height)"
