"""Runs the end-to-end suites of every Windows build this host runs, ROUNDS
times each (default 5), with no second chance, and prints for each suite how
often it ran and failed and the first failing check of each failure: a
suite that fails now and then shows here, where `make test`'s retry would
hide it.

    python3 -m scripts.flake [--rounds 5] [--jobs 3]      (make flake ROUNDS=n)

The suites run as in `make test`, side by side, each round after the other.
Every round's full output is kept in build/<arch>/flake/round-<n>.xml
(JUnit, from ctest)."""

import argparse
import collections
import os
import subprocess
import sys
import time

from scripts.ctest_runs import run_ctest
from testkit import ROOT
from testkit.prefix import can_run


def runnable_arches():
    """The Windows builds this host runs, and why any other does not."""
    arches = []
    for arch in ("win32", "win64"):
        why = can_run(arch)
        if why:
            print(f"{arch}: not run ({why})")
        else:
            arches.append(arch)
    return arches


def run_round(arch, number, jobs):
    """One run of the architecture's end-to-end suites: {suite: None when it
    passed, else its first failing check}; skipped suites are left out."""
    folder = os.path.join(ROOT, "build", arch, "flake")
    os.makedirs(folder, exist_ok=True)
    report = os.path.join(folder, f"round-{number}.xml")
    runs = run_ctest(arch, report, ["-L", "e2e", *(["-j", str(jobs)] if jobs else [])],
                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if runs is None:
        return {"(ctest)": "ctest wrote no report"}
    return {name: None if run.outcome == "passed" else run.why for name, run in runs.items()
            if name != "wine_prefix_setup" and run.outcome != "skipped"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--jobs", type=int, default=os.environ.get("BRUMALIS_E2E_JOBS"),
                        help="suites side by side; the test preset's number unless given")
    args = parser.parse_args()
    arches = runnable_arches()
    if not arches:
        print("no Windows build runs on this host")
        return 1
    runs = collections.Counter()
    failures = collections.defaultdict(list)
    start = time.monotonic()
    for number in range(1, args.rounds + 1):
        for arch in arches:
            began = time.monotonic()
            results = run_round(arch, number, args.jobs)
            failed = [name for name, check in results.items() if check]
            for name, check in results.items():
                runs[(arch, name)] += 1
                if check:
                    failures[(arch, name)].append(f"round {number}: {check}")
            print(f"round {number}, {arch}: {len(results)} suites, {len(failed)} failed "
                  f"{' '.join(failed)} ({time.monotonic() - began:.0f} s)", flush=True)
    print(f"== {args.rounds} rounds in {(time.monotonic() - start) / 60:.1f} min, no retry")
    width = max(len(f"{arch} {name}") for arch, name in runs)
    print(f"{'suite':<{width}}  runs  failures  first failing check")
    for arch, name in sorted(runs):
        checks = failures[(arch, name)]
        print(f"{arch + ' ' + name:<{width}}  {runs[(arch, name)]:>4}  {len(checks):>8}  {checks[0] if checks else ''}")
        for check in checks[1:]:
            print(f"{'':<{width}}  {'':>4}  {'':>8}  {check}")
    total = sum(len(c) for c in failures.values())
    print(f"{total} failures in {sum(runs.values())} suite runs")
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main())
