#!/usr/bin/env bash
# Installs every Debian package Pictavo needs to build, test and run.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # compiler and build tools
  g++ cmake ninja-build ccache pkg-config git
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # images
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  # text and drawing
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-liberation libcairo2-dev
  # windows, sound, XML
  libsdl2-dev libpugixml-dev
  # audio and video
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev libyuv-dev ffmpeg
  # network
  libcurl4-openssl-dev
  # a real display for the sdl tests, a real browser for the web-album test
  xvfb xauth chromium
  # general CD and ISO 9660 readers that judge the Video-CD images; the recorder back end
  libcdio-utils genisoimage xorriso cdrdao
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
