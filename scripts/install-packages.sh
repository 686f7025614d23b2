#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the run need,
# skipping those already installed. Changes nothing else on the machine.
set -euo pipefail
packages=(
  cmake ninja-build make g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  nasm pkg-config dpkg-dev googletest python3
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick
  alsa-utils libasound2-plugins
  sox libsox-fmt-all lame twolame vorbis-tools flac ffmpeg mpg123 espeak-ng
  pulseaudio pulseaudio-utils
  fp-utils-3.2.2
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run as root to install them." >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >&2
apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
