#!/usr/bin/env bash
# Installs what the build, the run and the tests need, from Debian's packages.
# Quick when everything is present: it only checks and returns.
set -euo pipefail

need_i386=(
  wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386
  # Wine's sound output and its MPEG decoding go through these.
  libpulse0:i386 libgstreamer1.0-0:i386 gstreamer1.0-plugins-base:i386
  gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
)
need_native=(
  cmake ninja-build g++ make pkg-config
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  libgl1-mesa-dri mesa-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  pulseaudio pulseaudio-utils sox lame python3
)

missing=()
for p in "${need_native[@]}" "${need_i386[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
exit 0
