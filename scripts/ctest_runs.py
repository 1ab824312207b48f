"""ctest's runs as its JUnit report records them, and a ctest run that gives
each failed test one more run and names every test that needed it, whatever
ended its first run (a failure, a time-out, a crash, a fixture that failed).

    python3 -m scripts.ctest_runs --preset win64 --report build/win64/e2e [--notes FILE] [ctest arguments]

The first run writes REPORT-1.xml, the second (the failed tests alone; of
an end-to-end suite, only its failed cases) REPORT-2.xml; the notes (a test
that passed only on its second run, a test that failed, a test that did not
run and why) are printed at the end and, with --notes, written to FILE one a
line for a summary to show."""

import argparse
import collections
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

from testkit import ROOT

# What ended one run of one test: "passed", "failed" or "skipped" (a test
# that said it does not run here); `why` is the first failing check of a
# failure or the reason of a skip.
Run = collections.namedtuple("Run", "name outcome why seconds")

# ctest marks a test "notrun" both when its output matched its skip pattern
# and when it could not start (a fixture that failed, a missing program);
# only the first is a skip.
SKIPPED = ("SKIP_REGULAR_EXPRESSION_MATCHED", "Disabled")


def first_failing_check(output):
    """The first failed or erring test case of a suite's output and the last
    line of its traceback, which says what was expected; of a GoogleTest
    program's output, the first failed case and what its first failure said;
    or the output's last line when no test case failed (a crash, a time-out)."""
    output = output.replace("\r\n", "\n")
    match = re.search(r"^(FAIL|ERROR): (\w+).*?\n-+\n(.*?)(?:\n\n|\Z)", output, re.S | re.M)
    gtest = re.search(r"^\[  FAILED  \] (\S+) \(", output, re.M)
    if not match and gtest:
        failure = re.search(r": Failure\n(.*?)(?:\n\[|\n[^\n]*: Failure\n|\Z)", output, re.S)
        said = " ".join(line.strip() for line in failure.group(1).splitlines() if line.strip()) if failure else ""
        return f"{gtest.group(1)}: {said[:160] or 'failed'}"
    if not match:
        lines = [line for line in output.splitlines() if line.strip()]
        return lines[-1].strip()[:160] if lines else "(no output)"
    traceback = [line for line in match.group(3).splitlines() if line.strip()]
    return f"{match.group(2)}: {traceback[-1].strip()[:160] if traceback else match.group(1)}"


def read_report(path):
    """The runs of a JUnit report written by ctest --output-junit, by name."""
    runs = {}
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        name, status = case.get("name"), case.get("status")
        output = case.findtext("system-out") or ""
        seconds = float(case.get("time") or 0)
        skipped = case.find("skipped")
        if status == "run":
            runs[name] = Run(name, "passed", "", seconds)
        elif status == "notrun" and skipped is not None and skipped.get("message") in SKIPPED:
            said = re.search(r"skipped '(.*)'", output)
            runs[name] = Run(name, "skipped", said.group(1) if said else skipped.get("message"), seconds)
        elif status == "notrun":
            message = skipped.get("message") if skipped is not None else "did not run"
            runs[name] = Run(name, "failed", f"not run: {message}", seconds)
        else:
            runs[name] = Run(name, "failed", first_failing_check(output), seconds)
    return runs


def run_ctest(preset, report, arguments, **kw):
    """Runs ctest with a JUnit report; the runs it records, or None when
    ctest wrote none (it could not start, or found no such preset)."""
    if os.path.exists(report):
        os.remove(report)
    subprocess.run(["ctest", "--preset", preset, *arguments, "--output-junit", os.path.abspath(report)],
                   cwd=ROOT, **kw)
    return read_report(report) if os.path.exists(report) else None


def exactly(names):
    """A ctest -R pattern that matches these test names and no other."""
    return "^(" + "|".join(re.sub(r"([][.*+?^$|()\\{}])", r"\\\1", name) for name in names) + ")$"


def judge(first, second):
    """Whether every test passed, at its first run or its second, and what a
    summary says: each test that needed a second run, each that failed, each
    that did not run here."""
    notes, passed = [], True
    for name, run in first.items():
        if run.outcome == "skipped":
            notes.append(f"{name} not run ({run.why})")
        elif run.outcome == "failed":
            again = second.get(name)
            if again and again.outcome == "passed":
                notes.append(f"{name} passed only on its second run (first run, {run.seconds:.0f} s: {run.why})")
            else:
                notes.append(f"{name} FAILED ({(again or run).why})")
                passed = False
    return passed, notes


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--preset", required=True)
    parser.add_argument("--report", required=True, help="REPORT-1.xml and REPORT-2.xml are written")
    parser.add_argument("--notes", help="a file for the notes, one a line")
    args, ctest_arguments = parser.parse_known_args()
    first = run_ctest(args.preset, args.report + "-1.xml", ctest_arguments)
    if first is None:
        passed, notes = False, ["ctest wrote no report"]
    else:
        failed = [name for name, run in first.items() if run.outcome == "failed"]
        second = {}
        if failed:
            print(f"== once more, the {len(failed)} failed: {' '.join(failed)}", flush=True)
            # An end-to-end suite runs again only what failed (testkit.suite).
            second = run_ctest(args.preset, args.report + "-2.xml", [*ctest_arguments, "-R", exactly(failed)],
                               env=dict(os.environ, BRUMALIS_SECOND_RUN="1")) or {}
        passed, notes = judge(first, second)
    if notes:
        print("==", *notes, sep="\n")
    if args.notes:
        with open(args.notes, "w") as f:
            f.writelines(note + "\n" for note in notes)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
