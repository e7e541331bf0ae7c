#!/usr/bin/env bash
# Shows a text tip on the test display, photographs it, checks that the picture holds the
# card (its blue header where the skin puts it), and keeps the picture as an artefact:
# BUILD/artifacts/tip-text.png. Runs inside the Windows test run (DISPLAY and WINEPREFIX set).
set -euo pipefail
build=$(realpath "${1:?usage: screenshot-tip.sh BUILD_DIR}")
here=$(cd "$(dirname "$0")" && pwd)
out=$build/artifacts
run=$out/tip-run
rm -rf "$run"
mkdir -p "$run"
cp -r "$build/bin/VexoTip.exe" "$build/bin/PopMessage.xml" "$build/bin/skin" "$run/"
cat > "$run/VexoTips.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<vexotips enable="1" updatetime="2026-12-07">
<tip id="7" tiptype="1" ver="1" sticktime="3" mtitle="新片上线：《星河彼岸》"
     mcontent="本周独家首播，高清无广告。点击查看详情，立即观看第一集，还有更多精彩剧集等你发现！"
     clickurl="http://example.invalid/"/>
</vexotips>
XML
cd "$run"
VEXOTIP_PERIOD_MS=700 bash "$here/wine-run.sh" VexoTip.exe 7 >"$run/tip.log" 2>&1 &
tip=$!
sleep 2.5
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
import -window root "$out/screen.png"
# The tip sits 4 pixels in from the bottom right corner; keep a little of the desktop around it.
convert "$out/screen.png" -crop "264x191+$((width - 264))+$((height - 191))" +repage "$out/tip-text.png"
wait $tip
rc=$?
header=$(convert "$out/tip-text.png" -format '%[fx:int(255*p{60,14}.r)],%[fx:int(255*p{60,14}.g)],%[fx:int(255*p{60,14}.b)]' info:)
body=$(convert "$out/tip-text.png" -format '%[fx:int(255*p{200,120}.r)]' info:)
echo "screenshot-tip: exit code $rc, header pixel $header, body red $body -> $out/tip-text.png"
IFS=, read -r r g b <<<"$header"
[ "$rc" -eq 0 ] && [ "$b" -gt 180 ] && [ "$r" -lt 90 ] && [ "$body" -gt 230 ]
