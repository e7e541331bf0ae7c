#!/usr/bin/env bash
# Makes the player's test vectors with ffmpeg from its own test sources (nothing downloaded):
# the codecs, bit depths, chroma layouts, sizes, turns, pixel shapes, colour matrices and
# ranges, and sound layouts people's files have, each with the picture ffmpeg itself shows of
# it at 1 s (turned upright and in its shape on the screen) as a PPM file.
#   make-media-vectors.sh FOLDER          the representative dozen the test command plays
#   make-media-vectors.sh FOLDER --full   the whole matrix (scripts/media-matrix.sh)
# FOLDER/vectors.txt lists them, a line each: NAME|FILE|SECONDS|SOUND (SOUND: the channels and
# rate of the sound, or "none"). Does nothing when the folder is already made by this version.
set -euo pipefail
out=$(realpath -m "${1:?usage: make-media-vectors.sh FOLDER [--full]}")
full=${2:-}
stamp=$( (sha1sum "$0"; echo "$full") | sha1sum | cut -c1-12)
[ -f "$out/.vectors-$stamp" ] && exit 0
command -v ffmpeg >/dev/null || { echo "make-media-vectors: ffmpeg is missing (scripts/setup.sh installs it)"; exit 1; }
export LC_ALL=C SVT_LOG=1  # the AV1 encoder's own log: errors only
rm -rf "$out"
mkdir -p "$out"
cd "$out"
: >vectors.txt

seconds=2
# vector NAME FILE SIZE SOUND-SOURCE-OR-none ENCODER-ARGS...
# The picture is SMPTE's colour bars (large flat colours, no symmetry): a wrong matrix, range,
# turn or shape shows at once.
vector() {
  local name=$1 file=$2 size=$3 sound=$4
  shift 4
  local inputs=(-f lavfi -i "smptehdbars=size=$size:rate=25")
  local sound_args=(-an)
  if [ "$sound" != none ]; then
    inputs+=(-f lavfi -i "$sound")
    sound_args=()
  fi
  if [ -n "${turn:-}" ]; then
    # The turn a phone records goes into the container as a display matrix: ffmpeg writes it
    # when it copies a stream with the rotate tag.
    ffmpeg -nostdin -loglevel error -y "${inputs[@]}" -t "$seconds" "$@" "${sound_args[@]}" "unturned-$file"
    ffmpeg -nostdin -loglevel error -y -i "unturned-$file" -c copy -metadata:s:v:0 rotate="$turn" "$file"
    rm "unturned-$file"
  else
    ffmpeg -nostdin -loglevel error -y "${inputs[@]}" -t "$seconds" "$@" "${sound_args[@]}" "$file"
  fi
  # What ffmpeg shows of it at 1 s: turned as it says, in the shape of its pixels.
  ffmpeg -nostdin -loglevel fatal -y -ss 1 -i "$file" -frames:v 1 \
    -vf "scale=trunc(iw*sar/2)*2:ih,setsar=1" -pix_fmt rgb24 "$name.ppm"
  local layout=none
  if [ "$sound" != none ]; then
    layout=$(ffprobe -v error -select_streams a:0 -show_entries stream=channels,sample_rate -of csv=p=0 "$file" |
      awk -F, 'NF == 2 {print $2 "x" $1; exit}')
  fi
  echo "$name|$file|$seconds|$layout" >>vectors.txt
}

tone="sine=frequency=440:sample_rate=48000"
stereo="aevalsrc=sin(440*2*PI*t)|sin(660*2*PI*t):s=44100:c=stereo"
surround="aevalsrc=sin(440*2*PI*t)|sin(550*2*PI*t)|sin(660*2*PI*t)|0.1*sin(55*2*PI*t)|sin(770*2*PI*t)|sin(880*2*PI*t):s=48000:c=5.1"
x264=(-c:v libx264 -preset veryfast -g 25)
bt709=(-colorspace bt709 -color_primaries bt709 -color_trc bt709)

# The representative dozen.
vector h264-high-854x480 h264-high-854x480.mp4 854x480 "$stereo" "${x264[@]}" -profile:v high -pix_fmt yuv420p -c:a aac
vector h264-high10-1280x720 h264-high10-1280x720.mkv 1280x720 "$tone" "${x264[@]}" -profile:v high10 \
  -pix_fmt yuv420p10le "${bt709[@]}" -c:a libopus
vector h264-444-321x241 h264-444-321x241.mp4 321x241 none "${x264[@]}" -profile:v high444 -pix_fmt yuv444p
vector hevc-main10-1920x1080 hevc-main10-1920x1080.mkv 1920x1080 "$surround" -c:v libx265 -preset ultrafast \
  -x265-params log-level=error -pix_fmt yuv420p10le "${bt709[@]}" -c:a ac3
vector vp9-profile2-640x360 vp9-profile2-640x360.webm 640x360 "$tone" -c:v libvpx-vp9 -deadline realtime -cpu-used 8 \
  -pix_fmt yuv420p10le -c:a libopus
vector av1-10bit-352x288 av1-10bit-352x288.mkv 352x288 none -c:v libsvtav1 -preset 12 -pix_fmt yuv420p10le
turn=90 vector turned-90 turned-90.mp4 480x272 none "${x264[@]}" -pix_fmt yuv420p
vector anamorphic-720x576 anamorphic-720x576.mkv 720x576 none "${x264[@]}" -pix_fmt yuv420p -aspect 16:9
vector full-range-320x240 full-range-320x240.mp4 320x240 none "${x264[@]}" -pix_fmt yuvj420p -color_range pc
vector aac-5.1 aac-5.1.mp4 320x240 "$surround" "${x264[@]}" -pix_fmt yuv420p -c:a aac
vector mpegts-h264-mp2 mpegts-h264-mp2.ts 352x288 "$tone" "${x264[@]}" -pix_fmt yuv420p -c:a mp2
vector flv-h264-aac flv-h264-aac.flv 320x240 "sine=frequency=440:sample_rate=96000,aresample=44100" "${x264[@]}" \
  -pix_fmt yuv420p -c:a aac

if [ "$full" = --full ]; then
  vector h264-baseline-1366x768 h264-baseline-1366x768.mp4 1366x768 "$stereo" "${x264[@]}" -profile:v baseline \
    -pix_fmt yuv420p "${bt709[@]}" -c:a aac
  vector h264-main-852x480 h264-main-852x480.mp4 852x480 "$stereo" "${x264[@]}" -profile:v main -pix_fmt yuv420p -c:a aac
  vector h264-422-640x480 h264-422-640x480.mkv 640x480 none "${x264[@]}" -profile:v high422 -pix_fmt yuv422p
  vector h264-1920x1080 h264-1920x1080.mp4 1920x1080 "$stereo" "${x264[@]}" -pix_fmt yuv420p "${bt709[@]}" -c:a aac
  vector hevc-main-1280x720 hevc-main-1280x720.mp4 1280x720 "$stereo" -c:v libx265 -preset ultrafast \
    -x265-params log-level=error -pix_fmt yuv420p "${bt709[@]}" -tag:v hvc1 -c:a aac
  vector vp8-vorbis vp8-vorbis.webm 640x360 "$stereo" -c:v libvpx -deadline realtime -cpu-used 8 -b:v 1M -c:a libvorbis
  vector vp9-profile0 vp9-profile0.webm 854x480 "$stereo" -c:v libvpx-vp9 -deadline realtime -cpu-used 8 \
    -pix_fmt yuv420p -c:a libopus
  vector av1-8bit-1280x720 av1-8bit-1280x720.mp4 1280x720 "$stereo" -c:v libsvtav1 -preset 12 -pix_fmt yuv420p \
    "${bt709[@]}" -c:a aac
  vector mpeg2-720x576 mpeg2-720x576.mpg 720x576 "$stereo" -c:v mpeg2video -q:v 3 -aspect 16:9 -c:a mp2 -f vob
  vector mpeg4-avi-mp3 mpeg4-avi-mp3.avi 640x480 "$stereo" -c:v mpeg4 -q:v 3 -c:a libmp3lame
  vector wmv2-wma wmv2-wma.wmv 320x240 "$stereo" -c:v wmv2 -q:v 3 -c:a wmav2
  turn=180 vector turned-180 turned-180.mp4 480x272 none "${x264[@]}" -pix_fmt yuv420p
  turn=270 vector turned-270 turned-270.mov 480x272 none "${x264[@]}" -pix_fmt yuv420p
  vector odd-321x241-vp9 odd-321x241.mkv 321x241 "$tone" -c:v libvpx-vp9 -deadline realtime -cpu-used 8 \
    -pix_fmt yuv420p -c:a flac
  vector hdr10-hevc hdr10-hevc.mkv 1280x720 none -c:v libx265 -preset ultrafast -x265-params log-level=error \
    -pix_fmt yuv420p10le -colorspace bt2020nc -color_primaries bt2020 -color_trc smpte2084
  vector ac3-5.1 ac3-5.1.mkv 320x240 "$surround" "${x264[@]}" -pix_fmt yuv420p -c:a ac3
  vector mono-96k mono-96k.mkv 320x240 "sine=frequency=440:sample_rate=96000" "${x264[@]}" -pix_fmt yuv420p -c:a flac
  vector flac-7.1 flac-7.1.mkv 320x240 \
    "aevalsrc=sin(440*2*PI*t)|sin(550*2*PI*t)|sin(660*2*PI*t)|0|sin(770*2*PI*t)|sin(880*2*PI*t)|sin(990*2*PI*t)|sin(330*2*PI*t):s=48000:c=7.1" \
    "${x264[@]}" -pix_fmt yuv420p -c:a flac
fi
touch ".vectors-$stamp"
