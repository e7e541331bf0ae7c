#!/usr/bin/env bash
# Builds the decoding libraries of VexoMedia.dll for Windows from Debian's own source packages
# (`apt-get source ffmpeg dav1d`, Debian's patches applied): dav1d for AV1, then FFmpeg's
# libavformat, libavcodec, libavutil, libswscale, libswresample and libavfilter, as DLLs
# with their import libraries, cross-compiled with mingw-w64. LGPL only: no --enable-gpl, no
# nonfree parts, and only the demuxers, decoders, parsers and filters the player uses.
#
#   build-media-libs.sh ARCH      ARCH is x86_64 or i686
#
# Prints the folder the libraries are installed to (include/, lib/, bin/). They are kept in
# a cache outside the build folders (VEXO_LIB_CACHE, by default ~/.cache/vexo-media-libs),
# keyed by the source versions and the configure lines: a second run finds them and builds
# nothing.
set -euo pipefail
export LC_ALL=C
arch=${1:?usage: build-media-libs.sh x86_64|i686}
case "$arch" in
  x86_64) cpu=x86_64 ;;
  i686) cpu=x86 ;;
  *) echo "build-media-libs: unknown architecture $arch" >&2; exit 2 ;;
esac
host=$arch-w64-mingw32
jobs=$(nproc)
cache=${VEXO_LIB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vexo-media-libs}

source_version() {  # the newest version of a source package the configured deb-src offers
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2}' | sort -V | tail -n 1
}
ffmpeg_version=$(source_version ffmpeg)
dav1d_version=$(source_version dav1d)
if [ -z "$ffmpeg_version" ] || [ -z "$dav1d_version" ]; then
  echo "build-media-libs: no source package of ffmpeg or dav1d (scripts/setup.sh adds the deb-src entries)" >&2
  exit 1
fi

# What FFmpeg is built with. The containers and codecs users have: MP4/MOV, Matroska/WebM,
# AVI, MPEG-PS and MPEG-TS, FLV, ASF/WMV, Ogg, and sound files; their text subtitles; and the
# filters that change the sound's speed with its pitch kept.
demuxers=mov,matroska,avi,mpegps,mpegts,flv,asf,ogg,mp3,aac,ac3,eac3,flac,wav,w64,srt,ass,webvtt
# The raw ones too: MPEG-PS tells a video stream's codec by probing its packets with them.
demuxers=$demuxers,mpegvideo,h264,hevc,m4v,vc1,dts
decoders=h264,hevc,vp8,vp9,libdav1d,mpeg1video,mpeg2video,mpeg4,h263,msmpeg4v1,msmpeg4v2,msmpeg4v3
decoders=$decoders,wmv1,wmv2,wmv3,vc1,flv,theora,mjpeg,aac,aac_latm,mp1,mp2,mp3,ac3,eac3,dca,opus
decoders=$decoders,vorbis,flac,alac,wmav1,wmav2,wmapro,truehd,mlp
decoders=$decoders,pcm_s16le,pcm_s16be,pcm_s24le,pcm_s24be,pcm_s32le,pcm_f32le,pcm_u8,pcm_alaw,pcm_mulaw
decoders=$decoders,subrip,ass,ssa,webvtt,movtext,text
parsers=h264,hevc,vp8,vp9,av1,mpegvideo,mpeg4video,h263,vc1,aac,aac_latm,ac3,mpegaudio,dca,opus,vorbis,flac,mlp
filters=atempo,aresample,aformat,anull,abuffer,abuffersink
ffmpeg_flags=(
  --enable-cross-compile --target-os=mingw32 --arch="$cpu" --cross-prefix="$host-"
  --cc="$host-gcc-posix" --cxx="$host-g++-posix"
  --enable-shared --disable-static --disable-programs --disable-doc --disable-debug
  --enable-w32threads --disable-autodetect --disable-network --disable-iconv
  --disable-everything --disable-avdevice --disable-postproc
  --enable-libdav1d --enable-demuxer="$demuxers" --enable-decoder="$decoders"
  --enable-parser="$parsers" --enable-filter="$filters"
  --extra-ldflags=-static-libgcc --extra-libs=-l:libwinpthread.a
)
dav1d_options=(--buildtype release --default-library shared -Denable_tools=false -Denable_tests=false
  -Dbitdepths=8,16 -Dc_link_args=-static-libgcc)
# What the libraries are made of; `recipe` counts changes to how they are put together here.
recipe=2
key=$( (echo "$recipe $ffmpeg_version $dav1d_version"; printf '%s\n' "${ffmpeg_flags[@]}" "${dav1d_options[@]}") |
  sha1sum | cut -c1-16)
prefix=$cache/$key/$arch
if [ -f "$prefix/.built" ]; then
  echo "$prefix"
  exit 0
fi
# One build of an architecture at a time (the test command's and a configure's may meet).
mkdir -p "$cache"
exec 9>"$cache/.lock-$arch"
flock 9
if [ -f "$prefix/.built" ]; then
  echo "$prefix"
  exit 0
fi

log() { echo "build-media-libs: $*" >&2; }
sources=$cache/sources
mkdir -p "$sources"
unpack() {  # PACKAGE VERSION: the unpacked source tree, Debian's patches applied
  local tree=$sources/$1-${2//[:~+]/_}
  if [ ! -f "$tree/.unpacked" ]; then
    log "fetching the source package $1 $2"
    rm -rf "$tree" "$tree.work"
    mkdir -p "$tree.work"
    (cd "$tree.work" && apt-get source -qq "$1=$2" >&2)
    mv "$(find "$tree.work" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$tree"
    rm -rf "$tree.work"
    touch "$tree/.unpacked"
  fi
  echo "$tree"
}
dav1d_source=$(unpack dav1d "$dav1d_version")
ffmpeg_source=$(unpack ffmpeg "$ffmpeg_version")

work=$cache/work-$arch
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
started=$(date +%s)

log "dav1d $dav1d_version for $arch"
cat >"$work/cross.ini" <<CROSS
[binaries]
c = '$host-gcc-posix'
ar = '$host-ar'
strip = '$host-strip'
windres = '$host-windres'
nasm = 'nasm'

[host_machine]
system = 'windows'
cpu_family = '$cpu'
cpu = '$arch'
endian = 'little'
CROSS
meson setup "$work/dav1d" "$dav1d_source" --cross-file "$work/cross.ini" --prefix "$prefix" --libdir lib \
  "${dav1d_options[@]}" >"$work/dav1d.log" 2>&1 || { cat "$work/dav1d.log" >&2; exit 1; }
ninja -C "$work/dav1d" -j "$jobs" install >>"$work/dav1d.log" 2>&1 || { tail -n 40 "$work/dav1d.log" >&2; exit 1; }

log "FFmpeg $ffmpeg_version for $arch"
mkdir -p "$work/ffmpeg"
(
  cd "$work/ffmpeg"
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
    "$ffmpeg_source/configure" --prefix="$prefix" --pkg-config=pkg-config "${ffmpeg_flags[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 ffbuild/config.log >&2; exit 1; }
  make -j "$jobs" >"$work/make.log" 2>&1 || { tail -n 40 "$work/make.log" >&2; exit 1; }
  make install >>"$work/make.log" 2>&1
)
# Their licences ship with them.
mkdir -p "$prefix/share/licenses"
cp "$ffmpeg_source/COPYING.LGPLv2.1" "$prefix/share/licenses/FFmpeg-LGPL-2.1.txt"
cp "$dav1d_source/COPYING" "$prefix/share/licenses/dav1d-BSD-2-Clause.txt"
rm -rf "$work"
touch "$prefix/.built"
log "built in $(($(date +%s) - started)) s into $prefix"
echo "$prefix"
