#!/usr/bin/env bash
# Runs every test: builds what changed (through the compiler cache), then the
# native unit tests, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, each fuzz target for a fixed number of inputs
# (scripts/fuzz.sh), the native benchmark in short, the release built twice,
# in the tree and in a copy of it, and compared (scripts/reproducible.sh),
# and for each Windows build that this host runs (32-bit, 64-bit or both)
# its unit tests and end-to-end tests under Wine, the frame-rate benchmark in
# short among them. Three lanes run side by side: the native lane from the
# start, making the sanitizer build and the native benchmark itself beside
# the Windows builds, then its tests at a lower priority; the two Windows
# lanes once both Windows builds are made. A build this host cannot run is
# still checked without running it. Any failure fails, and so does a host
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
lanes=build/test-lanes
rm -rf "$lanes"
mkdir -p "$lanes"
# phase NAME COMMAND...: runs a phase, adds "NAME: passed|FAILED (time)" to
# the summary of the lane it runs in ($lane); its status is the command's.
lane=main
phase() {
  local name=$1 start=$SECONDS rc
  shift
  echo "== $name"
  "$@"
  rc=$?
  local took=$((SECONDS - start))
  echo "$name: $([ $rc -eq 0 ] && echo passed || echo FAILED) ($((took / 60))m $((took % 60))s)" >>"$lanes/$lane.summary"
  return $rc
}

# The lanes: the native one, and one for each Windows build. They share the
# cores well, as the Windows suites spend most of their time waiting for Wine
# and the X server; each keeps its output and prints it whole when it ends.
native_lane() {
  local rc=0
  # The portable code's unit tests run natively once, under the sanitizers
  # (clang), and under Wine in both Windows builds (MinGW's gcc); the plain
  # native build (gcc) would run them a fourth time, and is made here only
  # for the cloud texture's benchmark.
  phase "build (sanitizers, native benchmark)" make --no-print-directory sanitize native-bench || return 1
  # The rest only needs the cores, and the Windows suites, which time what
  # they see, run beside it by then: they go first.
  renice -n 10 -p "$BASHPID" >/dev/null
  phase "unit tests under sanitizers; the harness's own" ctest --preset sanitize || rc=1
  phase "fuzz targets" scripts/fuzz.sh || rc=1
  # Each benchmark runs once in short so that none goes stale; the figures
  # are printed and no target is enforced. The frame-rate one runs with the
  # 64-bit build's end-to-end suites.
  phase "cloud texture benchmark, in short" build/native/bin/cloud-bench --benchmark_min_time=0.01 || rc=1
  # The release of the tree's build and of a copy in another folder, made
  # at other times: the same files byte for byte (no Windows program runs).
  # The tree's Windows builds are the main script's: their end is awaited.
  until [ -f "$lanes/windows-builds" ]; do sleep 1; done
  if [ "$(cat "$lanes/windows-builds")" = ok ]; then
    phase "release built twice, compared" scripts/reproducible.sh || rc=1
  else
    echo "release built twice, compared: not run (a Windows build failed)" >>"$lanes/$lane.summary"
    rc=1
  fi
  return $rc
}

# A Windows lane's X display: an Xvfb on a free display, as the end-to-end
# tests start theirs, for the unit tests, which make windows. It prints the
# display and the server's process id; the server stays until the lane ends.
start_display() {
  local started
  started=$(python3 -m testkit.display 1024x768) || return 1
  display=${started% *}
  echo "${started#* }" >"$lanes/$arch.xvfb"
}

# The unit tests: many small Wine processes side by side on one persistent
# wineserver in the architecture's prefix.
windows_unit_tests() {
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
  DISPLAY=$display python3 -m scripts.ctest_runs --preset "$arch" --report "build/$arch/e2e" \
    --notes "build/$arch/e2e.notes" -LE unit ${BRUMALIS_E2E_JOBS:+-j "$BRUMALIS_E2E_JOBS"} 2>&1 |
    tee "build/$arch/e2e.log"
  local rc=${PIPESTATUS[0]}
  [ -f "out/$arch/bench-frame-rate.txt" ] && { echo "-- frame-rate benchmark, in short:"; cat "out/$arch/bench-frame-rate.txt"; }
  return $rc
}

# One Windows build: its shipped files checked, then, where this host runs
# it, its unit tests and end-to-end suites. The outcome goes to
# $lanes/ARCH.outcome for the summary.
windows_lane() {
  local bits checked unit_status e2e_status missing display=""
  bits=$(brumalis_bits_of "$arch")
  rm -f "out/$arch/bench-frame-rate.txt" "build/$arch/unit.notes" "build/$arch/e2e.notes"
  echo "== $bits Windows programs: shipped files"
  if scripts/check-programs.sh "$arch" "build/$arch/bin"; then checked="checked"; else checked="check FAILED"; fi
  outcome() {
    echo "$1" >"$lanes/$arch.outcome"
    [ "$checked" = checked ] && [ "$2" = 0 ]
  }
  [ "${runs[$arch]}" = 1 ] || { outcome "built, $checked, not run (${why[$arch]})" 0; return; }
  # A library that Wine loads by name and does not find fails no call:
  # Wine just does without (one monitor, no smoothing, no MP3).
  if ! missing=$(brumalis_missing_wine_libraries "$arch"); then
    echo "$bits Wine lacks libraries it loads (make deps installs them):"
    echo "$missing"
    outcome "built, $checked, not run: Wine's libraries missing" 1
    return
  fi
  if ! start_display; then
    echo "no X display could be started"
    outcome "built, $checked, not run (no X display)" 1
    return
  fi
  phase "$bits Windows unit tests (Wine)" windows_unit_tests
  unit_status=$?
  phase "$bits Windows end-to-end suites (Wine)" windows_end_to_end
  e2e_status=$?
  (. scripts/wine-env.sh "$arch" && "$BRUMALIS_WINESERVER" -k 2>/dev/null)
  kill "$(cat "$lanes/$arch.xvfb")" 2>/dev/null  # the unit tests' display, done with
  if [ $unit_status -eq 0 ] && [ $e2e_status -eq 0 ]; then
    outcome "built, $checked, run under Wine: passed" 0
  else
    outcome "built, $checked, run under Wine: FAILED" 1
  fi
}

# The Windows lanes' X displays (ARCH.xvfb: the server's process id).
stop_displays() {
  local pid
  for pid in $(cat "$lanes"/*.xvfb 2>/dev/null); do kill "$pid" 2>/dev/null; done
}

# Each lane in a process group of its own, so that an interrupted run stops
# every program a lane started; the Xvfb servers go too, and Wine's.
set -m
declare -A lane_pid
boots=()
end_lanes() {
  local pid
  for pid in "${lane_pid[@]}" "${boots[@]}"; do kill -TERM -- "-$pid" 2>/dev/null; done
  stop_displays
  for arch in "${arches[@]}"; do
    [ "${runs[$arch]}" = 1 ] && (. scripts/wine-env.sh "$arch" && "$BRUMALIS_WINESERVER" -k 2>/dev/null)
  done
}
trap end_lanes EXIT
trap 'exit 130' INT TERM

start_lane() {
  local name=$1
  shift
  echo "== lane $name started"
  (lane=$name; "$@") >"$lanes/$name.log" 2>&1 &
  lane_pid[$name]=$!
}
# Wine boots each prefix that the lanes will use beside the builds: it runs
# no program of ours (a lane that comes to it first waits for it).
for arch in "${arches[@]}"; do
  [ "${runs[$arch]}" = 1 ] || continue
  (. scripts/wine-env.sh "$arch" && brumalis_wine_prefix) >"$lanes/$arch.boot" 2>&1 &
  boots+=($!)
done
# The native lane from the start: it makes its builds beside the Windows ones.
start_lane native native_lane
# Both Windows builds, then both Windows lanes: the 64-bit build's suites
# read the files of both builds, and a lane started beside a build holds that
# build back (and so the other lane) more than it gains.
built=ok
for arch in win32 win64; do
  phase "build ($(brumalis_bits_of "$arch") Windows)" make --no-print-directory "$arch" && continue
  echo "$(brumalis_bits_of "$arch") Windows build FAILED" >"$lanes/$arch.outcome"
  built=FAILED
  status=1
done
echo "$built" >"$lanes/windows-builds"
for arch in win32 win64; do
  [ -f "$lanes/$arch.outcome" ] || start_lane "$arch" windows_lane
done

# Each lane's output as it ends, whole.
declare -A lane_of
for name in "${!lane_pid[@]}"; do lane_of[${lane_pid[$name]}]=$name; done
while [ ${#lane_of[@]} -gt 0 ]; do
  wait -n -p ended "${!lane_of[@]}"
  rc=$?
  name=${lane_of[$ended]}
  unset "lane_of[$ended]"
  echo "== lane $name ended ($([ $rc -eq 0 ] && echo passed || echo FAILED)); its output:"
  cat "$lanes/$name.log"
  [ $rc -eq 0 ] || status=1
done
lane_pid=()
stop_displays

ran=0
for arch in "${arches[@]}"; do [ "${runs[$arch]}" = 1 ] && ran=1; done

echo "== summary"
cat "$lanes"/{main,native,win32,win64}.summary 2>/dev/null
sed 's/^/fuzz target /' build/sanitize/fuzz/summary 2>/dev/null || echo "fuzz targets: not run"
for arch in "${arches[@]}"; do
  echo "$(brumalis_bits_of "$arch") Windows programs: $(cat "$lanes/$arch.outcome" 2>/dev/null || echo "lane ended early")"
  # Each test that passed only on its second run, failed, or did not run here.
  notes=$(cat "build/$arch/unit.notes" "build/$arch/e2e.notes" 2>/dev/null)
  [ -n "$notes" ] && sed 's/^/  /' <<<"$notes"
done
if [ $ran -eq 0 ]; then
  echo "no Windows build can run on this host: the Windows half went untested"
  status=1
fi
echo "all together: $((SECONDS / 60))m $((SECONDS % 60))s"
if [ $status -eq 0 ]; then echo "all tests passed"; else echo "SOME TESTS FAILED"; fi
exit $status
