"""The probe's one reader keeps step with its one writer: every key the
probe prints is read, a line it cannot read fails the command, and text
arrives whole."""

import os
import re
import unittest

from testkit import ROOT
from testkit.probe import RECORDS, VALUES, parse


class Reader(unittest.TestCase):

    def test_the_reader_knows_every_key_the_probe_prints_and_no_other(self):
        with open(os.path.join(ROOT, "tests", "wine", "probe.cpp")) as f:
            written = set(re.findall(r'\bOut\("(\w+)"\)', f.read()))
        self.assertEqual(written, set(VALUES) | set(RECORDS))

    def test_lines_are_read_or_fail_the_command(self):
        cases = [  # name, what the probe printed, what it holds (None: the command fails)
            ("a described window", b"hwnd=0x1a\r\nstyle=0x94000000\r\nvisible=1\r\ntitle=81a1\r\n",
             {"hwnd": "0x1a", "style": 0x94000000, "visible": True, "title": "\u25a0"}),
            ("children, in order", b"child=41:3a3d:0x2:-1:2:3:4:1:0\nchild=42::0x3:0:0:0:0:0:1\n",
             [{"class": "A", "text": ":=", "hwnd": "0x2", "x": -1, "y": 2, "w": 3, "h": 4, "enabled": True,
               "visible": False}, {"class": "B", "text": "", "hwnd": "0x3", "x": 0, "y": 0, "w": 0, "h": 0,
                                   "enabled": False, "visible": True}]),
            ("a key no one reads", b"hwnd=0x1\nwidth=5\n", None),
            ("a record a field short", b"part=43:0x0:e8a8ad\n", None),
            ("a flag that is neither", b"alive=yes\n", None),
            ("a line without a value", b"ready\n", None),
        ]
        for name, output, holds in cases:
            with self.subTest(name):
                if holds is None:
                    with self.assertRaisesRegex(AssertionError, "which its reader cannot read"):
                        parse(output)
                elif isinstance(holds, dict):
                    self.assertEqual(dict(parse(output)), holds)
                else:
                    self.assertEqual(parse(output).all("child"), holds)


if __name__ == "__main__":
    unittest.main()
