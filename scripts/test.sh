#!/usr/bin/env bash
# Runs every test: the native unit tests, the same unit tests built with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for
# a fixed number of inputs (scripts/fuzz.sh), then for each Windows build that
# this host runs (32-bit, 64-bit or both) its unit tests and end-to-end tests
# under Wine. A build this host cannot run is still checked without running
# it. Any failure fails, and so does a host that runs neither Windows build.
set -u
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

arches=(win32 win64)
declare -A runs why
for arch in "${arches[@]}"; do
  if reason=$(brumalis_can_run "$arch"); then runs[$arch]=1; else runs[$arch]=0; why[$arch]=$reason; fi
done

plan() {
  local arch=$1
  if [ "${runs[$arch]}" = 1 ]; then echo "run under Wine"; else echo "built, not run (${why[$arch]})"; fi
}
echo "== Windows programs on this host"
for arch in "${arches[@]}"; do echo "$(brumalis_bits_of "$arch") Windows programs: $(plan "$arch")"; done

declare -A outcome
status=0

echo "== native unit tests"
if ctest --preset native; then native="passed"; else native="FAILED"; status=1; fi

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
if ctest --preset sanitize; then sanitized="passed"; else sanitized="FAILED"; status=1; fi

echo "== fuzz targets"
scripts/fuzz.sh || status=1

# The Windows unit tests make windows, so they get a private X display; the
# end-to-end tests start displays of their own.
display="" xvfb=""
stop_display() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  xvfb=""
}
end_wine() {
  for arch in "${arches[@]}"; do
    [ "${runs[$arch]}" = 1 ] && (. scripts/wine-env.sh "$arch" && "$BRUMALIS_WINESERVER" -k 2>/dev/null)
  done
}
# Nothing this script started outlives it, however it ends.
trap 'end_wine; stop_display' EXIT
trap 'exit 130' INT TERM

start_display() {
  for n in $(seq 70 89); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
      xdpyinfo -display ":$n" >/dev/null 2>&1 && { display=":$n"; return 0; }
      sleep 0.1
    done
    stop_display
  done
  return 1
}

for arch in "${arches[@]}"; do
  bits=$(brumalis_bits_of "$arch")
  echo "== $bits Windows programs: shipped files"
  if scripts/check-programs.sh "$arch" "build/$arch/bin"; then checked="checked"; else checked="check FAILED"; status=1; fi

  if [ "${runs[$arch]}" != 1 ]; then
    outcome[$arch]="built, $checked, not run (${why[$arch]})"
    continue
  fi
  echo "== $bits Windows unit and end-to-end tests (Wine)"
  if [ -z "$display" ] && ! start_display; then
    echo "no X display could be started"
    outcome[$arch]="built, $checked, not run (no X display)"
    status=1
    continue
  fi
  # Unit tests first, many small Wine processes side by side on one
  # persistent wineserver; then the end-to-end suites, each alone, which
  # start and end servers of their own.
  # Wine's own services start with the first program and keep the output
  # pipes that program had: started here, with nothing to inherit, they
  # cannot keep ctest waiting for the end of a test's output.
  (. scripts/wine-env.sh "$arch" && brumalis_wine_prefix && "$BRUMALIS_WINESERVER" -p &&
    DISPLAY=$display "$BRUMALIS_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1)
  DISPLAY=$display ctest --preset "$arch" -L unit
  unit_status=$?
  (. scripts/wine-env.sh "$arch" && { "$BRUMALIS_WINESERVER" -k 2>/dev/null; "$BRUMALIS_WINESERVER" -w; })
  # The end-to-end suites drive the real programs under Wine on a virtual
  # display, where a program has, very rarely, stalled for good inside Wine's
  # own calls. A suite that fails runs once more; every failure stays in the
  # output, with the stacks of the program that stalled, and the summary
  # names a suite that passed only on its second run.
  DISPLAY=$display ctest --preset "$arch" -LE unit --repeat until-pass:2 2>&1 | tee "build/$arch/e2e.log"
  e2e_status=${PIPESTATUS[0]}
  second=$(sed -n 's/.*Test *#[0-9]*: \([A-Za-z0-9_]*\) .*\*\*\*Failed.*/\1/p' "build/$arch/e2e.log" | sort -u | xargs)
  if [ $unit_status -eq 0 ] && [ $e2e_status -eq 0 ]; then
    outcome[$arch]="built, $checked, run under Wine: passed${second:+, $second only on its second run}"
  else
    outcome[$arch]="built, $checked, run under Wine: FAILED"
    status=1
  fi
  (. scripts/wine-env.sh "$arch" && "$BRUMALIS_WINESERVER" -k 2>/dev/null)
done
stop_display

ran=0
for arch in "${arches[@]}"; do [ "${runs[$arch]}" = 1 ] && ran=1; done

echo "== summary"
echo "native unit tests: $native"
echo "unit tests under sanitizers: $sanitized"
sed 's/^/fuzz target /' build/sanitize/fuzz/summary 2>/dev/null || echo "fuzz targets: not run"
for arch in "${arches[@]}"; do echo "$(brumalis_bits_of "$arch") Windows programs: ${outcome[$arch]}"; done
if [ $ran -eq 0 ]; then
  echo "no Windows build can run on this host: the Windows half went untested"
  status=1
fi
if [ $status -eq 0 ]; then echo "all tests passed"; else echo "SOME TESTS FAILED"; fi
exit $status
