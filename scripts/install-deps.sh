#!/usr/bin/env bash
# Installs what the build, the run and the tests need, from Debian's packages.
# Quick when everything is present: it only checks and returns.
#
# Both Windows builds need only their cross compilers. Running them needs Wine
# for the architecture: the 64-bit loader always, the 32-bit one (and the i386
# libraries behind it) only where the kernel runs 32-bit code at all.
set -euo pipefail
. "$(dirname "$0")/host-arch.sh"
. "$(dirname "$0")/wine-libraries.sh"

need_native=(
  cmake ninja-build g++ make pkg-config
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  # Wine's own fonts (Marlett draws the caption buttons), only recommended.
  fonts-wine
  # Every build goes through the compiler cache, kept in ~/.cache/ccache.
  ccache
  # Two monitors side by side for the end-to-end tests: a nested X server
  # with two screens joined by Xinerama, which Wine reports as two monitors.
  xserver-xephyr
  # The setup programs of `make dist` (NSIS, with its x86 and amd64 stubs),
  # the Windows Installer packages (wixl; msitools reads them back in the
  # tests; faketime gives their summary the release's date) and the zips
  # beside them.
  nsis wixl msitools faketime zip
  # Signing when a certificate is given (osslsigncode), and the test
  # certificate that `make test` makes for it (openssl).
  osslsigncode openssl
  libgl1-mesa-dri libglx-mesa0 libglu1-mesa mesa-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  # The sanitize build: clang, its sanitizer and libFuzzer runtimes, and the
  # symbolizer that puts names and lines into their reports.
  clang libclang-rt-14-dev llvm
  locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  pulseaudio pulseaudio-utils sox lame python3
  # What the 64-bit Wine loads at run time: X, GL, fonts, sound, MPEG.
  $(brumalis_wine_packages win64)
)
# The 32-bit Wine and the i386 builds of the same libraries.
need_i386=(wine32:i386 $(brumalis_wine_packages win32))

wanted=("${need_native[@]}")
with_i386=0
if brumalis_kernel_runs_i386; then
  with_i386=1
  wanted+=("${need_i386[@]}")
fi

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ $with_i386 -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
exit 0
