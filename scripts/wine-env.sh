# Sourced: the environment in which the project runs its Windows programs.
#
#   . scripts/wine-env.sh [win32|win64]      (win32 when no architecture is named)
#
# Each architecture has a private prefix under build/ (BRUMALIS_WINEPREFIX
# names another one), quiet, with code page 932 as the ANSI code page (Wine
# takes it from the locale). The loader of the
# architecture is called by its own path: Debian's wrapper scripts
# (/usr/bin/wine, wineboot, winepath) take the 32-bit loader whenever it is
# installed, even on a host whose kernel cannot run it.
_brumalis_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BRUMALIS_ROOT="$_brumalis_root"
unset _brumalis_root
. "$BRUMALIS_ROOT/scripts/host-arch.sh"

brumalis_wine_use() {
  local arch=$1
  BRUMALIS_WINE=$(brumalis_loader_of "$arch") || return 1
  export BRUMALIS_WINE_ARCH="$arch" BRUMALIS_WINE
  export WINEARCH="$arch"
  export WINEPREFIX="${BRUMALIS_WINEPREFIX:-$BRUMALIS_ROOT/build/wine-$arch}"
  # Programs that Wine starts itself (a started process, a shell open) use
  # the same loader.
  export WINELOADER="$BRUMALIS_WINE"
  export BRUMALIS_WINESERVER=/usr/lib/wine/wineserver
  export WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
}

brumalis_wine_use "${1:-win32}" || return 1
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=ja_JP.UTF-8

# Creates the prefix once; concurrent callers wait for the first one. The
# architecture's own prefix starts as a copy of its pristine one
# (build/wine-ARCH-pristine, made first, in which no program ever runs and
# whose copies the setup tests install into): Wine boots once for both.
brumalis_wine_prefix() {
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts pristine=""
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -z "${BRUMALIS_WINEPREFIX:-}" ] && [ ! -f "$WINEPREFIX/.brumalis-ready" ]; then
    pristine=$WINEPREFIX-pristine
    (export BRUMALIS_WINEPREFIX=$pristine && brumalis_wine_use "$BRUMALIS_WINE_ARCH" && brumalis_wine_prefix) || return 1
  fi
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.brumalis-ready" ] && [ -n "$pristine" ]; then
      (cd "$BRUMALIS_ROOT" && python3 -m testkit.prefix "$pristine" "$WINEPREFIX") || exit 1
    fi
    if [ ! -f "$WINEPREFIX/.brumalis-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= "$BRUMALIS_WINE" wineboot -i >/dev/null 2>&1 || true
      "$BRUMALIS_WINESERVER" -w
      [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix creation failed ($WINEPREFIX)" >&2; exit 1; }
      touch "$WINEPREFIX/.brumalis-ready"
    fi
    if [ ! -f "$WINEPREFIX/.brumalis-settings-2" ]; then
      # The dialog asks for a Japanese proportional Gothic and the buttons'
      # default face; both are given fonts that Debian has. Windows draw
      # their own captions and frames, since the test displays run no
      # window manager. A program that crashes ends, with the fault in its
      # output, instead of waiting behind a crash dialog nobody answers.
      DISPLAY= "$BRUMALIS_WINE" regedit /S "$BRUMALIS_ROOT/scripts/wine-settings.reg" >/dev/null 2>&1 || true
      "$BRUMALIS_WINESERVER" -w
      touch "$WINEPREFIX/.brumalis-settings-2"
    fi
    # Wine draws the caption buttons with its Marlett font, which Debian's
    # fonts-wine installs beside Wine and not in the prefix: without a copy
    # in the prefix's fonts the close box is drawn as an "r".
    if [ ! -f "$fonts/marlett.ttf" ]; then
      [ -f "$marlett" ] || { echo "no Marlett font at $marlett (make deps installs fonts-wine)" >&2; exit 1; }
      mkdir -p "$fonts" && cp "$marlett" "$fonts/marlett.ttf"
    fi
  ) 9>"$WINEPREFIX.lock"
}
