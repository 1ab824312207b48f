#!/usr/bin/env bash
# Runs each fuzz target of the sanitize build (`make sanitize`) for a fixed
# number of inputs, from its seeds in tests/fuzz/corpus/<target> and with a
# fixed random seed, so that a run repeats exactly. What libFuzzer adds to the
# corpus goes to build/sanitize/fuzz/<target>, never into the tree. A broken
# check, a sanitizer finding, a leak or an input slower than the timeout fails
# the run and leaves the input there (crash-*, leak-*, timeout-*).
#
#   scripts/fuzz.sh [RUNS]      RUNS inputs per target, 20000 unless given
#
# One line per target goes to build/sanitize/fuzz/summary as well.
set -u
cd "$(dirname "$0")/.."

runs=${1:-20000}
bin=build/sanitize/bin
work=build/sanitize/fuzz
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$work"
: >"$work/summary"
status=0

report() {
  echo "$1"
  echo "$1" >>"$work/summary"
}

for seeds in tests/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  out=$work/$target
  rm -rf "$out"
  mkdir -p "$out/corpus"
  if [ ! -x "$bin/$target" ]; then
    report "$target: not built"
    status=1
    continue
  fi
  start=${EPOCHREALTIME/./}
  # -reload=0: rereading the corpus every second would make the heap, and
  # with it the pointers that compare instructions hand the mutator, depend
  # on time; without it a run repeats input for input.
  "$bin/$target" -runs="$runs" -seed=1 -reload=0 -max_len=1024 -timeout=30 -artifact_prefix="$out/" \
    "$out/corpus" "$seeds" >"$out/log" 2>&1
  code=$?
  took=$(( (${EPOCHREALTIME/./} - start) / 100000 ))  # tenths of a second
  done_runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$out/log")
  if [ $code -eq 0 ] && [ "$done_runs" = "$runs" ]; then
    report "$target: $runs inputs in $((took / 10)).$((took % 10)) s, passed"
  else
    tail -n 40 "$out/log"
    found=$(ls "$out" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' | head -n 1)
    report "$target: FAILED within $runs inputs${found:+, input kept in $out/$found}"
    [ -n "$found" ] && echo "  repeat with: $bin/$target $out/$found"
    status=1
  fi
done
exit $status
