"""End-to-end: the renderer program under Wine."""

import re
import time

from testkit.names import KEY_HEIGHT, KEY_WIDTH, RATE_TITLE, RENDERER, RENDERER_CLASS, VK_ESCAPE, VK_SPACE
from testkit.processes import cpu_seconds, wait_exit
from testkit.settings import SECTION_LINE, size_lines, size_settings
from testkit.suite import WineTestCase, main
from tests.wine import sky

WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000
FPS_TITLE = re.compile(rf"^{re.escape(RATE_TITLE)}(\d+\.\d) fps$")


class Renderer(WineTestCase):

    def start(self, settings=None):
        if settings is None:
            self.wine.files.remove_settings()
        else:
            self.wine.files.write_settings(settings)
        proc = self.wine.programs.start(RENDERER)
        return proc, self.wine.probe.find_renderer()

    def end(self, proc, window):
        self.wine.probe("key", window["hwnd"], str(VK_ESCAPE))
        self.assertGone(window, msg="Escape did not close the window")
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_default_window_draws_the_sky_until_escape(self):
        proc, window = self.start()
        self.assertEqual(window["title"], RENDERER_CLASS)
        self.assertEqual((window["x"], window["y"]), (0, 0))
        self.assertEqual((window["w"], window["h"]), (1024, 768))
        style = window["style"]
        self.assertTrue(style & WS_POPUP)
        self.assertFalse(style & (WS_CAPTION | WS_THICKFRAME))
        self.assertTrue(window["visible"])

        titled = self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")
        self.assertRegex(titled["title"], FPS_TITLE)

        # Pointer movement and clicks, from the system and as messages, end nothing.
        self.wine.screen.xdotool("mousemove", "300", "200", "mousemove", "700", "500", "click", "1", "click", "3")
        self.wine.probe("mouse", window["hwnd"])
        time.sleep(1.5)
        self.assertIsNone(proc.poll())
        self.assertTrue(self.wine.probe("info", window["hwnd"], check=False).ok)

        first = self.wine.screen.shot("renderer.png")
        time.sleep(1.0)
        second = self.wine.screen.shot("renderer-later.png")
        sky.assert_sky(self, first, 1024, 768)
        sky.assert_sky(self, second, 1024, 768)
        window_area = lambda p: p.region(0, 0, 1024, 768)
        self.assertTrue(window_area(first) != window_area(second), "the sky did not move")
        # Nothing is drawn outside the window.
        self.assertEqual(set(first.region(1030, 0, 1280, 1024, )), {(0, 0, 0)})

        self.end(proc, window)

    def test_size_comes_from_the_settings_file(self):
        cases = [
            (size_settings(640, 480), (640, 480)),
            (size_settings(800, 600, blank=" "), (800, 600)),
            (size_settings(0, 0), (1024, 768)),
            (SECTION_LINE + f"{KEY_WIDTH}=1200\r\n".encode(), (1200, 768)),
            # Leading digits count, and a hexadecimal number is read as one.
            (SECTION_LINE + f"{KEY_WIDTH}=800px\r\n{KEY_HEIGHT}= 0x1e0\r\n".encode(), (800, 480)),
            (b"[Other]\r\n" + size_lines(640, 480), (1024, 768)),
        ]
        for settings, size in cases:
            with self.subTest(settings=settings):
                proc, window = self.start(settings)
                self.assertEqual((window["w"], window["h"]), size)
                self.assertEqual((window["client_w"], window["client_h"]), size)
                self.end(proc, window)

    def test_size_out_of_range_is_defaulted_or_cut_to_the_screen(self):
        # The display is 1280 x 1024. Looking at the sky costs a few seconds
        # of frames, so only the window as large as the screen is looked at.
        cases = [
            (size_settings(-5, 4294967295), (1024, 768), False),
            (size_settings(65535, 40000), (1280, 1024), True),
        ]
        for settings, size, look in cases:
            with self.subTest(settings=settings):
                proc, window = self.start(settings)
                self.assertEqual((window["x"], window["y"]), (0, 0))
                self.assertEqual((window["w"], window["h"]), size)
                self.assertEqual((window["client_w"], window["client_h"]), size)
                if look:
                    self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")
                    sky.assert_sky(self, self.wine.screen.shot("renderer-screen-size.png"), *size)
                self.end(proc, window)

    def test_frames_are_paced_to_the_display(self):
        # The virtual display reports 60 Hz or nothing, which counts as 60;
        # the renderer draws one hertz above that, and a few frames more in
        # the 3 seconds of a title that follow a stall, which it makes up.
        # Drawing as fast as it could, it made several hundred frames a
        # second in this window.
        hz = self.wine.probe("refresh")["hz"]
        ceiling = (hz if hz > 1 else 60) + 1
        proc, window = self.start(size_settings(320, 240))
        titles = [self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")["title"]]
        time.sleep(3.5)  # the title's next rate
        titles.append(self.wine.probe("info", window["hwnd"])["title"])
        for title in titles:
            rate = float(FPS_TITLE.match(title).group(1))
            self.assertLessEqual(rate, 1.2 * ceiling, title)
            self.assertGreater(rate, ceiling / 4, f"{title}: frames came far slower than the display's")
        self.end(proc, window)

    # What the system sends when nobody can see the window, and when somebody
    # can again: a display-state power setting, a session change, minimising.
    RESTS = [
        ("display off", ("power-setting", "0"), ("power-setting", "1")),
        ("session locked", ("send", "0x2B1", "7", "1"), ("send", "0x2B1", "8", "1")),
        ("minimised", ("show", "6"), ("show", "9")),
    ]

    def test_rests_while_nobody_can_see_it_and_comes_back_at_once(self):
        hz = self.wine.probe("refresh")["hz"]
        ceiling = (hz if hz > 1 else 60) + 1
        proc, window = self.start(size_settings(320, 240))
        hwnd = window["hwnd"]
        self.wine.probe("wait-title", hwnd, RATE_TITLE, "20000")
        for name, rest, wake in self.RESTS:
            with self.subTest(name):
                self.wine.probe(rest[0], hwnd, *rest[1:])
                time.sleep(0.5)
                title = self.wine.probe("info", hwnd)["title"]
                before = self.wine.screen.shot()
                cpu = cpu_seconds(proc.pid)
                time.sleep(10)
                busy = 100 * (cpu_seconds(proc.pid) - cpu) / 10
                self.assertLessEqual(busy, 1.0, f"{name}: {busy:.1f} % of a core while resting")
                self.assertEqual(self.wine.probe("info", hwnd)["title"], title, f"{name}: frames while resting")
                self.wine.probe(wake[0], hwnd, *wake[1:])
                time.sleep(1 / ceiling + 0.1)
                after = self.wine.screen.shot()
                self.assertTrue(before.region(0, 0, 320, 240) != after.region(0, 0, 320, 240),
                                f"{name}: the sky stood still after the rest")
                # The first rate after the rest counts only frames drawn.
                deadline = time.monotonic() + 6
                while self.wine.probe("info", hwnd)["title"] == title and time.monotonic() < deadline:
                    time.sleep(0.2)
                first = self.wine.probe("info", hwnd)["title"]
                time.sleep(3.5)  # the title's next rate
                rate, steady = (float(FPS_TITLE.match(t).group(1)) for t in (first, self.wine.probe("info", hwnd)["title"]))
                print(f"{name}: {busy:.2f} % of a core resting, then {rate} fps, then {steady} fps")
                # Judged against the rate that follows, so that a busy
                # machine's slower drawing is not taken for the fault: the
                # rest counted in would divide at most 3 s of frames by more
                # than 10 s, and a pacer left behind would catch up at once.
                self.assertGreater(rate, steady / 2, f"{name}: rate after the rest, then {steady}")
                self.assertLessEqual(rate, 1.1 * ceiling, f"{name}: rate after the rest")
        self.end(proc, window)

    def test_a_monitor_power_command_alone_leaves_the_frames_coming(self):
        # The command does not always turn the display off, and no
        # notification then says that it is still on: where the display
        # state is heard (always under Wine), it alone decides.
        hz = self.wine.probe("refresh")["hz"]
        refresh = hz if hz > 1 else 60
        proc, window = self.start(size_settings(320, 240))
        hwnd = window["hwnd"]
        self.wine.probe("wait-title", hwnd, RATE_TITLE, "20000")
        self.wine.probe("send", hwnd, "0x112", "0xF170", "2")  # WM_SYSCOMMAND, SC_MONITORPOWER, off
        time.sleep(0.5)
        before = self.wine.screen.shot()
        # A title's rate is the same text at a steady rate, so frames are seen
        # in the sky; the rate is the one written a title's time later.
        time.sleep(3.5)
        self.assertTrue(before.region(0, 0, 320, 240) != self.wine.screen.shot().region(0, 0, 320, 240),
                        "the sky stood still after the command")
        later = self.wine.probe("info", hwnd)["title"]
        self.assertGreater(float(FPS_TITLE.match(later).group(1)), refresh / 4, later)
        self.end(proc, window)

    def test_close_from_another_program_ends_it(self):
        proc, window = self.start()
        self.wine.probe("close", window["hwnd"])
        self.assertGone(window)
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_space_blends_clouds_over_the_sky_in_white_fog(self):
        proc, window = self.start(size_settings(640, 480))
        self.wine.probe("wait-title", window["hwnd"], RATE_TITLE, "20000")

        def darkened(picture):
            # Blended over the sky, thin grey cloud darkens the deep blue near
            # the zenith; added to it, cloud can only brighten it.
            return sum(1 for _, added in sky.excess(picture, 640, 480, (8, 8)) if added[2] < -8)

        self.assertEqual(darkened(self.wine.screen.shot()), 0)
        self.wine.probe("key", window["hwnd"], str(VK_SPACE))
        time.sleep(1.0)
        self.assertGreater(darkened(self.wine.screen.shot("renderer-bright-fog.png")), 50)
        self.wine.probe("key", window["hwnd"], str(VK_SPACE), "3")  # held: three more toggles
        time.sleep(1.0)
        self.assertEqual(darkened(self.wine.screen.shot()), 0)
        self.assertIsNone(proc.poll())
        self.end(proc, window)


class RendererWithoutGl(WineTestCase):
    """A display without GLX gives Wine no pixel format for the window."""

    glx = False

    def test_without_a_gl_context_the_window_is_black_until_escape(self):
        self.wine.files.remove_settings()
        proc = self.wine.programs.start(RENDERER)
        window = self.wine.probe.find_renderer()
        self.assertEqual((window["x"], window["y"], window["w"], window["h"]), (0, 0, 1024, 768))
        time.sleep(2.0)
        self.assertIsNone(proc.poll(), "the renderer ended without a GL context")
        picture = self.wine.screen.shot("renderer-without-gl.png")
        self.assertEqual({picture.pixel(x, y) for y in range(0, 768, 7) for x in range(0, 1024, 7)}, {(0, 0, 0)},
                         "the window is not black")
        # Nothing to draw, and nothing drawn: the loop waits for messages.
        cpu = cpu_seconds(proc.pid)
        time.sleep(3)
        self.assertLessEqual(100 * (cpu_seconds(proc.pid) - cpu) / 3, 1.0, "busy while drawing nothing")
        self.assertEqual(self.wine.probe("info", window["hwnd"])["title"], RENDERER_CLASS, "frames were counted")
        self.wine.screen.xdotool("mousemove", "500", "400")
        self.wine.screen.xdotool("key", "Escape")
        self.assertGone(window, msg="Escape did not close the window")
        self.assertEqual(wait_exit(proc, 20), 0)


if __name__ == "__main__":
    main()
