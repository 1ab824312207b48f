"""End-to-end: start-up of the screensaver program under Wine: the single
instance rule, the modes, the settings file, the missing-renderer message and
the preview pane."""

import os
import re
import shutil
import time

from testkit.names import ANSI, DIALOG_TITLE, HOST, KEY_FILE, KEY_HEIGHT, KEY_KIND, KEY_REPEAT, KEY_WIDTH, RUN_TITLE
from testkit.processes import wait_exit
from testkit.settings import SECTION_LINE, music_lines, profile_writes, size_lines, size_settings
from testkit.suite import WineTestCase, main

CAPTION = "Brumalis (ScreenSaver)"
MISSING = "Brumalis.dll が同じﾌｫﾙﾀﾞに見つかりません！"
WS_CHILD = 0x40000000


def pane_number(hwnd):
    """A window handle as the display settings write it: the unsigned decimal
    of its 32 significant bits (64-bit Wine may hand them out sign-extended)."""
    return str(int(hwnd, 16) & 0xFFFFFFFF)


class Host(WineTestCase):

    def run_host(self, *args, timeout=30, **kw):
        proc = self.wine.programs.start(HOST, *args, **kw)
        code = wait_exit(proc, timeout)
        self.assertIsNotNone(code, f"{HOST} {' '.join(args)} did not end")
        return code

    def settings_folder(self):
        return os.path.dirname(self.wine.files.settings_path())

    # -- single instance ----------------------------------------------------------
    def test_a_running_instance_stops_every_mode_before_it_does_anything(self):
        for title in (RUN_TITLE, DIALOG_TITLE):
            proc, pane = self.wine.probe.make_window(title, 200, 100)
            try:
                for args in (["/s"], [], ["/c"], ["/a"], ["/p", pane_number(pane)]):
                    with self.subTest(title=title, args=args):
                        self.wine.files.remove_settings()
                        log = self.wine.out.log("running-instance-trace.txt")
                        start = time.time()
                        self.assertEqual(self.run_host(*args, trace="+win", log=log), 0)
                        self.assertLess(time.time() - start, 10)
                        self.assertFalse(os.path.exists(self.settings_folder()), "something was written")
                        # Wine's trace, written while the program ran, has every
                        # window it made: no preview child, form or dialog.
                        with open(log, encoding="utf-8", errors="replace") as f:
                            made = re.findall(r"trace:win:WIN_CreateWindowEx (.*)", f.read())
                        self.assertEqual(made, [], "the program made a window")
            finally:
                self.wine.probe("close", pane)
                wait_exit(proc, 10)

    # -- modes ----------------------------------------------------------------------
    def test_other_letters_and_a_preview_without_a_pane_end_at_once(self):
        # The spellings are the command line's unit tests'; here what the
        # program gets: a letter, one beyond ASCII, 5000 characters, which
        # make the settings folder and write nothing; and for a preview a
        # number that is no window, all 32 bits set (a pseudo-handle to some
        # calls) and the desktop's, which make nothing. A window whose title
        # is like a run's is no running instance.
        self.wine.probe.make_window(RUN_TITLE + "2", 200, 100)  # ended with the test's programs
        desktop = pane_number(self.wine.probe("desktop")["hwnd"])
        cases = [(["/x"], True), (["/あ"], True), (["/" + "x" * 5000], True),
                 (["/p", "12345"], False), (["/p", "-1"], False), (["/p", desktop], False)]
        for args, folder in cases:
            with self.subTest(args=" ".join(args)[:10]):
                self.wine.files.remove_settings()
                self.assertEqual(self.run_host(*args, timeout=15), 0)
                self.assertEqual(os.path.isdir(self.settings_folder()), folder, "whether the settings folder is made")
                self.assertFalse(os.path.exists(self.wine.files.settings_path()), "something was written")

    def test_a_start_writes_the_screen_size_and_keeps_every_other_key_even_in_broken_files(self):
        # The spellings of the mode are the command line's unit tests'; here
        # a start without arguments on a fresh file, the usual one on others.
        kind, repeat, file, width_key = (key.encode(ANSI) for key in (KEY_KIND, KEY_REPEAT, KEY_FILE, KEY_WIDTH))
        cases = [
            (None, []),
            (size_settings(640, 480, blank=" ") + music_lines(2, 7, "C:\\music\\a.mp3"), ["/s"]),
            (SECTION_LINE + kind + b"=abc\r\n" + repeat + b"=99999999\r\n", ["/s"]),
            (SECTION_LINE + kind + b"=" + b"7" * 300 + b"\r\n", ["/s"]),
            (b"\x00\xff\xfe garbage \x81\r\n[[[\r\n=\r\n" + bytes(range(256)), ["/s"]),
            (width_key + b"=1\r\nno section at all\r\n", ["/s"]),
            (SECTION_LINE + file + b"=C:\\" + b"x" * 400 + b"\r\n", ["/s"]),
        ]
        width, height = self.wine.display.width, self.wine.display.height
        for content, args in cases:
            with self.subTest(content=content and content[:30], args=args):
                if content is None:
                    self.wine.files.remove_settings()
                proc, main, renderer = self.start_run(content, *(args or [None]), trace="+profile")
                self.escape(proc, renderer, main)
                # Wine drops the leading blank when it writes the file, so the
                # exact value handed over is read from its trace.
                with open(proc.log, "rb") as f:
                    trace = f.read().decode("utf-8", "replace")
                # The renderer reads the file and writes nothing; all writes are the host's.
                self.assertEqual(profile_writes(trace), [(KEY_WIDTH, f" {width}"), (KEY_HEIGHT, f" {height}")])
                text = self.wine.files.read_settings()
                self.assertIn(size_lines(width, height), text)
                # Whatever was in the file is still there; Wine rewrites the
                # whole file and drops the blank after "=".
                for line in (content or b"").split(b"\r\n"):
                    if line.startswith((kind, repeat, file)):
                        self.assertIn(line.replace(b"= ", b"="), text)

    # -- missing renderer ---------------------------------------------------------
    def test_missing_renderer_is_reported_once_and_the_program_ends(self):
        alone = self.wine.files.fresh_folder("brumalis alone")
        shutil.copy(self.wine.programs.path(HOST), alone)
        before = size_settings(640, 480, blank=" ")
        for args in (["/c"], ["/s"], ["/a"]):
            with self.subTest(args=args):
                self.wine.files.write_settings(before)
                proc = self.wine.programs.start("C:\\brumalis alone\\Brumalis.scr", *args)
                box = self.wine.probe.find_window("#32770", "-", 20000, visible=True)
                self.assertEqual(box["title"], CAPTION)
                texts = [child["text"] for child in self.wine.probe.children(box["hwnd"])]
                self.assertIn(MISSING, texts)
                self.assertIn("OK", texts)
                self.assertIsNone(proc.poll())
                self.close(proc, box)
                self.assertEqual(self.wine.files.read_settings(), before)

    # -- preview ------------------------------------------------------------------
    def test_preview_fills_its_pane_and_ends_with_it(self):
        cases = ((152, 112, "/p {}"), (320, 240, "/p {}"), (152, 112, "/p:{}"), (100, 50, "/P {}"))
        for width, height, spelling in cases:
            with self.subTest(size=(width, height), spelling=spelling):
                self.wine.files.remove_settings()
                pane_proc, pane = self.wine.probe.make_window("pane", width, height)
                proc = self.wine.programs.start(HOST, *spelling.format(pane_number(pane)).split())
                child = self.wine.probe("child", pane, "20000")
                pane_info = self.wine.probe("info", pane)
                self.assertEqual(child["title"], "Preview Window")
                self.assertEqual(child["parent"], pane)
                self.assertTrue(child["style"] & WS_CHILD)
                self.assertTrue(child["visible"])
                self.assertEqual((child["x"], child["y"]), (pane_info["x"], pane_info["y"]))
                self.assertEqual((child["client_w"], child["client_h"]), (width, height))
                time.sleep(0.5)
                self.assertIsNone(proc.poll(), "the preview lives while its pane does")
                self.close(proc, pane)
                self.assertFalse(os.path.exists(self.settings_folder()), "the preview made the folder")


if __name__ == "__main__":
    main()
