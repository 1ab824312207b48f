"""End-to-end: the renderer program under Wine."""

import re
import time

from testkit import runs
from testkit.names import KEY_HEIGHT, KEY_WIDTH, RATE_TITLE, RENDERER, VK_SPACE
from testkit.processes import cpu_seconds
from testkit.settings import SECTION_LINE, size_lines, size_settings
from testkit.suite import WineTestCase, main
from tests.wine import sky

FPS_TITLE = re.compile(rf"^{re.escape(RATE_TITLE)}(\d+\.\d) fps$")
# The test display refreshes 60 times a second as Wine reports it (or
# reports nothing, which counts as 60). Paced to it, frames come 61 times a
# second, a few more in the title that follows a stall, which is made up;
# drawing as fast as it could, the renderer made several hundred a second in
# these windows. Under 15 a second they came far slower than the display's.
DISPLAY_HZ = 60
PACED_FPS = (15, 73)


class Renderer(WineTestCase):

    def start(self, settings=None):
        if settings is None:
            self.wine.files.remove_settings()
        else:
            self.wine.files.write_settings(settings)
        proc = self.wine.programs.start(RENDERER)
        return proc, self.wine.probe.find_renderer()

    def test_size_comes_from_the_settings_file_within_the_screen(self):
        # The display is 1280 x 1024. Looking at the sky costs a few seconds
        # of frames, so only the default window is looked at (the full-screen
        # suites look at the screen-sized one). The unit tests read and fit
        # each side's text; here the keys, the section and the profile calls
        # the renderer reads through. A window as large as its client area
        # has no caption and no frame.
        cases = [  # the settings, the window's size, whether its sky is looked at
            # Leading digits count, and a hexadecimal number is read as one.
            (SECTION_LINE + f"{KEY_WIDTH}=800px\r\n{KEY_HEIGHT}= 0x1e0\r\n".encode(), (800, 480), False),
            (b"[Other]\r\n" + size_lines(640, 480), (1024, 768), True),
            (size_settings(65535, 40000), (1280, 1024), False),
        ]
        for settings, size, look in cases:
            with self.subTest(settings=settings):
                proc, window = self.start(settings)
                self.assertEqual((window["x"], window["y"]), (0, 0))
                self.assertEqual((window["w"], window["h"]), size)
                self.assertEqual((window["client_w"], window["client_h"]), size)
                if look:
                    sky.wait_for_sky(self, self.wine.screen, *size, "renderer.png")
                    # Pointer movement and clicks, from the system and as messages, end nothing.
                    self.wine.screen.xdotool("mousemove", "300", "200", "mousemove", "700", "500", "click", "1",
                                             "click", "3")
                    self.wine.probe("mouse", window["hwnd"])
                    self.assertFalse(self.wine.probe.wait_gone(window["hwnd"], 1000), "the pointer ended the renderer")
                runs.escape(self.wine, proc, window, None)

    # What the system sends when nobody can see the window, and when somebody
    # can again (a display-state power setting, a session change,
    # minimising), and how long each rest lasts: as long as its checks need.
    # The first rest carries the check of the rate that follows a rest: with
    # the rest counted in, at most 3 s of frames would be divided by more
    # than 9 s.
    RESTS = [
        ("display off", ("power-setting", "0"), ("power-setting", "1"), 6.0),
        ("session locked", ("send", "0x2B1", "7", "1"), ("send", "0x2B1", "8", "1"), 3.0),
        ("minimised", ("show", "6"), ("show", "9"), 3.0),
    ]

    def rate(self, window, after=None):
        """The frame rate of the window's title, once it has one (the first
        or, when `after` is given, the first that is not that title)."""
        title = self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")["title"]
        deadline = time.monotonic() + 6
        while title == after and time.monotonic() < deadline:
            time.sleep(0.2)
            title = self.wine.probe("info", window["hwnd"])["title"]
        self.assertRegex(title, FPS_TITLE)
        return float(FPS_TITLE.match(title).group(1)), title

    def sky(self):
        return self.wine.screen.shot().region(0, 0, 320, 240)

    def test_frames_are_paced_and_rest_only_while_nobody_can_see_it(self):
        self.assertIn(self.wine.probe("refresh")["hz"], (0, 1, DISPLAY_HZ), "not the display of these bounds")
        proc, window = self.start(size_settings(320, 240))
        hwnd = window["hwnd"]
        first, title = self.rate(window)  # its start-up in it: held to the ceiling alone
        self.assertLessEqual(first, PACED_FPS[1], f"{title}: not paced to the display")
        # The monitor-power command does not always turn the display off, and
        # no notification then says that it is still on: where the display
        # state is heard (always under Wine), it alone decides.
        self.wine.probe("send", hwnd, "0x112", "0xF170", "2")  # WM_SYSCOMMAND, SC_MONITORPOWER, off
        before = self.sky()
        time.sleep(3.5)  # a title's time: the rate is one written after the command
        self.assertNotEqual(before, self.sky(), "the sky stood still after the monitor-power command")
        steady, title = self.rate(window)
        self.assertTrue(PACED_FPS[0] <= steady <= PACED_FPS[1], f"{title}: not paced to the display")
        for name, rest, wake, seconds in self.RESTS:
            with self.subTest(name):
                self.wine.probe(rest[0], hwnd, *rest[1:])
                still, deadline = self.sky(), time.monotonic() + 5
                while still != (now := self.sky()):
                    self.assertLess(time.monotonic(), deadline, f"{name}: frames while resting")
                    still = now
                title = self.wine.probe("info", hwnd)["title"]
                cpu = cpu_seconds(proc.pid)
                time.sleep(seconds)
                busy = 100 * (cpu_seconds(proc.pid) - cpu) / seconds
                self.assertLessEqual(busy, 1.0, f"{name}: {busy:.1f} % of a core while resting")
                self.assertEqual(self.sky(), still, f"{name}: frames while resting")
                self.wine.probe(wake[0], hwnd, *wake[1:])
                time.sleep(0.12)  # a frame's time at 60 Hz and a margin
                self.assertNotEqual(self.sky(), still, f"{name}: the sky stood still after the rest")
                if name != "display off":
                    continue
                # The first rate after the rest counts only frames drawn,
                # judged against the rate that follows, so that a busy
                # machine's slower drawing is not taken for the fault; a
                # pacer left behind would catch up at once.
                rate, first = self.rate(window, after=title)
                time.sleep(3.5)  # the title's next rate
                steady, _ = self.rate(window)
                print(f"{name}: {busy:.2f} % of a core resting, then {rate} fps, then {steady} fps")
                self.assertGreater(rate, steady / 2, f"{name}: rate after the rest, then {steady}")
                self.assertLessEqual(rate, PACED_FPS[1], f"{name}: rate after the rest")
        runs.escape(self.wine, proc, window, None)

    def test_space_blends_clouds_over_the_sky_in_white_fog(self):
        proc, window = self.start(size_settings(640, 480))
        self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")

        def darkened(picture):
            # Blended over the sky, thin grey cloud darkens the deep blue near
            # the zenith; added to it, cloud can only brighten it.
            return sum(1 for _, added in sky.excess(picture, 640, 480, (8, 8)) if added[2] < -8)

        def darkened_soon(fog):
            """How many samples are darkened once the sky shows that fog (or
            after 5 s, when it does not)."""
            deadline = time.monotonic() + 5
            while True:
                count = darkened(self.wine.screen.shot())
                if (count > 50 if fog else count == 0) or time.monotonic() > deadline:
                    return count

        self.assertEqual(darkened(self.wine.screen.shot()), 0)
        self.wine.probe("key", window["hwnd"], str(VK_SPACE))
        self.assertGreater(darkened_soon(True), 50)
        self.wine.screen.shot("renderer-bright-fog.png")
        self.wine.probe("key", window["hwnd"], str(VK_SPACE), "3")  # held: three more toggles
        self.assertEqual(darkened_soon(False), 0)
        self.assertIsNone(proc.poll())
        self.close(proc, window)  # as another program asks


if __name__ == "__main__":
    main()
