"""End-to-end: the programs on today's screens. The settings dialog lays
itself out at 96, 120 and 144 DPI as at 96, grown with the DPI, its windows
in their places and every mark, text, button and the panel's shadow drawn
as in the stored picture of each DPI; the renderer covers the whole screen
at each DPI; on a second monitor a full-screen run shows the same sky,
continued across the seam, in a window that never takes the keyboard from
the renderer."""

import os
import re
import time

from testkit import settings_dialog as layout
from testkit.names import (BUTTON_CLASS, COVER_CLASS, GROUP_FRAME_CLASS, MONITOR_VIEW_CLASS, PANEL_CLASS,
                           PICTURE_BOX_CLASS, RATE_TITLE, RENDERER_CLASS, VK_SPACE)
from testkit.processes import wait_exit
from testkit.screenshots import Picture
from testkit.settings import music_settings
from testkit.suite import WineTestCase, main
from tests.wine import sky

GREY = layout.BACKGROUND


def inside(inner, outer):
    return outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def box_of(picture, area, test):
    """The smallest rectangle (right and bottom outside) round the pixels of
    `area` for which `test` holds, or None."""
    xs, ys = [], []
    for y in range(area[1], area[3]):
        for x in range(area[0], area[2]):
            if test(picture.pixel(x, y)):
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def moved(rect, origin):
    return (rect[0] + origin[0], rect[1] + origin[1], rect[2] + origin[0], rect[3] + origin[1])


def grown(length_at_96, dpi):
    """A length at 96 DPI as large at `dpi`, before any rounding."""
    return length_at_96 * dpi / 96


def grown_place(name, places, dpi):
    """A control's place at 96 DPI as it lies at `dpi`, before any rounding:
    its offset from its container's corner grown with the DPI, from that
    corner as `places` (the windowed controls) has it."""
    container = layout.PLACES[name][0]
    corner = places[container][:2] if container in places else (0, 0)
    corner_96 = layout.at_96(container)[:2] if container in places else (0, 0)
    return tuple(corner[i % 2] + grown(v - corner_96[i % 2], dpi) for i, v in enumerate(layout.at_96(name)))


# The dialog at rest as it has always been drawn, one picture per DPI.
REFERENCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references")
AT_REST = music_settings(2, 0, "C:\\music dir\\song.wav")


class Dpi(WineTestCase):
    """Changes the prefix's DPI, so it works on a copy of the prefix. Each
    DPI is set once, for all that is checked at it: the tests run in the
    order of their names, 96 DPI first."""

    private_prefix = True

    def use_dpi(self, dpi):
        """The screen's DPI, set with a new wineserver where another one is in effect."""
        if self.wine.probe("screen")["dpi"] != dpi:
            self.wine.server.set_dpi(dpi)
        self.assertEqual(self.wine.probe("screen")["dpi"], dpi)

    def at_dpi(self, dpi):
        """The dialog at rest as stored, its windows and banner pictures in
        their places, and the renderer over the whole screen."""
        self.use_dpi(dpi)
        proc, dialog, seen = self.dialog_at_rest(AT_REST)
        try:
            with self.subTest("at rest"):
                self.check_at_rest(seen, dpi)
            with self.subTest("places"):
                self.check_places(dialog, dpi)
        finally:
            self.close(proc, dialog)
        with self.subTest("renderer"):
            self.check_renderer(dpi)

    def test_2_at_96_120_and_144_dpi(self):
        for dpi in (96, 120, 144):
            with self.subTest(dpi=dpi):
                self.at_dpi(dpi)

    def dialog_at_rest(self, content, face=GREY):
        """Opens the dialog with the pointer away from it; returns the process,
        the window and its client area once drawn and standing still, the
        banner boxes (which play) blanked."""
        self.wine.screen.xdotool("mousemove", "0", "0")
        os.makedirs(self.wine.files.drive_c("music dir"), exist_ok=True)
        with open(self.wine.files.drive_c("music dir", "song.wav"), "wb") as song:
            song.write(b"RIFF")  # the dialog only looks whether the file is there
        proc, dialog = self.open_dialog(content, face=face)
        before, picture = None, self.client_picture(dialog)
        deadline = time.monotonic() + 10
        while picture.data != before and time.monotonic() < deadline:
            before, picture = picture.data, self.client_picture(dialog)
        return proc, dialog, picture

    def client_picture(self, dialog, shot=None):
        """The dialog's client area, now or in `shot`, the banner boxes blanked."""
        x, y = dialog["client_x"], dialog["client_y"]
        boxes = [(b[0] - x, b[1] - y, b[2] - x, b[3] - y) for b in self.windows(dialog).get(PICTURE_BOX_CLASS, [])]
        picture = (shot or self.wine.screen.shot()).cut(x, y, x + dialog["client_w"], y + dialog["client_h"])
        return picture.blanked(boxes)

    def assertShadow(self, picture, panel, frame, face, depth):
        """The panel's shadow across the middle of its right and of its bottom
        edge: from the frame's edge (the last pixel of the frame's colour) to
        the panel's end, `depth` rings of grey, each nearer the face colour
        than the one before; past the panel the face colour."""
        x0, y0, x1, y1 = panel
        lines = {"right": [picture.pixel(x, (y0 + y1) // 2) for x in range(x0, x1 + 1)],
                 "bottom": [picture.pixel((x0 + x1) // 2, y) for y in range(y0, y1 + 1)]}
        for where, line in lines.items():
            rings = line[max(i for i, p in enumerate(line) if p == frame) + 1:-1]
            self.assertEqual(len(rings), depth, f"{where}: {rings}")
            distances = [abs(ring[0] - face[0]) for ring in rings]
            self.assertTrue(all(ring[0] == ring[1] == ring[2] for ring in rings), f"{where}: not grey: {rings}")
            self.assertEqual(distances, sorted(set(distances), reverse=True), f"{where}: not fading: {rings}")
            self.assertLess(distances[0], abs(frame[0] - face[0]), f"{where}: {rings}")
            self.assertEqual(line[-1], face, f"the shadow runs past the panel's {where}")

    def check_at_rest(self, seen, dpi):
        """The dialog at rest, `seen`, equals the stored picture pixel for
        pixel, the playing banner boxes aside: every mark, text, button and
        the panel's shadow as drawn and judged at this DPI. With
        BRUMALIS_NEW_REFERENCES=1 it stores what it sees in its place."""
        name = f"dialog-at-rest-{dpi}dpi.png"
        seen.save(self.wine.out.file(name))
        reference = os.path.join(REFERENCES, name)
        if os.environ.get("BRUMALIS_NEW_REFERENCES") == "1":
            seen.save(reference)
        stored = Picture.load(reference)
        self.assertEqual((seen.width, seen.height), (stored.width, stored.height))
        self.assertEqual(seen.differences(stored), (0, None), f"out/{self.wine.arch}/{name} and {reference}")

    def test_1_high_contrast_draws_in_the_schemes_colours_and_off_changes_nothing(self):
        self.use_dpi(96)
        proc, dialog, before = self.dialog_at_rest(AT_REST)
        panel, group = layout.at_96("panel"), layout.at_96("group")
        inside_group = (group[0] + 20, group[3] - 5)
        try:
            # Switched on while the dialog is open: it repaints in one face
            # colour, whatever this system's colours in a running program are.
            self.wine.probe.high_contrast(True)
            corner = (dialog["client_x"] + 2, dialog["client_y"] + 2)
            self.wine.screen.wait_for(lambda shot: shot.pixel(*corner) != GREY, 10, "the dialog's repaint")
            time.sleep(0.5)  # the whole repaint, not only its start
            during = self.client_picture(dialog)
            face = during.pixel(2, 2)
            self.assertEqual(during.pixel(panel[0] + 3, panel[1] + 3), face, "the panel's inside")
            self.assertEqual(during.pixel(*inside_group), face, "the group's inside")
            # And off again: as it was, pixel for pixel.
            self.wine.probe.high_contrast(False)
            self.wine.screen.wait_for(lambda shot: self.client_picture(dialog, shot).data == before.data, 10,
                                      "the dialog as it was before")
        finally:
            self.close(proc, dialog)

        # Opened with high contrast on: the black scheme's colours, the same
        # shapes, the pictures as they are.
        scheme = self.wine.probe.high_contrast(True)
        try:
            proc, dialog, picture = self.dialog_at_rest(music_settings(0), face=scheme["face"])
            picture.save(self.wine.out.file("dialog-high-contrast.png"))
            self.close(proc, dialog)
        finally:
            self.wine.probe.high_contrast(False)
        face, text = scheme["face"], scheme["text"]
        self.assertEqual(picture.pixel(*inside_group), face)
        # The panel: a frame in the text colour, its shadow fading from the
        # text colour to the face colour.
        self.assertShadow(picture, panel, text, face, layout.SHADOW_DEPTH)
        # Push buttons: apply has the focus (outline in the text colour, the
        # inner band highlighted), cancel is plain, browse is disabled.
        for name, outline, band in (("apply", text, scheme["highlight"]), ("cancel", text, face),
                                    ("browse", scheme["gray_text"], face)):
            bx0, by0, bx1, by1 = layout.at_96(name)
            mx, bmy = (bx0 + bx1) // 2, (by0 + by1) // 2
            self.assertEqual((picture.pixel(mx, by0), picture.pixel(bx0 + 1, bmy)), (outline, band), name)
        # Texts in the text colour: the captions, the group's and the version line.
        for name in layout.LABELS:
            self.assertIn(text, picture.region(*layout.at_96(name)), layout.TEXTS[name])
        self.assertIn(text, picture.region(group[0], group[1], group[0] + 40, group[1] + 12), "BGM")
        # The chosen mark keeps its blue.
        mx, my = layout.at_96("mark 0")[:2]
        self.assertTrue(any(p[2] > p[0] + 60 for p in picture.region(mx, my, mx + 12, my + 12)), "mark")

    def windows(self, dialog):
        found = {}
        for c in self.wine.probe.children(dialog["hwnd"]):
            found.setdefault(c["class"], []).append((c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"]))
        return found

    def places(self, dialog):
        """The places of the dialog's windowed controls, by name, in its
        client area: (left, top, right, bottom)."""
        found = self.windows(dialog)
        client = (-dialog["client_x"], -dialog["client_y"])
        [panel], [group], [combo] = found.get(PANEL_CLASS), found.get(GROUP_FRAME_CLASS), found.get("ComboBox")
        browse, apply, cancel = sorted(found.get(BUTTON_CLASS, []), key=lambda r: (not inside(r, group), r[0]))
        banner0, banner1 = sorted(found.get(PICTURE_BOX_CLASS, []))
        return {name: moved(rect, client) for name, rect in (
            ("panel", panel), ("group", group), ("track box", combo), ("browse", browse), ("apply", apply),
            ("cancel", cancel), ("banner 0", banner0), ("banner 1", banner1))}

    def check_places(self, dialog, dpi):
        """Checks the dialog's windows at `dpi` against their promised places
        at 96 DPI, grown with the DPI, and the banner's pictures in theirs."""
        x, y, w, h = dialog["x"], dialog["y"], dialog["w"], dialog["h"]
        self.wine.screen.shot().save(self.wine.out.file(f"dialog-{dpi}dpi.png"), crop=(x, y, x + w, y + h))
        client = (dialog["client_x"], dialog["client_y"])
        size = (dialog["client_w"], dialog["client_h"])
        places = self.places(dialog)

        # Centred across the screen, a third of the free height from the top.
        screen_w, screen_h = self.wine.display.width, self.wine.display.height
        self.assertLessEqual(abs(x - (screen_w - x - w)), 2, "not centred across the screen")
        self.assertLessEqual(abs(2 * y - (screen_h - y - h)), 2, "not a third of the free height down")

        # Every windowed control at its place at 96 DPI grown with the DPI,
        # from its container's corner: at 96 DPI exactly, at others within a
        # pixel (the client area's size is the stored picture's).
        slack = 0 if dpi == 96 else 1
        for name, rect in places.items():
            expected = grown_place(name, places, dpi)
            self.assertLessEqual(max(abs(a - b) for a, b in zip(rect, expected)), slack, f"{name}: {rect}, {expected}")
        # The buttons and banners under the panel share a line.
        self.assertEqual({places[n][1] for n in ("apply", "cancel", "banner 0", "banner 1")}, {places["apply"][1]})

        # The right box shows its first picture once the left one has played
        # its 24 frames, some 2.5 s after the load; later on busy cores.
        banners = [moved(places[f"banner {i}"], client) for i in range(2)]
        picture = self.wine.screen.wait_for(lambda shot: all(box_of(shot, b, lambda p: sum(p) > 120) for b in banners),
                                            10, "a picture in both banner boxes")
        picture = picture.cut(client[0], client[1], client[0] + size[0], client[1] + size[1])

        # The banner pictures fill their boxes as at 96 DPI: the grey-bordered
        # field grown with the DPI, from the box's top left.
        for i in range(2):
            box = places[f"banner {i}"]
            drawn = box_of(picture, box, lambda p: sum(p) > 120)
            self.assertIsNotNone(drawn, f"banner box {i} is empty")
            self.assertEqual(drawn[:2], box[:2], f"banner box {i}")
            for j in range(2):
                self.assertLessEqual(abs(drawn[j + 2] - box[j] - grown(layout.BANNER_FIELD[j], dpi)), 1,
                                     f"banner box {i}: {drawn}")

    def check_renderer(self, dpi):
        width, height = self.wine.display.width, self.wine.display.height
        proc, main, renderer = self.start_run(music_settings(0))
        self.assertEqual((renderer["x"], renderer["y"], renderer["w"], renderer["h"]), (0, 0, width, height))
        corners = ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1))
        picture = self.wine.screen.wait_for(lambda shot: all(shot.pixel(*c) != (0, 0, 0) for c in corners), 10,
                                            "the sky in every corner")
        picture.save(self.wine.out.file(f"renderer-{dpi}dpi.png"))
        self.escape(proc, renderer, main)


class TwoMonitors(WineTestCase):
    """A second monitor, 1024 x 768, right of the 1280 x 1024 primary one."""

    second_monitor = (1024, 768)
    SECOND = (1280, 0, 2304, 768)  # its place on the desktop

    def start_sky_run(self):
        """A full-screen run, with the renderer's window over the second
        monitor, once it draws frames."""
        proc, main, renderer = self.start_run(music_settings(0))
        other = self.wine.probe.find_window(MONITOR_VIEW_CLASS, "-", 20000, visible=True)
        self.wine.probe("wait-title", renderer["hwnd"], RATE_TITLE, "20000")
        return proc, main, renderer, other

    def test_the_second_monitor_continues_the_sky_and_escape_there_ends_the_run(self):
        screen = self.wine.probe("screen")
        self.assertEqual(screen["monitors"], 2, "Wine sees one monitor")
        # Another program's window on the second monitor shows what a run must hide.
        window, _ = self.wine.probe.make_window("other program", 400, 300, at=(1290, 100))
        time.sleep(0.5)
        before = self.wine.screen.shot()
        self.assertEqual(before.pixel(1300, 150), (128, 128, 128), "the other window is not on the second monitor")

        proc, main, renderer, other = self.start_sky_run()
        self.assertEqual(other["pid"], renderer["pid"], "the second monitor's window is not the renderer's")
        self.assertEqual((other["x"], other["y"], other["w"], other["h"]), (1280, 0, 1024, 768))
        self.assertEqual((renderer["x"], renderer["y"], renderer["w"], renderer["h"]), (0, 0, 1280, 1024))
        # The run's black cover may stay below it.
        covers = [w for w in self.wine.probe.windows_of(main["pid"]) if w["class"] == COVER_CLASS]
        self.assertEqual([(c["x"], c["y"], c["w"], c["h"]) for c in covers], [(1280, 0, 1024, 768)])
        # Both shown popups (no border, caption or frame) that take no
        # activation and no taskbar button; only the renderer's is top-most,
        # the cover lies beneath the renderer's windows.
        for popup, topmost in ((other, 0x8), (covers[0], 0)):
            with self.subTest(popup=popup["class"]):
                self.assertEqual(popup["style"] & 0x90C40000, 0x90000000)
                self.assertEqual(popup["exstyle"] & 0x8000088, 0x8000080 | topmost)
        order = [w["class"] for w in self.wine.probe.windows_of(renderer["pid"], main["pid"])]
        self.assertEqual(order, [MONITOR_VIEW_CLASS, RENDERER_CLASS, COVER_CLASS])

        first = self.wine.screen.shot("two-monitors-run.png")
        time.sleep(1.0)
        later = self.wine.screen.shot()
        # The gradient that the primary window's view would show there, were
        # it that much wider, and clouds on it, moving.
        sky.assert_sky(self, first, 1280, 1024, self.SECOND)
        sky.assert_sky(self, later, 1280, 1024, self.SECOND)
        self.assertTrue(first.region(*self.SECOND) != later.region(*self.SECOND),
                        "the sky on the second monitor stood still")
        # The two windows show each frame one after the other: a shot may
        # fall between them, but whenever both show the same frame the sky
        # changes across the seam less than four columns apart on either side.
        def continuous(picture):
            seam, left, right = sky.seam_contrast(picture, 1280, 0, 768)
            print(f"across the seam {seam:.2f}, four columns apart {left:.2f} (primary), {right:.2f} (second)")
            return seam < min(left, right)
        self.wine.screen.wait_for(continuous, what="the sky continued across the seam")
        self.assertEqual(self.wine.probe("info", other["hwnd"])["title"], "", "the second monitor's window has a title")

        # Space changes the sky on every monitor: laid over it in white fog,
        # the clouds turn it greyer.
        def blueness(picture):
            samples = [picture.pixel(x, y) for y in range(4, 768, 8) for x in range(1284, 2304, 8)]
            return sum(b - r for r, _, b in samples) / len(samples)

        greyer = blueness(later) - 12
        self.wine.probe("key", renderer["hwnd"], str(VK_SPACE))
        bright = self.wine.screen.wait_for(lambda picture: blueness(picture) < greyer,
                                           what="the second monitor's sky greyed by Space")
        bright.save(self.wine.out.file("two-monitors-bright-fog.png"))
        print(f"second monitor's blue over red: {blueness(later):.1f}, in bright fog {blueness(bright):.1f}")

        # A click there leaves the keyboard with the renderer, and Escape
        # pressed there ends the run (without a window manager X hands keys
        # to the window under the pointer).
        self.wine.screen.xdotool("mousemove", "1600", "300", "click", "1")
        time.sleep(0.5)
        focus = self.wine.probe("focus", renderer["hwnd"])
        self.assertEqual((focus["focus"], focus["foreground"]), (renderer["hwnd"], renderer["hwnd"]))
        self.wine.screen.xdotool("key", "Escape")
        self.assertGone(renderer, 20000, "Escape on the second monitor did not end the run")
        self.assertGone(other, 10000, "the second monitor's window stayed after the renderer")
        self.assertEqual(wait_exit(proc, 15), 0)
        for cls in (RENDERER_CLASS, MONITOR_VIEW_CLASS, COVER_CLASS):
            self.assertFalse(self.wine.probe.window_exists(cls), f"a window of class {cls} is left")
        self.assertEqual(self.wine.screen.shot().pixel(1300, 150), (128, 128, 128), "the second monitor stays covered")
        window.kill()

    def test_every_monitor_rests_while_nobody_can_see_it_and_follows_a_new_layout(self):
        proc, main, renderer, other = self.start_sky_run()
        for name, rest, wake in (("display off", ("power-setting", "0"), ("power-setting", "1")),
                                 ("minimised", ("show", "6"), ("show", "9"))):
            with self.subTest(name):
                self.wine.probe(rest[0], renderer["hwnd"], *rest[1:])
                time.sleep(0.5)
                before = self.wine.screen.shot()
                time.sleep(1.5)
                self.assertTrue(before.region(*self.SECOND) == self.wine.screen.shot().region(*self.SECOND),
                                f"{name}: frames on the second monitor")
                self.wine.probe(wake[0], renderer["hwnd"], *wake[1:])
                time.sleep(0.5)
                self.assertTrue(before.region(*self.SECOND) != self.wine.screen.shot().region(*self.SECOND),
                                f"{name}: the second monitor's sky stood still after the rest")
        # The system says the monitors changed: the windows over the others
        # are made anew for the layout, none left behind.
        self.wine.probe("send", renderer["hwnd"], "0x7E", "24", "0")  # WM_DISPLAYCHANGE
        self.assertGone(other, 10000, "the old window stayed")
        again = self.wine.probe.find_window(MONITOR_VIEW_CLASS, "-", 20000, visible=True)
        self.assertEqual((again["x"], again["y"], again["w"], again["h"]), (1280, 0, 1024, 768))
        self.assertEqual([w["hwnd"] for w in self.wine.probe.windows_of(renderer["pid"])
                          if w["class"] == MONITOR_VIEW_CLASS], [again["hwnd"]])
        time.sleep(1.0)
        sky.assert_sky(self, self.wine.screen.shot(), 1280, 1024, self.SECOND)
        self.escape(proc, renderer, main)
        self.assertGone(again, 20000, "the second monitor's window stayed after Escape")

    def test_the_cursor_is_hidden_and_given_back_only_for_the_letter_s_the_covers_too(self):
        # Only the letter S hides the cursor, and gives it back at the end: a
        # run started without arguments shows the normal arrow over the
        # covers too. (The renderer hides its own.)
        for args, hidden, shows in ((["/s"], True, ["0", "-1"]), ([], False, [])):
            with self.subTest(args=args):
                log = self.wine.out.log(f"cover-pointer{len(args)}.txt")
                proc, main, renderer = self.start_run(music_settings(0), *(args or [None]), trace="+pid,+cursor",
                                                      log=log)
                self.wine.probe.find_window(COVER_CLASS, "-", 20000)
                for x in (1600, 1700, 1800):  # over the cover, on the second monitor
                    self.wine.screen.xdotool("mousemove", str(x), "300")
                    time.sleep(0.3)
                self.escape(proc, renderer, main)
                # Lines start with the process and thread ids, in hex; no
                # pointer is "(nil)".
                host = f"{int(main['pid']):04x}"
                with open(log, encoding="utf-8", errors="replace") as f:
                    trace = f.read()
                pointers = set(re.findall(rf"^{host}:\w+:trace:cursor:NtUserSetCursor (\S+)", trace, re.M))
                self.assertTrue(pointers, "the cover set no pointer")
                self.assertEqual({p == "(nil)" for p in pointers}, {hidden}, pointers)
                self.assertEqual(re.findall(rf"^{host}:\w+:trace:cursor:NtUserShowCursor (-?\d+),", trace, re.M), shows)


if __name__ == "__main__":
    main()
