#!/usr/bin/env bash
# Runs the Windows tests of a build folder under Wine on a virtual display. One wineserver
# stays up for the whole run (a cold start costs about a second per test program) and is
# ended at the end, whatever the outcome.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?usage: run-windows-tests.sh BUILD_DIR [ctest args]}")
shift
export WINEPREFIX=$build/wineprefix WINEDEBUG=${VEXO_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8

bash "$here/wine-prefix.sh" "$WINEPREFIX" || { echo "could not create the Wine prefix"; exit 1; }
bash "$here/make-test-clips.sh" "$build/clips" || { echo "could not make the test clips"; exit 1; }
export VEXO_TEST_CLIPS=$build/clips
# Sound goes to a null ALSA device, set up under a home folder of the tests' own so that
# nothing else on the machine changes. It plays faster than real time: no test takes its
# pace for the clock.
export HOME=$build/test-home
mkdir -p "$HOME"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"

run() {
  wineserver -p >/dev/null 2>&1 </dev/null
  trap 'wineserver -k >/dev/null 2>&1' EXIT
  # The stand-in player control, under the class id the program creates (HKEY_CLASSES_ROOT).
  if [ -f "$build/bin/player_standin.dll" ]; then
    wine regsvr32 /s "$(winepath -w "$build/bin/player_standin.dll")" >/dev/null 2>&1 </dev/null ||
      { echo "could not register the stand-in player"; return 1; }
  fi
  # The product's own player control, under its own class id.
  if [ -f "$build/bin/VexoMedia.dll" ]; then
    wine regsvr32 /s "$(winepath -w "$build/bin/VexoMedia.dll")" >/dev/null 2>&1 </dev/null ||
      { echo "could not register the player control"; return 1; }
  fi
  ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
}

if [ -n "${VEXO_IN_XVFB:-}" ]; then
  run "$@"
else
  # xvfb-run gives each run its own display and tears it down afterwards.
  VEXO_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$@"
fi
