#!/usr/bin/env bash
# Installs what the build and the tests need, and nothing else. Safe to run again:
# it asks apt only for packages that are missing and generates the locale once.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config clang-format
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev
  libpugixml-dev zlib1g-dev libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  xvfb xauth x11-utils imagemagick librsvg2-bin
  nginx-light nsis
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav ffmpeg
  fonts-wqy-microhei
  locales curl python3
  nasm meson dpkg-dev
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The source packages the player's decoding libraries are built from (scripts/build-media-libs.sh):
# deb-src entries for the same suites as the Debian binary packages of this machine.
sources=/etc/apt/sources.list.d/vexo-deb-src.sources
source_update=0
if [ ! -f "$sources" ]; then
  echo "setup: adding the deb-src entries"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$sources" >/dev/null
  else
    sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list | $SUDO tee "${sources%.sources}.list" >/dev/null
    $SUDO touch "$sources"
  fi
  source_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ] || [ "$source_update" -eq 1 ]; then
  $SUDO apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows tests run with the system code page 936, which Wine derives from LC_ALL.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  echo "setup: generating zh_CN.UTF-8"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "setup: ready"
