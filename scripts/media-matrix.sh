#!/usr/bin/env bash
# The player control on the whole matrix of test vectors (make-media-vectors.sh --full):
# every codec, bit depth, chroma layout, size class, turn, pixel shape, matrix, range and
# sound layout, each compared with ffmpeg's own picture of it. The test command plays the
# representative dozen; this plays all of them. Prints each vector's measured difference.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target media_player_tests media_player >/dev/null
build=$(realpath build/win64)
bash scripts/make-test-clips.sh "$build/clips"
bash scripts/make-media-vectors.sh "$build/vectors-full" --full
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
bash scripts/wine-prefix.sh "$WINEPREFIX"
export HOME=$build/test-home VEXO_TEST_CLIPS=$build/clips VEXO_TEST_VECTORS=$build/vectors-full
mkdir -p "$HOME"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
export build
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >/dev/null 2>&1
  bash scripts/wine-run.sh "$build/bin/media_player_tests.exe" --gtest_filter=MediaVectorTest.*
  status=$?
  wineserver -k
  exit $status'
