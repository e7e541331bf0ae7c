#!/usr/bin/env bash
# Makes the player's test clips from ffmpeg's own test sources (a test picture with a frame
# counter and a sine tone), in the formats the player is meant to play, plus reference frames
# and damaged files. Nothing is downloaded. Does nothing when the folder is already made by
# this version of the script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath -m "${1:?usage: make-test-clips.sh FOLDER}")
stamp=$(cat "$0" "$here/make-episode-clips.sh" "$here/make-media-vectors.sh" | sha1sum | cut -c1-12)
[ "${2:-}" = "--bench" ] && stamp=$stamp-bench
[ -f "$out/.made-$stamp" ] && exit 0
command -v ffmpeg >/dev/null || { echo "make-test-clips: ffmpeg is missing (scripts/setup.sh installs it)"; exit 1; }
rm -rf "$out"
mkdir -p "$out"
cd "$out"
export LC_ALL=C

seconds=6
picture() { echo "testsrc=size=$1:rate=25"; }
tone="sine=frequency=440:sample_rate=44100"
make() {  # NAME SIZE ENCODER-ARGS...
  local name=$1 size=$2
  shift 2
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$(picture "$size")" -f lavfi -i "$tone" -t "$seconds" "$@" "$name"
}

make clip.mp4 320x240 -c:v libx264 -pix_fmt yuv420p -profile:v baseline -g 25 -c:a aac -movflags +faststart
make clip.webm 320x240 -c:v libvpx -b:v 600k -g 25 -c:a libvorbis
make clip.mpg 320x240 -c:v mpeg2video -q:v 3 -c:a mp2 -f vob
make clip.wmv 320x240 -c:v wmv2 -q:v 3 -c:a wmav2
make clip.mkv 320x240 -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac
make clip.avi 320x240 -c:v mpeg4 -q:v 3 -c:a libmp3lame
# A clip of a higher rate (about 220 KB), to fetch over seconds while it plays.
make clip-web.mp4 320x240 -c:v libx264 -pix_fmt yuv420p -b:v 1400k -g 25 -c:a aac -movflags +faststart
# The index at the end: nothing plays before the whole file is there.
make clip-index-last.mp4 320x240 -c:v libx264 -pix_fmt yuv420p -profile:v baseline -g 25 -c:a aac
# Larger pictures, for the benchmarks only (make-test-clips.sh FOLDER --bench).
if [ "${2:-}" = "--bench" ]; then
  make clip-640x480.mp4 640x480 -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac -movflags +faststart
  make clip-1280x720.mp4 1280x720 -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac -movflags +faststart
  make clip-1920x1080.mp4 1920x1080 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 -c:a aac -movflags +faststart
  make clip-1920x1080-hevc10.mkv 1920x1080 -c:v libx265 -preset ultrafast -x265-params log-level=error \
    -pix_fmt yuv420p10le -c:a aac
  make clip-3840x2160.mp4 3840x2160 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 -c:a aac -movflags +faststart
fi

# The picture at 2.0 s and at 2.4 s, as ffmpeg decodes them, in 32-bit BGRX rows.
for at in 2.0 2.4; do
  ffmpeg -nostdin -loglevel error -y -i clip.mp4 -ss "$at" -frames:v 1 -f rawvideo -pix_fmt bgr0 "frame-$at.bgrx"
done

# Damaged input: an item cut off after 40%, and a reply that is no media at all.
size=$(stat -c %s clip.mp4)
head -c $((size * 4 / 10)) clip.mp4 >truncated.mp4
printf '<html><body>Not found</body></html>\n' >not-media.mp4

# A film of one flat colour with subtitle files beside it, in the encodings people's files
# have, written by iconv: GBK and Big5 SubRip, and ASS in UTF-16 with its BOM.
mkdir -p subtitles
ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x305070:size=320x240:rate=25" -f lavfi -i "$tone" \
  -t "$seconds" -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac subtitles/Film.mp4
srt() {  # FIRST SECOND: two cues, at 0.3-2.6 s and 3.0-5.8 s
  printf '1\r\n00:00:00,300 --> 00:00:02,600\r\n%s\r\n\r\n2\r\n00:00:03,000 --> 00:00:05,800\r\n%s\r\n' "$1" "$2"
}
srt "我们现在就去" "你在这里等我" | iconv -f UTF-8 -t GBK >subtitles/Film.chs.srt
srt "我們現在就去" "你在這裡等我" | iconv -f UTF-8 -t BIG5 >subtitles/Film.cht.srt
{
  printf '\xFF\xFE'
  printf '%s\n' "[Script Info]" "ScriptType: v4.00+" "PlayResY: 288" "" "[V4+ Styles]" \
    "Format: Name, Fontname, Fontsize, PrimaryColour, Bold, Italic, Alignment" \
    "Style: Default,Arial,16,&H00FFFFFF,0,0,2" "" "[Events]" \
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text" \
    'Dialogue: 0,0:00:00.30,0:00:05.80,Default,,0,0,0,,{\an8}{\i1}字幕在上面{\i0}\N第二行' |
    iconv -f UTF-8 -t UTF-16LE
} >subtitles/Film.zh.ass

# The same film on the web, with a WebVTT file beside it on the server (the other extensions
# tried first answer 404).
cp subtitles/Film.mp4 web-subtitled.mp4
printf 'WEBVTT\n\n00:00.300 --> 00:02.600\n网上的字幕\n\n00:03.000 --> 00:05.800\n<i>第二句</i>\n' >web-subtitled.vtt

# A film with two sound tracks of different tones (国语 at 440 Hz, 粤语 at 880 Hz) and two
# text subtitle tracks inside, as Matroska (SubRip and ASS, and a third of pictures, PGS as
# disc rips carry it) and as MP4 (mov_text).
mkdir -p tracks
srt "Track one speaks" "Track one again" >tracks/one.srt
srt "第二条字幕" "第二条字幕又来了" >tracks/two.srt
# One PGS display set (a 16 x 16 square at 0.5 s, gone at 2.5 s), segment by segment.
python3 - tracks/three.sup <<'PGS'
import struct, sys
def segment(pts, kind, data):
    return b"PG" + struct.pack(">II", pts * 90, 0) + bytes([kind]) + struct.pack(">H", len(data)) + data
window = bytes([1]) + struct.pack(">BHHHH", 0, 10, 10, 16, 16)
shown = struct.pack(">HHBHBBBB", 320, 240, 0x10, 0, 0x80, 0, 0, 1) + struct.pack(">HBBHH", 0, 0, 0, 10, 10)
square = struct.pack(">HH", 16, 16) + (bytes([1] * 16) + bytes(2)) * 16
picture = struct.pack(">HBB", 0, 0, 0xC0) + struct.pack(">I", len(square))[1:] + square
gone = struct.pack(">HHBHBBBB", 320, 240, 0x10, 1, 0, 0, 0, 0)
with open(sys.argv[1], "wb") as out:
    out.write(segment(500, 0x16, shown) + segment(500, 0x17, window) + segment(500, 0x14, bytes([0, 0, 1, 235, 128, 128, 255]))
              + segment(500, 0x15, picture) + segment(500, 0x80, b"")
              + segment(2500, 0x16, gone) + segment(2500, 0x17, window) + segment(2500, 0x80, b""))
PGS
for container in mkv mp4; do
  case $container in
    mkv) pictures=(-i tracks/three.sup) picture_map=(-map 5:s) subtitle_codecs=(-c:s:0 srt -c:s:1 ass -c:s:2 copy) ;;
    mp4) pictures=() picture_map=() subtitle_codecs=(-c:s mov_text) ;;
  esac
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x305070:size=320x240:rate=25" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100" -f lavfi -i "sine=frequency=880:sample_rate=48000" \
    -i tracks/one.srt -i tracks/two.srt "${pictures[@]}" -map 0:v -map 1:a -map 2:a -map 3:s -map 4:s \
    "${picture_map[@]}" -t "$seconds" \
    -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac "${subtitle_codecs[@]}" \
    -metadata:s:a:0 language=chi -metadata:s:a:0 title=国语 -metadata:s:a:1 language=yue -metadata:s:a:1 title=粤语 \
    -metadata:s:s:0 language=eng -metadata:s:s:1 language=chi \
    -disposition:a:0 default -disposition:a:1 0 -disposition:s:0 default -disposition:s:1 0 \
    "tracks/Tracks.$container"
done
rm tracks/one.srt tracks/two.srt tracks/three.sup

# The videos people have, by other tools than ours, with ffmpeg's picture of each.
bash "$here/make-media-vectors.sh" "$out/vectors"

# The catalogue's episodes, for play.exe on its own player.
bash "$here/make-episode-clips.sh" "$out" 6 320x240

touch "$out/.made-$stamp"
