#!/usr/bin/env bash
# Makes the setup program from a build's shipped files: copies them to a staging folder, strips
# their debugging information, and runs makensis on vexo.nsi.
#   build-setup.sh ARCH BIN_DIR ICON STRIP OUT_FILE     (ARCH: x86 or amd64)
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
arch=$1 bin=$2 icon=$3 strip=$4 out=$5
stage="$(dirname "$out")/stage"
rm -rf "$stage"
mkdir -p "$stage/skin"
for file in play.exe VexoTip.exe VexoTips.dll VexoMedia.dll i.gif PopMessage.xml; do
  cp "$bin/$file" "$stage/$file"
done
cp "$bin"/skin/*.bmp "$stage/skin/"
"$strip" --strip-debug "$stage/play.exe" "$stage/VexoTip.exe" "$stage/VexoTips.dll" "$stage/VexoMedia.dll"
# The side picture of the first and last pages: 164 x 314, as the wizard shows it.
rsvg-convert "$here/welcome.svg" -o "$stage/welcome.png"
convert "$stage/welcome.png" -background white -alpha remove -type TrueColor "BMP3:$stage/welcome.bmp"
version=$(sed -n 's/^#define VEXO_VERSION_TEXT "\(.*\)"/\1/p' "$here/../common/version.h")
makensis -V2 -DARCH="$arch" -DBIN_DIR="$stage" -DICON="$icon" -DWELCOME="$stage/welcome.bmp" -DVERSION="$version" -DOUT_FILE="$out" "$here/vexo.nsi"
echo "setup: $out ($(stat -c %s "$out") bytes, $arch)"
