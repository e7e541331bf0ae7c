#!/usr/bin/env bash
# Renders the skins and the transport pictures from their SVG sources into the bitmaps that
# play.exe carries as resources, checks every size, and writes art.rc that lists them; also the
# program's icon (resource 1, in the sizes Explorer and the task bar ask for) and i.gif, the
# delete mark the list pages show, which ships beside play.exe.
#   render.sh OUT_DIR
# Skin n's slot i becomes bitmap 100 x n + 101 + i (24-bit); transport picture but(i) becomes
# bitmap 501 + i (32-bit with alpha, drawn over the control bar's colour); the cover picture
# is bitmap 531.
set -euo pipefail
export LC_ALL=C
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:?usage: render.sh OUT_DIR}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in rsvg-convert convert identify; do
  command -v "$tool" >/dev/null || { echo "render.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

rc="$work/art.rc"
: >"$rc"
failed=0

# render SVG CSS WIDTH HEIGHT ID FORMAT
render() {
  local svg="$1" css="$2" width="$3" height="$4" id="$5" format="$6"
  local png="$work/$id.png" bmp="$out/$id.bmp"
  rsvg-convert --stylesheet "$css" "$svg" -o "$png"
  local size
  size="$(identify -format '%w %h' "$png")"
  if [ "$size" != "$width $height" ]; then
    echo "render.sh: $(basename "$svg") with $(basename "$css") is $size, bitmap $id must be $width x $height" >&2
    failed=1
    return
  fi
  if [ "$format" = opaque ]; then
    convert "$png" -background white -alpha remove -type TrueColor "BMP3:$bmp"
  else
    convert "$png" -type TrueColorAlpha -define bmp:format=bmp4 "BMP:$bmp"
  fi
  printf '%s BITMAP "%s"\n' "$id" "$bmp" >>"$rc"
}

skins=(bamboo ocean plum dream)
header_widths=(358 320 318 330)
slots=(slot00-frame slot01-caption slot02-caption-hover HEADER slot04-banner-toggle slot05-restore slot06-pin
  slot07-header-buttons slot08-header-buttons-player slot09-tabs slot10-tab-bar slot11-grip)
sizes=("80 108" "126 19" "125 19" "HEADER 61" "40 10" "48 19" "84 19" "240 32" "240 32" "228 20" "3 25" "14 83")

for n in 0 1 2 3; do
  skin="${skins[$n]}"
  for i in $(seq 0 11); do
    svg="${slots[$i]}"
    read -r width height <<<"${sizes[$i]}"
    if [ "$svg" = HEADER ]; then
      svg="slot03-header-$skin"
      width="${header_widths[$n]}"
    fi
    render "$here/skins/$svg.svg" "$here/skins/$skin.css" "$width" "$height" $((100 * n + 101 + i)) opaque
  done
done

# but(0) .. but(17): glyph and state of each picture.
transport=(open:normal pause:normal play:normal stop:normal pause:hover play:hover stop:hover sound-on:normal
  muted:normal sound-on:hover muted:hover fullscreen:normal fullscreen:hover open:hover adjust:normal adjust:hover
  shutdown-armed:normal shutdown:normal)
for i in $(seq 0 17); do
  glyph="${transport[$i]%%:*}"
  state="${transport[$i]##*:}"
  if [ "$i" -ge 7 ] && [ "$i" -le 10 ]; then size=(18 15); else size=(26 23); fi
  render "$here/transport/$glyph.svg" "$here/transport/$state.css" "${size[0]}" "${size[1]}" $((501 + i)) alpha
done

# The cover over the picture while nothing plays (adp), the same in every skin.
render "$here/cover/cover.svg" "$here/transport/normal.css" 120 120 531 alpha

# The icon: every size rendered from the one drawing, then packed into one .ico.
icon_sizes=(16 24 32 48 256)
icon_pngs=()
for size in "${icon_sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" "$here/icon/program.svg" -o "$work/icon-$size.png"
  icon_pngs+=("$work/icon-$size.png")
done
convert "${icon_pngs[@]}" "$out/program.ico"
if [ "$(identify -format '%w ' "$out/program.ico")" != "16 24 32 48 256 " ]; then
  echo "render.sh: program.ico does not hold the sizes ${icon_sizes[*]}" >&2
  failed=1
fi
printf '1 ICON "%s"\n' "$out/program.ico" >>"$rc"

rsvg-convert "$here/icon/delete.svg" -o "$work/delete.png"
convert "$work/delete.png" -background white -alpha remove "GIF:$out/i.gif"

[ "$failed" -eq 0 ] || exit 1
mv "$rc" "$out/art.rc"
