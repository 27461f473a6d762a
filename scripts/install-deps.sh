#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and those named as arguments.
# Quick when they are already there.
set -euo pipefail

packages=(
  cmake g++ pkg-config make
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  ffmpeg
  qt6-base-dev
  fonts-liberation2
  xdg-utils  # xdg-open, the desktop's opener behind the folder, file and web buttons
  libgtest-dev
  locales
  zlib1g-dev
  xvfb xdotool libxcb1-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
