"""End-to-end: the settings dialog under Wine, driven with the pointer and
the keyboard as a user would."""

import collections
import os
import re
import shutil
import subprocess
import time

from testkit.names import ANSI, HOST, KEY_FILE, KEY_KIND, KEY_REPEAT, PROBE
from testkit.processes import wait_exit
from testkit.settings import music_settings, profile_writes
from testkit.suite import WineTestCase, main

# Places in the dialog's client area, in pixels.
MARKS = {1: (42, 50), 0: (42, 70), 2: (42, 90)}       # centres of the option marks
CAPTIONS = {1: (60, 50), 0: (58, 70), 2: (62, 90)}    # points on their captions
PATH_LABEL = (36, 132, 393, 33)                       # left, top, width, height
BANNER = [(12, 196), (332, 196)]                      # the two banner boxes, 123 x 52
EXPANDED = 0x200                                      # an open list, to screen readers


def value_of(content, key):
    match = re.search(re.escape(key.encode(ANSI)) + rb"=([^\r\n]*)", content)
    return match.group(1).strip() if match else None


class Dialog(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        music = cls.wine.drive_c("music dir")
        os.makedirs(music, exist_ok=True)
        subprocess.run(["sox", "-n", "-r", "8000", "-c", "1", os.path.join(music, "song.wav"),
                        "synth", "0.2", "sine", "440"], check=True)

    # -- driving the dialog ---------------------------------------------------------
    def open_dialog(self, content):
        self.wine.write_settings(content)
        proc = self.wine.start_program(HOST, "/c")
        dialog = self.wine.find_dialog()
        time.sleep(0.5)
        self.origin = (int(dialog["client_x"]), int(dialog["client_y"]))
        return proc, dialog

    def children(self, dialog):
        return self.wine.probe("texts", dialog["hwnd"])["children"]

    def child(self, dialog, cls=None, size=None, at=None):
        for c in self.children(dialog):
            if cls and c["class"] != cls:
                continue
            if size and (c["w"], c["h"]) != size:
                continue
            if at and (c["x"] - self.origin[0], c["y"] - self.origin[1]) != at:
                continue
            return c
        self.fail(f"no child {cls} {size} {at}")

    def buttons(self, dialog):
        return {"file": self.child(dialog, size=(45, 25)), "set": self.child(dialog, size=(89, 29), at=(140, 196)),
                "cancel": self.child(dialog, size=(89, 29), at=(236, 196))}

    def click(self, x, y):
        """A left click at a point of the dialog's client area."""
        self.wine.xdotool("mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "1")
        time.sleep(0.4)

    def click_window(self, child):
        self.wine.xdotool("mousemove", str(child["x"] + child["w"] // 2), str(child["y"] + child["h"] // 2),
                          "click", "1")
        time.sleep(0.4)

    def pixel(self, picture, x, y):
        return picture.pixel(self.origin[0] + x, self.origin[1] + y)

    def chosen_marks(self):
        picture = self.wine.screenshot()
        chosen = []
        for index, (x, y) in MARKS.items():
            r, g, b = self.pixel(picture, x, y)
            if b > r + 60:  # the chosen mark is filled with blue; the others are empty boxes
                chosen.append(index)
        return sorted(chosen)

    def path_shown(self):
        picture = self.wine.screenshot()
        left, top, width, height = PATH_LABEL
        dark = sum(1 for y in range(top, top + height) for x in range(left, left + width)
                   if sum(self.pixel(picture, x, y)) < 200)
        return dark > 20

    def path_heard(self, dialog):
        """The file's path as the path label gives it to screen readers."""
        text = 41  # the role of read-only text; the other keyboard stop is the sources' group
        heard = [self.accessible(c["hwnd"])[0] for c in self.children(dialog) if c["class"] == "BrumalisKeyboardStop"]
        return next(name for role, _, name, _ in heard if role == text)

    def state(self, dialog):
        combo = self.child(dialog, cls="ComboBox")
        buttons = self.buttons(dialog)
        return {"marks": self.chosen_marks(), "track": combo["enabled"], "track_text": combo["text"],
                "browse": buttons["file"]["enabled"]}

    def accessible(self, hwnd, *do):
        """Role, state, name and default action of the window's accessible
        object (part 0) and its parts, as a screen reader hears them."""
        info = self.wine.probe("accessible", hwnd, *do)
        rows = [info[f"part{i}"].split(":") for i in range(int(info["parts"]) + 1)]
        return [(int(role), int(state, 16), bytes.fromhex(name).decode(), bytes.fromhex(action).decode())
                for role, state, name, action in rows]

    def close_box(self, proc, dialog):
        self.wine.probe("close", dialog["hwnd"])
        self.assertEqual(wait_exit(proc, 20), 0)

    # -- tests ------------------------------------------------------------------------
    def test_the_dialog_shows_the_loaded_settings(self):
        song = "C:\\music dir\\song.wav"
        cases = [
            (music_settings(1, 0), {"marks": [1], "track": True, "track_text": "", "browse": False}, False),
            (music_settings(1, 12), {"marks": [1], "track": True, "track_text": "12", "browse": False}, False),
            (music_settings(2, 3, song), {"marks": [2], "track": False, "track_text": "3", "browse": True}, True),
            (music_settings(2, 0, "C:\\music dir\\gone.wav"), {"marks": [0], "track": False, "track_text": "",
                                                                "browse": False}, False),
            (music_settings(0), {"marks": [0], "track": False, "track_text": "", "browse": False}, False),
            (music_settings(7), {"marks": [], "track": False, "track_text": "", "browse": False}, False),
        ]
        for content, expected, path in cases:
            with self.subTest(content=content):
                proc, dialog = self.open_dialog(content)
                self.assertEqual(self.state(dialog), expected)
                self.assertEqual(self.path_shown(), path)
                self.close_box(proc, dialog)
                self.assertEqual(self.wine.read_settings(), content, "the close box wrote")

    def test_the_window_has_its_size_place_and_caption(self):
        proc, dialog = self.open_dialog(music_settings(0))
        self.assertEqual((int(dialog["client_w"]), int(dialog["client_h"])), (468, 260))
        screen_w, screen_h = self.wine.display.width, self.wine.display.height
        w, h = int(dialog["w"]), int(dialog["h"])
        self.assertEqual(int(dialog["x"]), (screen_w - w) // 2)
        self.assertEqual(int(dialog["y"]), (screen_h - h) // 3)
        combo = self.child(dialog, cls="ComboBox")
        items = self.wine.probe("combo-items", combo["hwnd"])
        self.assertEqual(items["count"], "31")
        self.wine.screenshot("dialog.png")
        self.close_box(proc, dialog)

    def test_marks_and_captions_choose_the_source(self):
        proc, dialog = self.open_dialog(music_settings(0))
        steps = [(MARKS[1], [1], True, False), (CAPTIONS[2], [2], False, True), (CAPTIONS[0], [0], False, False),
                 (MARKS[2], [2], False, True), (CAPTIONS[1], [1], True, False)]
        for point, marks, track, browse in steps:
            with self.subTest(point=point):
                self.click(*point)
                state = self.state(dialog)
                self.assertEqual((state["marks"], state["track"], state["browse"]), (marks, track, browse))
        self.close_box(proc, dialog)

    def type_track(self, dialog, text):
        combo = self.child(dialog, cls="ComboBox")
        self.wine.xdotool("mousemove", str(combo["x"] + 10), str(combo["y"] + 10), "click", "1")
        self.wine.xdotool("key", "End", *(["BackSpace"] * 6))
        if text:
            self.wine.xdotool("type", "--delay", "50", text)
        time.sleep(0.3)

    def test_apply_writes_the_three_keys(self):
        log = self.wine.out_file("dialog-profile-trace.txt")
        for typed, stored in (("12", b"12"), ("abc", b"0"), ("2.5", b"2"), ("3.5", b"4"), ("", b"0"),
                              ("99999", b"0")):
            with self.subTest(typed=typed):
                self.wine.write_settings(music_settings(1, 5, "C:\\music dir\\song.wav"))
                proc = self.wine.start_program(HOST, "/c", trace="+profile", log=log)
                dialog = self.wine.find_dialog()
                time.sleep(0.5)
                self.origin = (int(dialog["client_x"]), int(dialog["client_y"]))
                self.type_track(dialog, typed)
                self.click_window(self.buttons(dialog)["set"])
                self.assertEqual(wait_exit(proc, 20), 0)
                content = self.wine.read_settings()
                self.assertEqual(value_of(content, KEY_KIND), b"1")
                self.assertEqual(value_of(content, KEY_REPEAT), stored)
                self.assertEqual(value_of(content, KEY_FILE), b"C:\\music dir\\song.wav")
                trace = open(log, encoding="utf-8", errors="replace").read()
                self.assertEqual(profile_writes(trace), [(KEY_KIND, " 1"), (KEY_REPEAT, " " + stored.decode()),
                                                         (KEY_FILE, "C:\\music dir\\song.wav")])

    def test_the_keyboard_moves_the_focus_and_presses_buttons(self):
        content = music_settings(1, 5)
        proc, dialog = self.open_dialog(content)
        buttons = self.buttons(dialog)
        combo = self.child(dialog, cls="ComboBox")
        edit = self.child(dialog, cls="Edit")

        def focus():
            return self.wine.probe("focus", dialog["hwnd"])["focus"]

        # The chosen source's control has the focus from the start.
        self.assertIn(focus(), (combo["hwnd"], edit["hwnd"]))
        self.wine.xdotool("mousemove", str(combo["x"] + 10), str(combo["y"] + 10), "click", "1")
        time.sleep(0.3)
        self.assertIn(focus(), (combo["hwnd"], edit["hwnd"]))
        # The browse button is disabled for the CD source, so Tab skips it.
        steps = [(["Tab"], buttons["set"]), (["Tab"], buttons["cancel"]), (["shift+Tab"], buttons["set"]),
                 (["Right"], buttons["cancel"]), (["Up"], buttons["set"])]
        for keys, expected in steps:
            with self.subTest(keys=keys):
                self.wine.xdotool("key", *keys)
                time.sleep(0.3)
                self.assertEqual(focus(), expected["hwnd"])
                # The focused button shows it: its top inner line turns blue.
                picture = self.wine.screenshot()
                for button in (buttons["set"], buttons["cancel"]):
                    line = picture.pixel(button["x"] + button["w"] // 2, button["y"] + 1)
                    self.assertEqual(line, (206, 231, 255) if button is expected else (255, 255, 255))
        self.wine.xdotool("key", "Right", "space")  # Space on the cancel button
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertEqual(self.wine.read_settings(), content)

    def test_the_keyboard_alone_chooses_the_source_and_applies_and_escape_cancels(self):
        proc, dialog = self.open_dialog(music_settings(0))
        buttons = self.buttons(dialog)
        stop = self.child(dialog, cls="BrumalisKeyboardStop")

        def focus():
            return self.wine.probe("focus", dialog["hwnd"])["focus"]

        def key(*keys):
            self.wine.xdotool("key", *keys)
            time.sleep(0.3)

        def group_area():
            x, y = self.origin
            return self.wine.screenshot().region(x + 30, y + 40, x + 160, y + 100)

        at_rest = group_area()
        for _ in range(4):  # from the apply button, round to the marks
            if focus() == stop["hwnd"]:
                break
            key("Tab")
        self.assertEqual(focus(), stop["hwnd"], "Tab does not reach the sources")
        self.assertNotEqual(sum(a != b for a, b in zip(group_area(), at_rest)), 0,
                            "the focused source shows no focus rectangle")
        key("Down")  # none -> file
        self.assertEqual(self.wine.probe("focus", dialog["hwnd"])["focus"], stop["hwnd"])
        self.assertEqual(self.chosen_marks(), [2])
        key("Tab")
        self.assertEqual(focus(), buttons["file"]["hwnd"])
        key("space")
        chooser = self.wine.find_window("#32770", "\uff8c\uff67\uff72\uff99\u3092\u958b\u304f", 20000, visible=True)
        time.sleep(1.0)
        key("Escape")
        self.assertGone(chooser, 10000)
        key("shift+Tab")  # the track box is off for the file source
        self.assertEqual(focus(), stop["hwnd"])
        key("Up", "Up")  # file -> none -> CD
        self.assertEqual(self.chosen_marks(), [1])
        key("Tab")
        self.wine.xdotool("type", "--delay", "50", "7")
        # Enter with the track list open only closes the list.
        combo = self.child(dialog, cls="ComboBox")
        key("alt+Down")
        self.assertTrue(self.accessible(combo["hwnd"])[0][1] & EXPANDED, "the track list did not open")
        key("Return")
        self.assertIsNone(proc.poll(), "Enter on the open list closed the dialog")
        self.assertFalse(self.accessible(combo["hwnd"])[0][1] & EXPANDED, "the track list stayed open")
        key("Return")
        self.assertEqual(wait_exit(proc, 20), 0)
        content = self.wine.read_settings()
        self.assertEqual((value_of(content, KEY_KIND), value_of(content, KEY_REPEAT), value_of(content, KEY_FILE)),
                         (b"1", b"7", b""))
        # Escape leaves the file as it was.
        proc, dialog = self.open_dialog(content)
        key("Down", "Escape")
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertEqual(self.wine.read_settings(), content)

    def test_screen_readers_hear_what_each_painted_control_is_and_can_do(self):
        proc, dialog = self.open_dialog(music_settings(1, 5, "C:\\music dir\\song.wav"))
        buttons = self.buttons(dialog)
        stop, path = [c for c in self.children(dialog) if c["class"] == "BrumalisKeyboardStop"]
        parts = self.accessible

        push, radio, group, link, text = 43, 45, 20, 30, 41
        unavailable, checked, read_only, linked = 0x1, 0x10, 0x40, 0x400000
        self.assertEqual(parts(path["hwnd"])[0][:3], (text, read_only, "C:\\music dir\\song.wav"))
        for key, name in (("set", "\u8a2d\u5b9a"), ("cancel", "\uff77\uff6c\uff9d\uff7e\uff99"), ("file", "...")):
            with self.subTest(key):
                role, state, heard, action = parts(buttons[key]["hwnd"])[0]
                self.assertEqual((role, heard, action), (push, name, "\u62bc\u3059"))
                self.assertEqual(bool(state & unavailable), key == "file", "only browse is off for the CD")
        combo = self.child(dialog, cls="ComboBox")
        self.assertEqual(parts(combo["hwnd"])[0][:3:2], (46, "BGM"))  # a combo box, named by its group
        sources = parts(stop["hwnd"])
        self.assertEqual([(role, name) for role, _, name, _ in sources],
                         [(group, "BGM"), (radio, "\u97f3\u697dCD"), (radio, "\u306a\u3057"), (radio, "MP3\u3001WAV")])
        self.assertEqual([bool(state & checked) for _, state, _, _ in sources[1:]], [True, False, False])
        # The file source's default action chooses it, as a click would, and
        # readers hear of it: both sources' states, and browse switched on.
        watch = self.wine.start_probe("events", dialog["pid"], "3000")
        self.assertEqual(watch.stdout.readline().strip(), b"ready=1")
        parts(stop["hwnd"], "do", "3")
        watch.wait(20)
        heard = set(re.findall(r"event=(0x[0-9a-f]+):(0x[0-9a-f]+):(-?\d+):(-?\d+)", watch.stdout.read().decode()))
        watch.stdout.close()
        state_change, client = "0x800a", "-4"
        for hwnd, part in ((stop["hwnd"], "1"), (stop["hwnd"], "3"), (buttons["file"]["hwnd"], "0")):
            self.assertIn((state_change, hwnd, client, part), heard)
        self.assertEqual(self.chosen_marks(), [2])
        self.assertEqual([bool(state & checked) for _, state, _, _ in parts(stop["hwnd"])[1:]], [False, False, True])
        self.assertFalse(parts(buttons["file"]["hwnd"])[0][1] & unavailable)
        boxes = [c for c in self.children(dialog) if c["class"] == "BrumalisPictureBox"]
        self.assertEqual(len(boxes), 2)
        for box in boxes:
            role, state, name, _ = parts(box["hwnd"])[0]
            self.assertEqual((role, bool(state & linked), name), (link, True, "https://www.example.com/brumalis/"))
        self.click_window(buttons["cancel"])
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_cancel_writes_nothing(self):
        content = music_settings(1, 5)
        proc, dialog = self.open_dialog(content)
        self.click(*CAPTIONS[2])
        self.type_track(dialog, "9")
        self.click_window(self.buttons(dialog)["cancel"])
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertEqual(self.wine.read_settings(), content)

    def test_browse_picks_a_file_through_the_file_dialog(self):
        proc, dialog = self.open_dialog(music_settings(0))
        self.click(*CAPTIONS[2])
        self.assertFalse(self.path_shown())
        self.click_window(self.buttons(dialog)["file"])
        chooser = self.wine.find_window("#32770", "ﾌｧｲﾙを開く", 20000, visible=True)
        time.sleep(1.0)
        self.wine.xdotool("type", "--delay", "30", "C:\\music dir\\song.wav")
        self.wine.xdotool("key", "Return")
        self.assertGone(chooser, 10000)
        time.sleep(0.5)
        self.assertTrue(self.path_shown())
        # The focus is back on the button that opened the file dialog.
        self.assertEqual(self.wine.probe("focus", dialog["hwnd"])["focus"], self.buttons(dialog)["file"]["hwnd"])
        self.click_window(self.buttons(dialog)["set"])
        self.assertEqual(wait_exit(proc, 20), 0)
        content = self.wine.read_settings()
        self.assertEqual(value_of(content, KEY_KIND), b"2")
        self.assertEqual(value_of(content, KEY_FILE), b"C:\\music dir\\song.wav")

    def test_a_name_outside_the_code_page_is_kept_by_its_short_path_and_shown_whole(self):
        folder = self.wine.fresh_folder("M\u00fasica")
        name = "Beyonc\u00e9 \u266b \ud55c\uad6d\uc5b4 \ub178\ub798.wav"  # Beyoncé ♫ 한국어 노래
        shutil.copy(self.wine.drive_c("music dir", "song.wav"), os.path.join(folder, name))
        chosen = "C:\\M\u00fasica\\" + name
        proc, dialog = self.open_dialog(music_settings(0))
        self.click(*CAPTIONS[2])
        self.click_window(self.buttons(dialog)["file"])
        chooser = self.wine.find_window("#32770", "\uff8c\uff67\uff72\uff99\u3092\u958b\u304f", 20000, visible=True)
        time.sleep(1.0)
        self.wine.probe("choose-file", chooser["hwnd"], chosen.encode().hex())
        self.assertGone(chooser, 10000)
        time.sleep(0.5)
        label = self.wine.screenshot("dialog-long-name.png").region(*self.label_box())
        self.assertEqual(self.path_heard(dialog), chosen)
        self.assertTrue(self.path_shown(), "the label is empty")
        self.click_window(self.buttons(dialog)["set"])
        self.assertEqual(wait_exit(proc, 20), 0)
        stored = value_of(self.wine.read_settings(), KEY_FILE)
        short = bytes.fromhex(self.wine.probe("short-path", chosen.encode().hex())["path_hex"])
        self.assertEqual(stored, short)
        self.assertTrue(stored.isascii() and b"~" in stored, stored)
        # Opened again from the short path, the dialog shows the same long name.
        proc, dialog = self.open_dialog(self.wine.read_settings())
        self.assertEqual(self.path_heard(dialog), chosen)
        self.assertEqual(self.wine.screenshot().region(*self.label_box()), label)
        self.click_window(self.buttons(dialog)["cancel"])
        self.assertEqual(wait_exit(proc, 20), 0)

    def label_box(self):
        left, top, width, height = PATH_LABEL
        return (self.origin[0] + left, self.origin[1] + top, self.origin[0] + left + width,
                self.origin[1] + top + height)

    def test_the_banner_plays_left_then_right(self):
        # Shot from as soon as the dialog shows: the left box plays first,
        # 100 ms after the load, the right one from 2.5 s, the left again from
        # 5.0 s; a box that is not playing shows the empty field.
        self.wine.write_settings(music_settings(0))
        proc = self.wine.start_program(HOST, "/c")
        dialog = self.wine.find_dialog()
        self.origin = (int(dialog["client_x"]), int(dialog["client_y"]))

        def box(picture, index):
            x0, y0 = BANNER[index]
            return tuple(self.pixel(picture, x, y)
                         for y in range(y0 + 2, y0 + 50, 2) for x in range(x0 + 2, x0 + 121, 2))

        shots = []
        start = time.time()
        while time.time() - start < 6:
            picture = self.wine.screenshot()
            shots.append((box(picture, 0), box(picture, 1)))
        self.assertGreater(len({left for left, _ in shots}), 3, "the left box did not animate")
        self.assertGreater(len({right for _, right in shots}), 3, "the right box did not animate")
        # The empty field is what a box shows most: the other box's turn.
        empty = [collections.Counter(shot[side] for shot in shots).most_common(1)[0][0] for side in (0, 1)]
        turns = []
        for left, right in shots:
            playing = [name for name, seen, rest in (("left", left, empty[0]), ("right", right, empty[1]))
                       if seen != rest]
            self.assertLess(len(playing), 2, "both boxes play at once")
            if playing and (not turns or turns[-1] != playing[0]):
                turns.append(playing[0])
        self.assertEqual(turns[:2], ["left", "right"], f"the boxes played in turns {turns}")
        self.close_box(proc, dialog)

    def test_clicking_the_banner_opens_the_home_page(self):
        browser = self.wine.drive_c("brumalis-browser.exe")
        shutil.copy(self.wine.program(PROBE), browser)
        mark = self.wine.drive_c("browser-opened.txt")
        if os.path.exists(mark):
            os.remove(mark)
        for key in ("HKCR\\http\\shell\\open\\command", "HKCR\\https\\shell\\open\\command"):
            self.wine.reg("add", key, "/ve", "/d", 'C:\\brumalis-browser.exe "%1"', "/f")
        proc, dialog = self.open_dialog(music_settings(0))

        def opened(how):
            deadline = time.time() + 15
            while not os.path.exists(mark) and time.time() < deadline:
                time.sleep(0.2)
            self.assertTrue(os.path.exists(mark), f"{how}: no browser was asked to open the page")
            time.sleep(0.3)
            self.assertIn("https://www.example.com/brumalis/", open(mark, errors="replace").read())
            os.remove(mark)
            self.assertIsNone(proc.poll(), "the dialog stays open")

        # From the keyboard: the banner is the last tab stop, after cancel.
        left = min((c for c in self.children(dialog) if c["class"] == "BrumalisPictureBox"), key=lambda c: c["x"])
        self.wine.xdotool("key", "Tab", "Tab")  # from apply, past cancel
        time.sleep(0.3)
        self.assertEqual(self.wine.probe("focus", dialog["hwnd"])["focus"], left["hwnd"])
        self.assertTrue(self.accessible(left["hwnd"])[0][1] & 0x4, "the banner is not focused to readers")
        self.wine.xdotool("key", "Return")
        opened("Enter")
        self.click(BANNER[1][0] + 60, BANNER[1][1] + 25)
        opened("a click")
        self.close_box(proc, dialog)


if __name__ == "__main__":
    main()
