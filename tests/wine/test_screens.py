"""End-to-end: the programs on today's screens. The settings dialog lays
itself out from twips at 96, 120 and 144 DPI with every control, text,
picture and the panel's shadow inside its place; the renderer covers the
whole screen at each DPI; a full-screen run blacks out a second monitor
with a cover that never takes the keyboard from the renderer."""

import os
import re
import time

from testkit.names import (BUTTON_CLASS, COVER_CLASS, GROUP_FRAME_CLASS, HOST, PANEL_CLASS, PICTURE_BOX_CLASS,
                           VK_ESCAPE)
from testkit.processes import wait_exit
from testkit.screenshots import Picture
from testkit.settings import music_settings, size_lines
from testkit.suite import WineTestCase, main

GREY = (224, 224, 224)
BLUE = (0, 60, 116)  # the push button's outline
DISABLED_OUTLINE = (201, 199, 186)


def round_half_even(numerator, denominator):
    """numerator / denominator to the nearest integer, ties to even (both positive)."""
    q, r = divmod(numerator, denominator)
    if 2 * r > denominator or (2 * r == denominator and q % 2 == 1):
        q += 1
    return q


def px(twips, dpi):
    return round_half_even(twips * dpi, 1440)


def scaled(pixels_at_96, dpi):
    return round_half_even(pixels_at_96 * dpi, 96)


def place(left, top, width, height, dpi):
    """A place given in twips, in pixels: (left, top, right, bottom)."""
    return (px(left, dpi), px(top, dpi), px(left, dpi) + px(width, dpi), px(top, dpi) + px(height, dpi))


def moved(rect, origin):
    return (rect[0] + origin[0], rect[1] + origin[1], rect[2] + origin[0], rect[3] + origin[1])


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


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


def dark(p):
    return sum(p) < 300


# The dialog's layout in twips, relative to the container named.
PANEL = (180, 180, 6735, 2715)          # GFXFrameX1, on the dialog
GROUP = (180, 120, 6255, 2355)          # Frame3, on the panel
MARKS = {1: (180, 360), 0: (180, 660), 2: (180, 960)}  # Img_BGM(i), 195 x 195, on the group
COMBO = (1200, 300, 615, 300)
BUTTON_FILE = (180, 1260, 675, 375)
BUTTON_SET = (2100, 2940, 1335, 435)
BUTTON_CANCEL = (3540, 2940, 1335, 435)
BANNERS = [(180, 2940, 1845, 780), (4980, 2940, 1845, 780)]
# Labels: their place, the container, and how far right their text may run
# (the left edge of what follows on their line, in twips of that container).
LABELS = {
    "音楽CD": ((420, 360, 645, 195), "group", 1200),
    "曲目をﾘﾋﾟｰﾄ": ((1860, 360, 990, 195), "group", 6255),
    "なし": ((420, 660, 330, 195), "group", 6255),
    "MP3、WAV": ((420, 960, 900, 195), "group", 6255),
    "Designed by t-orka Ver.1.0.0": ((2100, 3480, 2475, 195), "dialog", 4980),
}
SHADOW_AT_96 = 7
# The dialog at rest as it has always been drawn, one picture per DPI.
REFERENCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references")
AT_REST = music_settings(2, 0, "C:\\music dir\\song.wav")
# The black high-contrast scheme the probe switches on.
SCHEME_FACE, SCHEME_TEXT, SCHEME_HIGHLIGHT, SCHEME_GRAY = (0, 0, 0), (255, 255, 255), (128, 0, 128), (0, 255, 0)


class Dpi(WineTestCase):
    """Changes the prefix's DPI, so it works on a copy of the prefix."""

    private_prefix = True
    DPIS = (96, 120, 144)

    def open_dialog(self):
        self.wine.write_settings(music_settings(1, 0))
        proc = self.wine.start_program(HOST, "/c")
        dialog = self.wine.find_dialog()
        # Both banner boxes have shown a picture 2.5 s after the load.
        time.sleep(3.0)
        return proc, dialog

    def dialog_at_rest(self, content):
        """Opens the dialog with the pointer away from it; returns the process,
        the window and its client area once drawn, the banner boxes (which
        play) blanked."""
        self.wine.xdotool("mousemove", "0", "0")
        os.makedirs(self.wine.drive_c("music dir"), exist_ok=True)
        with open(self.wine.drive_c("music dir", "song.wav"), "wb") as song:
            song.write(b"RIFF")  # the dialog only looks whether the file is there
        self.wine.write_settings(content)
        proc = self.wine.start_program(HOST, "/c")
        dialog = self.wine.find_dialog()
        time.sleep(1.0)
        return proc, dialog, self.client_picture(dialog)

    def client_picture(self, dialog):
        x, y = int(dialog["client_x"]), int(dialog["client_y"])
        boxes = [(b[0] - x, b[1] - y, b[2] - x, b[3] - y) for b in self.windows(dialog).get(PICTURE_BOX_CLASS, [])]
        picture = self.wine.screenshot().cut(x, y, x + int(dialog["client_w"]), y + int(dialog["client_h"]))
        return picture.blanked(boxes)

    def close(self, proc, dialog):
        self.wine.probe("close", dialog["hwnd"])
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_the_dialog_at_rest_is_drawn_as_it_always_was(self):
        """At 96 and 144 DPI the dialog at rest equals the stored pictures
        pixel for pixel, the playing banner boxes aside. With
        BRUMALIS_NEW_REFERENCES=1 it stores what it sees in their place."""
        for dpi in (96, 144):
            with self.subTest(dpi=dpi):
                self.wine.set_dpi(dpi)
                proc, dialog, seen = self.dialog_at_rest(AT_REST)
                self.close(proc, dialog)
                name = f"dialog-at-rest-{dpi}dpi.png"
                seen.save(self.wine.out_file(name))
                reference = os.path.join(REFERENCES, name)
                if os.environ.get("BRUMALIS_NEW_REFERENCES") == "1":
                    seen.save(reference)
                stored = Picture.load(reference)
                self.assertEqual((seen.width, seen.height), (stored.width, stored.height))
                self.assertEqual(seen.differences(stored), (0, None), f"out/{self.wine.arch}/{name} and {reference}")

    def test_high_contrast_draws_in_the_schemes_colours_and_off_changes_nothing(self):
        self.wine.set_dpi(96)
        proc, dialog, before = self.dialog_at_rest(AT_REST)
        panel = place(*PANEL, 96)
        group = moved(place(*GROUP, 96), panel)
        inside_group = (group[0] + 20, group[3] - 5)
        try:
            # Switched on while the dialog is open: it repaints in one face
            # colour, whatever this system's colours in a running program are.
            self.wine.probe("high-contrast", "on")
            during = self.client_picture(dialog)
            deadline = time.monotonic() + 10
            while during.pixel(2, 2) == GREY and time.monotonic() < deadline:
                time.sleep(0.5)
                during = self.client_picture(dialog)
            time.sleep(0.5)  # the whole repaint, not only its start
            during = self.client_picture(dialog)
            face = during.pixel(2, 2)
            self.assertNotEqual(face, GREY, "the dialog did not repaint")
            self.assertEqual(during.pixel(panel[0] + 3, panel[1] + 3), face, "the panel's inside")
            self.assertEqual(during.pixel(*inside_group), face, "the group's inside")
            # And off again: as it was, pixel for pixel.
            self.wine.probe("high-contrast", "off")
            after = self.client_picture(dialog)
            deadline = time.monotonic() + 10
            while after.differences(before)[0] and time.monotonic() < deadline:
                time.sleep(0.5)
                after = self.client_picture(dialog)
            self.assertEqual(after.differences(before), (0, None))
        finally:
            self.close(proc, dialog)

        # Opened with high contrast on: the black scheme's colours, the same
        # shapes, the pictures as they are.
        self.wine.probe("high-contrast", "on")
        try:
            proc, dialog, picture = self.dialog_at_rest(music_settings(0))
            picture.save(self.wine.out_file("dialog-high-contrast.png"))
            self.close(proc, dialog)
        finally:
            self.wine.probe("high-contrast", "off")
        self.assertEqual(picture.pixel(2, 2), SCHEME_FACE)
        self.assertEqual(picture.pixel(*inside_group), SCHEME_FACE)
        # The panel: a frame in the text colour, its shadow fading from the
        # text colour to the face colour.
        x0, y0, x1, y1 = panel
        my = (y0 + y1) // 2
        self.assertEqual(picture.pixel(x1 - SHADOW_AT_96 - 1, my), SCHEME_TEXT, "the frame's right edge")
        shadow = 255 - 255 // 100 * 50
        for ring in range(1, SHADOW_AT_96 + 1):
            grey = shadow - shadow // SHADOW_AT_96 * ring
            self.assertEqual(picture.pixel(x1 - SHADOW_AT_96 + ring - 1, my), (grey, grey, grey), f"ring {ring}")
        self.assertEqual(picture.pixel(x1, my), SCHEME_FACE)
        # Push buttons: apply has the focus (outline in the text colour, the
        # inner band highlighted), cancel is plain, browse is disabled.
        for twips, outline, band in ((BUTTON_SET, SCHEME_TEXT, SCHEME_HIGHLIGHT),
                                     (BUTTON_CANCEL, SCHEME_TEXT, SCHEME_FACE),
                                     (BUTTON_FILE, SCHEME_GRAY, SCHEME_FACE)):
            bx0, by0, bx1, by1 = moved(place(*twips, 96), group) if twips == BUTTON_FILE else place(*twips, 96)
            mx, bmy = (bx0 + bx1) // 2, (by0 + by1) // 2
            self.assertEqual((picture.pixel(mx, by0), picture.pixel(bx0 + 1, bmy)), (outline, band), str(twips))
        # Texts in the text colour: the captions, the group's and the version line.
        for text, (twips, container, _) in LABELS.items():
            x, y, r, b = moved(place(*twips, 96), group if container == "group" else (0, 0))
            self.assertIn(SCHEME_TEXT, picture.region(x, y, r, b), text)
        self.assertIn(SCHEME_TEXT, picture.region(group[0], group[1], group[0] + 40, group[1] + 12), "BGM")
        # The chosen mark keeps its blue.
        mx, my = moved(place(*MARKS[0], 195, 195, 96), group)[:2]
        self.assertTrue(any(p[2] > p[0] + 60 for p in picture.region(mx, my, mx + 12, my + 12)), "mark")

    def windows(self, dialog):
        found = {}
        for c in self.wine.probe("texts", dialog["hwnd"])["children"]:
            found.setdefault(c["class"], []).append((c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"]))
        return found

    def test_the_dialog_fills_its_places_at_every_dpi(self):
        ink_heights = {}
        for dpi in self.DPIS:
            with self.subTest(dpi=dpi):
                self.wine.set_dpi(dpi)
                self.assertEqual(self.wine.probe("screen")["dpi"], str(dpi))
                proc, dialog = self.open_dialog()
                try:
                    ink_heights[dpi] = self.check_dialog(dialog, dpi)
                finally:
                    self.wine.probe("close", dialog["hwnd"])
                    self.assertEqual(wait_exit(proc, 20), 0)
        # Text grows with the DPI: nothing of it is cut off.
        for dpi in self.DPIS[1:]:
            if dpi not in ink_heights or 96 not in ink_heights:
                continue
            for text, height in ink_heights[dpi].items():
                expected = ink_heights[96][text] * dpi / 96
                self.assertLessEqual(abs(height - expected), 2 + expected / 10, f"{text} at {dpi} DPI")

    def check_dialog(self, dialog, dpi):
        client = (int(dialog["client_x"]), int(dialog["client_y"]))
        self.assertEqual((int(dialog["client_w"]), int(dialog["client_h"])), (px(7020, dpi), px(3900, dpi)))
        self.wine.screenshot().save(self.wine.out_file(f"dialog-{dpi}dpi.png"),
                                    crop=(int(dialog["x"]), int(dialog["y"]), int(dialog["x"]) + int(dialog["w"]),
                                          int(dialog["y"]) + int(dialog["h"])))
        found = self.windows(dialog)
        dialog_area = moved((0, 0, px(7020, dpi), px(3900, dpi)), client)

        # Windowed controls: exactly at their places, inside their containers.
        panel = moved(place(*PANEL, dpi), client)
        self.assertEqual(found.get(PANEL_CLASS), [panel])
        group = moved(place(*GROUP, dpi), panel)
        self.assertEqual(found.get(GROUP_FRAME_CLASS), [group])
        buttons = {"file": moved(place(*BUTTON_FILE, dpi), group), "set": moved(place(*BUTTON_SET, dpi), client),
                   "cancel": moved(place(*BUTTON_CANCEL, dpi), client)}
        self.assertEqual(sorted(found.get(BUTTON_CLASS, [])), sorted(buttons.values()))
        banners = [moved(place(*b, dpi), client) for b in BANNERS]
        self.assertEqual(sorted(found.get(PICTURE_BOX_CLASS, [])), sorted(banners))
        [combo] = found.get("ComboBox", [None])
        expected_combo = moved(place(*COMBO, dpi), group)
        self.assertEqual(combo[:3], expected_combo[:3])
        self.assertLessEqual(combo[3], group[1] + px(MARKS[0][1], dpi), "the track box reaches the next row")
        self.assertTrue(inside(panel, dialog_area))
        for rect in [combo, buttons["file"]]:
            self.assertTrue(inside(rect, group))

        # The right box shows its first picture once the left one has played
        # its 24 frames, some 2.5 s after the load; later on busy cores.
        deadline = time.monotonic() + 10
        picture = self.wine.screenshot()
        while time.monotonic() < deadline and not all(box_of(picture, b, lambda p: sum(p) > 120) for b in banners):
            time.sleep(0.5)
            picture = self.wine.screenshot()

        # The option marks fill their places as at 96 DPI: the picture is
        # 12 pixels at 96, grown with the DPI, at the place's top left.
        side = scaled(12, dpi)
        places = {}
        for index, (left, top) in MARKS.items():
            mark = moved(place(left, top, 195, 195, dpi), group)
            places[f"mark {index}"] = mark
            search = (mark[0] - 3, mark[1] - 3, mark[2] + 3, mark[3] + 3)
            drawn = box_of(picture, search, lambda p: p != GREY)
            self.assertEqual(drawn, (mark[0], mark[1], mark[0] + side, mark[1] + side), f"mark {index}")
            blue = box_of(picture, mark, lambda p: p[2] > p[0] + 60 and p[2] > 150)
            self.assertEqual(blue is not None, index == 1, f"mark {index} chosen")

        # The banner pictures fill their boxes as at 96 DPI: the grey-bordered
        # 120 x 50 field, grown with the DPI, from the box's top left.
        for i, box in enumerate(banners):
            drawn = box_of(picture, box, lambda p: sum(p) > 120)
            self.assertIsNotNone(drawn, f"banner box {i} is empty")
            self.assertEqual(drawn[:2], box[:2], f"banner box {i}")
            self.assertLessEqual(abs(drawn[2] - box[0] - scaled(120, dpi)), 1, f"banner box {i} width")
            self.assertLessEqual(abs(drawn[3] - box[1] - scaled(50, dpi)), 1, f"banner box {i} height")

        # Texts: inside their places from top to bottom, never past what
        # follows on their line.
        ink_heights = {}
        containers = {"group": group, "dialog": client}
        for text, (twips, container, limit) in LABELS.items():
            origin = containers[container]
            label = moved(place(*twips, dpi), origin)
            right = origin[0] + px(limit, dpi)
            # Up to what follows on the line, and a little above and below
            # (less than the gap to the next row).
            search = (label[0] - 4, label[1] - px(60, dpi), right, label[3] + px(60, dpi))
            ink = box_of(picture, search, dark)
            self.assertIsNotNone(ink, f"{text} not shown")
            self.assertTrue(inside(ink, (label[0], label[1], right - 2, label[3])), f"{text}: {ink} outside {label}")
            ink_heights[text] = ink[3] - ink[1]
            places[text] = ink
        # The group's caption sits on its frame line, right of the corner.
        caption = box_of(picture, (group[0], group[1], group[0] + px(1200, dpi), group[1] + px(300, dpi)), dark)
        self.assertIsNotNone(caption, "no group caption")
        self.assertGreaterEqual(caption[0], group[0] + scaled(8, dpi))
        ink_heights["BGM"] = caption[3] - caption[1]

        # Nothing overlaps.
        places.update({"track box": combo, **{f"button {k}": v for k, v in buttons.items()},
                       "banner 0": banners[0], "banner 1": banners[1]})
        names = sorted(places)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                self.assertFalse(overlap(places[a], places[b]), f"{a} {places[a]} overlaps {b} {places[b]}")

        # The push buttons keep their look: a one-pixel outline, blue when
        # enabled and grey when disabled, the caption centred inside it.
        for name, rect in buttons.items():
            x0, y0, x1, y1 = rect
            mx, my = (x0 + x1) // 2, (y0 + y1) // 2
            outline = DISABLED_OUTLINE if name == "file" else BLUE
            for point in ((mx, y0), (mx, y1 - 1), (x0, my), (x1 - 1, my)):
                self.assertEqual(picture.pixel(*point), outline, f"{name} outline at {point}")
            if name != "file":
                ink = box_of(picture, (x0 + 3, y0 + 3, x1 - 3, y1 - 3), dark)
                self.assertIsNotNone(ink, f"{name} has no caption")
                self.assertLessEqual(abs((ink[0] - x0) - (x1 - ink[2])), 2, f"{name} caption not centred")
                self.assertLessEqual(abs((ink[1] - y0) - (y1 - ink[3])), 3, f"{name} caption not centred")

        # The panel's shadow: as deep as 7 pixels at 96 DPI, grown with the
        # DPI, its rings fading from the frame to the dialog's grey, all
        # inside the panel.
        depth = scaled(SHADOW_AT_96, dpi)
        step = int((100 - 224) / depth)  # the ring colour's step, truncated toward zero
        x0, y0, x1, y1 = panel
        my, mx = (y0 + y1) // 2, (x0 + x1) // 2
        self.assertEqual(picture.pixel(x1 - depth - 1, my), (0, 0, 0), "the frame's right edge")
        self.assertEqual(picture.pixel(mx, y1 - depth - 1), (0, 0, 0), "the frame's bottom edge")
        for ring in range(1, depth + 1):
            grey = 100 - step * ring
            self.assertEqual(picture.pixel(x1 - depth + ring - 1, my), (grey, grey, grey), f"right ring {ring}")
            self.assertEqual(picture.pixel(mx, y1 - depth + ring - 1), (grey, grey, grey), f"bottom ring {ring}")
        self.assertEqual(picture.pixel(x1, my), GREY, "the shadow runs past the panel")
        self.assertEqual(picture.pixel(mx, y1), GREY, "the shadow runs past the panel")
        return ink_heights

    def test_the_renderer_covers_the_screen_at_every_dpi(self):
        width, height = self.wine.display.width, self.wine.display.height
        for dpi in self.DPIS:
            with self.subTest(dpi=dpi):
                self.wine.set_dpi(dpi)
                self.wine.write_settings(music_settings(0))
                proc = self.wine.start_program(HOST, "/s")
                main = self.wine.find_run()
                renderer = self.wine.find_renderer(20000)
                time.sleep(2.0)
                self.assertEqual((int(renderer["x"]), int(renderer["y"]), int(renderer["w"]), int(renderer["h"])),
                                 (0, 0, width, height))
                self.assertIn(size_lines(width, height), self.wine.read_settings())
                picture = self.wine.screenshot(f"renderer-{dpi}dpi.png")
                for corner in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
                    self.assertNotEqual(picture.pixel(*corner), (0, 0, 0), f"nothing drawn at {corner}")
                self.wine.probe("key", renderer["hwnd"], str(VK_ESCAPE))
                self.assertGone(main, 20000)
                self.assertEqual(wait_exit(proc, 10), 0)


class TwoMonitors(WineTestCase):
    """A second monitor, 1024 x 768, right of the 1280 x 1024 primary one."""

    second_monitor = (1024, 768)

    def test_the_run_covers_the_second_monitor_and_keeps_the_keyboard(self):
        screen = self.wine.probe("screen")
        self.assertEqual(screen["monitors"], "2", "Wine sees one monitor")
        # Another program's window on the second monitor shows what a run must hide.
        other, _ = self.wine.make_window("other program", 400, 300, at=(1290, 100))
        time.sleep(0.5)
        before = self.wine.screenshot()
        self.assertEqual(before.pixel(1300, 150), (128, 128, 128), "the other window is not on the second monitor")

        self.wine.write_settings(music_settings(0))
        proc = self.wine.start_program(HOST, "/s")
        main = self.wine.find_run()
        renderer = self.wine.find_renderer(20000)
        time.sleep(2.0)
        covers = [w for w in self.wine.windows_of(main["pid"]) if w["class"] == COVER_CLASS]
        self.assertEqual([(c["x"], c["y"], c["w"], c["h"]) for c in covers], [(1280, 0, 1024, 768)])
        cover = covers[0]
        self.assertEqual(cover["style"] & 0x90000000, 0x90000000, "a shown popup")
        self.assertEqual(cover["style"] & 0x00C40000, 0, "a border, caption or frame")
        for flag, name in ((0x8, "top-most"), (0x8000000, "no activation"), (0x80, "no taskbar button")):
            self.assertTrue(cover["exstyle"] & flag, name)
        self.assertEqual((int(renderer["x"]), int(renderer["y"]), int(renderer["w"]), int(renderer["h"])),
                         (0, 0, 1280, 1024))
        during = self.wine.screenshot("two-monitors-run.png")
        self.assertEqual(box_of(during, (1280, 0, 2304, 768), lambda p: p != (0, 0, 0)), None,
                         "the second monitor is not black")

        # A click on the cover leaves the keyboard with the renderer.
        self.wine.xdotool("mousemove", "1600", "300", "click", "1")
        time.sleep(0.5)
        focus = self.wine.probe("focus", renderer["hwnd"])
        self.assertEqual((focus["focus"], focus["foreground"]), (renderer["hwnd"], renderer["hwnd"]))
        # Without a window manager X hands keys to the window under the
        # pointer, so the real Escape is pressed over the primary monitor.
        self.wine.xdotool("mousemove", "600", "500")
        time.sleep(0.3)
        self.wine.xdotool("key", "Escape")
        self.assertGone(renderer, 20000, "Escape did not reach the renderer")
        self.assertGone(dict(cover, pid=main["pid"]), 10000, "a cover stayed after the renderer")
        self.assertEqual(wait_exit(proc, 15), 0)
        time.sleep(0.5)
        self.assertEqual(self.wine.screenshot().pixel(1300, 150), (128, 128, 128), "the second monitor stays black")
        other.kill()

    def test_the_pointer_over_a_cover_is_hidden_only_where_the_run_hid_it(self):
        # Only the letter S hides the cursor: a run started without arguments
        # shows the normal arrow over the covers too.
        for args, hidden in ((["/s"], True), ([], False)):
            with self.subTest(args=args):
                log = self.wine.log_file(f"cover-pointer{len(args)}.txt")
                self.wine.write_settings(music_settings(0))
                proc = self.wine.start_program(HOST, *args, trace="+pid,+cursor", log=log)
                main = self.wine.find_run()
                renderer = self.wine.find_renderer(20000)
                self.wine.find_window(COVER_CLASS, "-", 20000)
                for x in (1600, 1700, 1800):  # over the cover, on the second monitor
                    self.wine.xdotool("mousemove", str(x), "300")
                    time.sleep(0.3)
                self.wine.probe("key", renderer["hwnd"], str(VK_ESCAPE))
                self.assertGone(renderer, 20000)
                self.assertEqual(wait_exit(proc, 15), 0)
                # Lines start with the process and thread ids, in hex; no
                # pointer is "(nil)".
                host = f"{int(main['pid']):04x}"
                with open(log, encoding="utf-8", errors="replace") as f:
                    pointers = set(re.findall(rf"^{host}:\w+:trace:cursor:NtUserSetCursor (\S+)", f.read(), re.M))
                self.assertTrue(pointers, "the cover set no pointer")
                self.assertEqual({p == "(nil)" for p in pointers}, {hidden}, pointers)


if __name__ == "__main__":
    main()
