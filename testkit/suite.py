"""The end-to-end suites' frame: test classes that share one Wine session
each, and the command line every suite takes.

    python3 -m tests.wine.test_host --arch win64 --bin build/win64/bin [--suite NAME] [unittest arguments]
"""

import argparse
import os
import sys
import unittest

from testkit import runs
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
    remove_own_prefix = own_prefix(args.arch, args.suite)
    try:
        result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    finally:
        remove_own_prefix()
    sys.exit(0 if result.wasSuccessful() else 1)
