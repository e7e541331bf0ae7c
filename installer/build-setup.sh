#!/usr/bin/env bash
# Makes the setup program from a build's shipped files: copies them to a staging folder, strips
# their debugging information, and runs makensis on vexo.nsi.
#   build-setup.sh ARCH BIN_DIR ICON STRIP OUT_FILE MEDIA_LIBS    (ARCH: x86 or amd64)
# MEDIA_LIBS is the folder of the player control's decoding libraries (their licences ship
# too); the libraries themselves lie beside VexoMedia.dll in BIN_DIR.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
arch=$1 bin=$2 icon=$3 strip=$4 out=$5 media_libs=$6
stage="$(dirname "$out")/stage"
rm -rf "$stage"
mkdir -p "$stage/skin"
for file in play.exe VexoTip.exe VexoTips.dll VexoMedia.dll i.gif PopMessage.xml; do
  cp "$bin/$file" "$stage/$file"
done
cp "$bin"/skin/*.bmp "$stage/skin/"
# The decoding libraries beside the control, and their licences: listed for the script by
# name, so that the uninstaller removes exactly what setup put there.
mkdir -p "$stage/libs" "$stage/licenses"
: >"$stage/media-files.nsh"
: >"$stage/media-deletes.nsh"
for dll in "$bin"/avcodec-*.dll "$bin"/avformat-*.dll "$bin"/avutil-*.dll "$bin"/swscale-*.dll \
  "$bin"/swresample-*.dll "$bin"/avfilter-*.dll "$bin"/libdav1d.dll; do
  [ -f "$dll" ] || { echo "setup: $dll is missing"; exit 1; }
  name=$(basename "$dll")
  cp "$dll" "$stage/libs/$name"
  "$strip" --strip-debug "$stage/libs/$name"
  printf 'File "%s"\n' "$stage/libs/$name" >>"$stage/media-files.nsh"
  printf 'Delete "$INSTDIR\\%s"\n' "$name" >>"$stage/media-deletes.nsh"
done
for licence in "$media_libs"/share/licenses/*.txt; do
  name=$(basename "$licence")
  cp "$licence" "$stage/licenses/$name"
  printf 'File "/oname=licenses\\%s" "%s"\n' "$name" "$stage/licenses/$name" >>"$stage/media-files.nsh"
  printf 'Delete "$INSTDIR\\licenses\\%s"\n' "$name" >>"$stage/media-deletes.nsh"
done
"$strip" --strip-debug "$stage/play.exe" "$stage/VexoTip.exe" "$stage/VexoTips.dll" "$stage/VexoMedia.dll"
# The side picture of the first and last pages: 164 x 314, as the wizard shows it.
rsvg-convert "$here/welcome.svg" -o "$stage/welcome.png"
convert "$stage/welcome.png" -background white -alpha remove -type TrueColor "BMP3:$stage/welcome.bmp"
version=$(sed -n 's/^#define VEXO_VERSION_TEXT "\(.*\)"/\1/p' "$here/../common/version.h")
makensis -V2 -DARCH="$arch" -DBIN_DIR="$stage" -DMEDIA_FILES="$stage/media-files.nsh" -DMEDIA_DELETES="$stage/media-deletes.nsh" -DICON="$icon" -DWELCOME="$stage/welcome.bmp" -DVERSION="$version" -DOUT_FILE="$out" "$here/vexo.nsi"
echo "setup: $out ($(stat -c %s "$out") bytes, $arch)"
