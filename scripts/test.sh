#!/usr/bin/env bash
# Runs every test: builds what changed (through the compiler cache), then the
# native unit tests, the same unit tests built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for a
# fixed number of inputs (scripts/fuzz.sh), the native benchmark in short,
# the release built twice, in the tree and in a copy of it, and compared
# (scripts/reproducible.sh), and for each Windows build that this host runs
# (32-bit, 64-bit or both) its unit tests and end-to-end tests under Wine,
# the frame-rate benchmark in short among them. A build this host cannot run
# is still checked without running it. Any failure fails, and so does a host
# that runs neither Windows build. The summary gives each phase's outcome and
# time.
set -u
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
. scripts/wine-libraries.sh

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

status=0
summary=()
# phase NAME COMMAND...: runs a phase, keeps "NAME: passed|FAILED (time)"
# for the summary; its status is the command's.
phase() {
  local name=$1 start=$SECONDS rc
  shift
  echo "== $name"
  "$@"
  rc=$?
  local took=$((SECONDS - start))
  summary+=("$name: $([ $rc -eq 0 ] && echo passed || echo FAILED) ($((took / 60))m $((took % 60))s)")
  [ $rc -eq 0 ] || status=1
  return $rc
}

phase "build (native, both Windows builds, sanitizers)" make --no-print-directory build sanitize || {
  printf '%s\n' "== summary" "${summary[@]}" "SOME TESTS FAILED"
  exit 1
}
phase "native unit tests" ctest --preset native
phase "unit tests under sanitizers" ctest --preset sanitize
phase "fuzz targets" scripts/fuzz.sh
# Each benchmark runs once in short so that none goes stale; the figures are
# printed and no target is enforced. The frame-rate one runs with each
# Windows build's end-to-end suites.
phase "cloud texture benchmark, in short" build/native/bin/cloud-bench --benchmark_min_time=0.01
# The release of the tree's build and of a copy in another folder, made
# at other times: the same files byte for byte (no Windows program runs).
phase "release built twice, compared" scripts/reproducible.sh

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
  local started
  # An Xvfb on a free display, as the end-to-end tests start theirs; it
  # prints the display and the server's process id, and the server stays.
  started=$(python3 -m testkit.display 1024x768) || return 1
  display=${started% *} xvfb=${started#* }
}

# The unit tests: many small Wine processes side by side on one persistent
# wineserver in the architecture's prefix.
windows_unit_tests() {
  local arch=$1
  # Wine's own services start with the first program and keep the output
  # pipes that program had: started here, with nothing to inherit, they
  # cannot keep ctest waiting for the end of a test's output.
  (. scripts/wine-env.sh "$arch" && brumalis_wine_prefix && "$BRUMALIS_WINESERVER" -p &&
    DISPLAY=$display "$BRUMALIS_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1)
  # Once a test program of the 64-bit unit run died at its start without a
  # word (not seen again in hundreds of runs): a failed test runs once more,
  # and the summary names it (scripts/ctest_runs.py).
  DISPLAY=$display python3 -m scripts.ctest_runs --preset "$arch" --report "build/$arch/unit" \
    --notes "build/$arch/unit.notes" -L unit 2>&1 | tee "build/$arch/unit.log"
  local rc=${PIPESTATUS[0]}
  (. scripts/wine-env.sh "$arch" && { "$BRUMALIS_WINESERVER" -k 2>/dev/null; "$BRUMALIS_WINESERVER" -w; })
  return $rc
}

# The end-to-end suites, three at a time (the test preset's jobs;
# BRUMALIS_E2E_JOBS=n for another number), each in a copy of the prefix with
# displays and wineservers of its own. They drive the real programs under
# Wine on virtual displays, where a program has, very rarely, stalled for
# good inside Wine's own calls: a suite that fails runs once more. Every
# failure stays in the output, with the stacks of the program that stalled,
# and the summary names a suite that passed only on its second run, whatever
# ended its first (a failure, a time-out, a crash), and a suite that did not
# run here.
windows_end_to_end() {
  local arch=$1
  DISPLAY=$display python3 -m scripts.ctest_runs --preset "$arch" --report "build/$arch/e2e" \
    --notes "build/$arch/e2e.notes" -LE unit ${BRUMALIS_E2E_JOBS:+-j "$BRUMALIS_E2E_JOBS"} 2>&1 |
    tee "build/$arch/e2e.log"
  local rc=${PIPESTATUS[0]}
  [ -f "out/$arch/bench-frame-rate.txt" ] && { echo "-- frame-rate benchmark, in short:"; cat "out/$arch/bench-frame-rate.txt"; }
  return $rc
}

declare -A outcome notes
for arch in "${arches[@]}"; do
  bits=$(brumalis_bits_of "$arch")
  echo "== $bits Windows programs: shipped files"
  if scripts/check-programs.sh "$arch" "build/$arch/bin"; then checked="checked"; else checked="check FAILED"; status=1; fi

  if [ "${runs[$arch]}" != 1 ]; then
    outcome[$arch]="built, $checked, not run (${why[$arch]})"
    continue
  fi
  # A library that Wine loads by name and does not find fails no call:
  # Wine just does without (one monitor, no smoothing, no MP3).
  if ! missing=$(brumalis_missing_wine_libraries "$arch"); then
    echo "$bits Wine lacks libraries it loads (make deps installs them):"
    echo "$missing"
    outcome[$arch]="built, $checked, not run: Wine's libraries missing"
    status=1
    continue
  fi
  if [ -z "$display" ] && ! start_display; then
    echo "no X display could be started"
    outcome[$arch]="built, $checked, not run (no X display)"
    status=1
    continue
  fi
  rm -f "out/$arch/bench-frame-rate.txt" "build/$arch/unit.notes" "build/$arch/e2e.notes"
  phase "$bits Windows unit tests (Wine)" windows_unit_tests "$arch"
  unit_status=$?
  phase "$bits Windows end-to-end suites (Wine)" windows_end_to_end "$arch"
  e2e_status=$?
  notes[$arch]=$(cat "build/$arch/unit.notes" "build/$arch/e2e.notes" 2>/dev/null)
  if [ $unit_status -eq 0 ] && [ $e2e_status -eq 0 ]; then
    outcome[$arch]="built, $checked, run under Wine: passed"
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
printf '%s\n' "${summary[@]}"
sed 's/^/fuzz target /' build/sanitize/fuzz/summary 2>/dev/null || echo "fuzz targets: not run"
for arch in "${arches[@]}"; do
  echo "$(brumalis_bits_of "$arch") Windows programs: ${outcome[$arch]}"
  # Each test that passed only on its second run, failed, or did not run here.
  [ -n "${notes[$arch]:-}" ] && sed 's/^/  /' <<<"${notes[$arch]}"
done
if [ $ran -eq 0 ]; then
  echo "no Windows build can run on this host: the Windows half went untested"
  status=1
fi
echo "all together: $((SECONDS / 60))m $((SECONDS % 60))s"
if [ $status -eq 0 ]; then echo "all tests passed"; else echo "SOME TESTS FAILED"; fi
exit $status
