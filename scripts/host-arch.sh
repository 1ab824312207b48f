# Sourced: which Windows builds this host can run. The one place that decides
# it, for the dependency install, the tests and the run.
#
# Some x86-64 hosts run no 32-bit x86 code at all: the kernel refuses every
# i386 program, Wine's 32-bit loader included, while the 64-bit loader runs
# the x86_64 build. BRUMALIS_NO_32BIT=1 makes brumalis_can_run answer as on
# such a host, so that its path can be tried on any host.

# Whether the kernel starts a 32-bit x86 program: a 96-byte i386 ELF that
# only calls exit(0). Hosts without 32-bit support refuse it (Exec format error).
# It is written under build/, since /tmp may forbid running programs.
brumalis_kernel_runs_i386() {
  local probe
  probe="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/.i386-probe.$$"
  mkdir -p "$(dirname "$probe")"
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'          >"$probe"  # ident
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"  # exec, i386, entry
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"  # one program header
  printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$probe"  # PT_LOAD at 0x08048000
  printf '\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000' >>"$probe"  # 96 bytes, r-x
  printf '\000\020\000\000\061\333\270\001\000\000\000\315\200\000\000\000' >>"$probe"  # xor ebx,ebx; exit
  chmod +x "$probe"
  local ok=1
  "$probe" 2>/dev/null && ok=0
  rm -f "$probe"
  return $ok
}

brumalis_loader_of() {
  case "$1" in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *) echo "unknown Windows architecture: $1" >&2; return 1 ;;
  esac
}

# Succeeds when this host runs the programs of ARCH; otherwise says why on
# standard output and fails.
brumalis_can_run() {
  local loader
  loader=$(brumalis_loader_of "$1") || return 1
  if [ "$1" = win32 ] && [ -n "${BRUMALIS_NO_32BIT:-}" ] && [ "${BRUMALIS_NO_32BIT}" != 0 ]; then
    echo "BRUMALIS_NO_32BIT is set: run as on a host without 32-bit support"
    return 1
  fi
  if [ "$1" = win32 ] && ! brumalis_kernel_runs_i386; then
    echo "this host runs no 32-bit code"
    return 1
  fi
  if [ ! -x "$loader" ]; then
    echo "$loader is not installed (make deps installs it)"
    return 1
  fi
  if ! "$loader" --version >/dev/null 2>&1; then
    echo "$loader does not start here"
    return 1
  fi
}

# Words for the summaries: "32-bit" or "64-bit".
brumalis_bits_of() {
  case "$1" in win32) echo 32-bit ;; win64) echo 64-bit ;; *) echo "$1" ;; esac
}

# The one build to run by hand (make run, make soak): the 32-bit programs
# where this host runs them, the 64-bit ones otherwise. Sets BRUMALIS_ARCH and
# says which; fails, saying why, when neither runs.
brumalis_pick_arch() {
  local why
  if why=$(brumalis_can_run win32); then
    BRUMALIS_ARCH=win32
    echo "running the 32-bit programs (build/win32/bin)"
  elif brumalis_can_run win64 >/dev/null; then
    BRUMALIS_ARCH=win64
    echo "running the 64-bit programs (build/win64/bin): the 32-bit ones do not run here ($why)"
  else
    echo "neither Windows build runs on this host: $why; $(brumalis_can_run win64)" >&2
    return 1
  fi
}
