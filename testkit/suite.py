"""The end-to-end suites' frame: test classes that share one Wine session
each, and the command line every suite takes.

    python3 -m tests.wine.test_host --arch win64 --bin build/win64/bin [--suite NAME] [unittest arguments]

A suite's second run (BRUMALIS_SECOND_RUN=1, as scripts/ctest_runs.py runs
a failed suite once more) runs only what failed in its first: the failed
tests, or the whole class where its tests are numbered, as each builds on
the one before, or a class whose set-up failed. The first run leaves their
names in out/<arch>/<suite>.failed; without that file (a run that crashed or
was stopped) the second run runs everything again.
"""

import argparse
import os
import re
import sys
import unittest

from testkit import out_dir, runs
from testkit.display import Display
from testkit.prefix import copy_prefix, own_prefix, remove_prefix
from testkit.session import WineSession


class WineTestCase(unittest.TestCase):
    """Shares one Wine session among the tests of a class."""

    arch = "win32"
    bin_dir = ""
    suite = None  # names the log folder; main() sets it
    audio = False  # a class that plays sound sets this
    glx = True  # a class that needs a display without OpenGL clears this
    second_monitor = None  # (width, height) of a monitor right of the primary one
    private_prefix = False  # a class that changes the prefix's settings works on a copy

    @classmethod
    def setUpClass(cls):
        display = Display(glx=cls.glx, second=cls.second_monitor)
        prefix = copy_prefix(cls.arch, cls.__name__) if cls.private_prefix else None
        cls.wine = WineSession(cls.bin_dir, cls.arch, display=display, audio=cls.audio, prefix=prefix,
                               suite=cls.suite)
        try:
            cls.wine.start()
        except BaseException:
            # tearDownClass does not run when set-up fails: end what started.
            cls.wine.stop()
            raise

    def setUp(self):
        self.addCleanup(self.wine.programs.end_all)

    def assertGone(self, window, timeout_ms=15000, msg="the window stayed"):
        runs.assert_gone(self.wine, window, timeout_ms, msg)

    # The screensaver program as its users drive it (testkit.runs).
    def start_run(self, settings, *args, **kw):
        return runs.start_run(self.wine, settings, *args, **kw)

    def escape(self, proc, renderer, main):
        return runs.escape(self.wine, proc, renderer, main)

    def open_dialog(self, settings, mode="/c", **kw):
        return runs.open_dialog(self.wine, settings, mode, **kw)

    def close(self, proc, window):
        runs.close(self.wine, proc, window)

    @classmethod
    def tearDownClass(cls):
        cls.wine.stop()
        if cls.wine.prefix:
            remove_prefix(cls.wine.prefix)


def second_run_names(failed):
    """The unittest names that run a suite's failed tests again, or None for
    the whole suite: FAILED holds a run's failed tests and the stand-ins
    unittest makes for a class set-up or tear-down that failed ("setUpClass
    (module.Class)"). A numbered test stands for its whole class."""
    classes, tests = [], []
    for test in failed:
        if isinstance(test, unittest.TestCase) and not type(test).__name__.startswith("_"):
            cls, method = type(test).__name__, test._testMethodName
            if re.match(r"test_\d+_", method):
                classes.append(cls)
            else:
                tests.append(f"{cls}.{method}")
            continue
        match = re.fullmatch(r"\w+ \((?:[\w.]+\.)?(\w+)\)", str(test))
        if not match or not isinstance(test, unittest.suite._ErrorHolder):
            return None  # a module that did not load or set up
        classes.append(match.group(1))
    classes = list(dict.fromkeys(classes))
    return classes + [t for t in dict.fromkeys(tests) if t.split(".")[0] not in classes]


def main():
    """Parses the build's folder and architecture, then runs the calling
    module's tests in a copy of the architecture's prefix of its own."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win32")
    parser.add_argument("--bin", required=True)
    parser.add_argument("--suite", default=os.path.splitext(os.path.basename(sys.argv[0]))[0],
                        help="names this run's prefix and log folder (suites may run side by side)")
    args, rest = parser.parse_known_args()
    WineTestCase.arch = args.arch
    WineTestCase.bin_dir = os.path.abspath(args.bin)
    WineTestCase.suite = args.suite
    failed_file = os.path.join(out_dir(args.arch), f"{args.suite}.failed")
    if os.environ.get("BRUMALIS_SECOND_RUN") == "1" and os.path.exists(failed_file):
        with open(failed_file) as f:
            again = f.read().split()
        if again:
            print("running again only what failed the first time:", *again, flush=True)
            rest = [a for a in rest if a.startswith("-")] + again
    if os.path.exists(failed_file):
        os.remove(failed_file)
    remove_own_prefix = own_prefix(args.arch, args.suite)
    try:
        result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    finally:
        remove_own_prefix()
    names = second_run_names([test for test, _ in result.failures + result.errors])
    if names:
        os.makedirs(os.path.dirname(failed_file), exist_ok=True)
        with open(failed_file, "w") as f:
            f.writelines(name + "\n" for name in names)
    sys.exit(0 if result.wasSuccessful() else 1)
