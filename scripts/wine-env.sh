# Sourced: the environment in which the project runs its Windows programs.
# A private 32-bit prefix under build/, quiet, with code page 932 as the ANSI
# code page (Wine takes it from the locale).
_brumalis_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BRUMALIS_ROOT="$_brumalis_root"
export WINEPREFIX="${BRUMALIS_WINEPREFIX:-$_brumalis_root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=ja_JP.UTF-8
unset _brumalis_root

# Creates the prefix once; concurrent callers wait for the first one.
brumalis_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.brumalis-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      [ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix creation failed" >&2; exit 1; }
      touch "$WINEPREFIX/.brumalis-ready"
    fi
    if [ ! -f "$WINEPREFIX/.brumalis-settings-1" ]; then
      # The dialog asks for a Japanese proportional Gothic and the buttons'
      # default face; both are given fonts that Debian has. Windows draw
      # their own captions and frames, since the test displays run no
      # window manager.
      DISPLAY= wine regedit /S "$BRUMALIS_ROOT/scripts/wine-settings.reg" >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.brumalis-settings-1"
    fi
  ) 9>"$WINEPREFIX.lock"
}
