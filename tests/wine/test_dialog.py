"""End-to-end: the settings dialog under Wine, driven with the pointer and
the keyboard as a user would."""

import collections
import os
import shutil
import time

from testkit import settings_dialog as layout
from testkit.audio import tone
from testkit.names import HOST, KEY_FILE, KEY_KIND, KEY_REPEAT, KEYBOARD_STOP_CLASS, PICTURE_BOX_CLASS, PROBE
from testkit.processes import wait_exit
from testkit import runs
from testkit.runs import answered
from testkit.settings import (music_settings, profile_writes, seal_keys, sealed_music_settings, size_settings,
                              value_of)
from testkit.suite import WineTestCase, main

EXPANDED = 0x200  # an open list, to screen readers
HOME_PAGE = "https://www.example.com/brumalis/"


class Dialog(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        music = cls.wine.files.drive_c("music dir")
        os.makedirs(music, exist_ok=True)
        tone(os.path.join(music, "song.wav"), 0.2, 440, rate=8000, channels=1)

    # -- driving the dialog ---------------------------------------------------------
    def open_dialog(self, content, mode="/c", **kw):
        proc, dialog = super().open_dialog(content, mode, **kw)
        self.origin = (dialog["client_x"], dialog["client_y"])
        return proc, dialog

    def children(self, dialog):
        return self.wine.probe.children(dialog["hwnd"])

    def child(self, dialog, cls):
        for c in self.children(dialog):
            if c["class"] == cls:
                return c
        self.fail(f"no child {cls}")

    def buttons(self, dialog):
        return runs.buttons(self.wine, dialog)

    def click(self, x, y):
        """A left click at a point of the dialog's client area."""
        self.wine.screen.xdotool("mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "1")
        time.sleep(0.4)

    def click_window(self, child):
        runs.click(self.wine, child)
        time.sleep(0.4)

    def key(self, *keys):
        self.wine.screen.xdotool("key", *keys)
        time.sleep(0.3)

    def pixel(self, picture, x, y):
        return picture.pixel(self.origin[0] + x, self.origin[1] + y)

    def chosen_marks(self):
        picture = self.wine.screen.shot()
        chosen = []
        for index in range(3):
            r, g, b = self.pixel(picture, *layout.centre_at_96(f"mark {index}"))
            if b > r + 60:  # the chosen mark is filled with blue; the others are empty boxes
                chosen.append(index)
        return sorted(chosen)

    def path_shown(self):
        return sum(1 for p in self.wine.screen.shot().region(*self.label_box()) if sum(p) < 200) > 20

    def state(self, dialog):
        combo = self.child(dialog, "ComboBox")
        buttons = self.buttons(dialog)
        return {"marks": self.chosen_marks(), "track": combo["enabled"], "track_text": combo["text"],
                "browse": buttons["browse"]["enabled"]}

    def focus(self, dialog):
        """The window that has the focus in the dialog's thread."""
        return self.wine.probe("focus", dialog["hwnd"])["focus"]

    def chooser(self):
        """The open-file dialog, once shown and taking messages."""
        chooser = self.wine.probe.find_window("#32770", layout.OPEN_FILE_TITLE, 20000, visible=True)
        answered(self.wine, chooser)
        return chooser

    def accessible(self, hwnd, *do):
        """Role, state, name and default action of the window's accessible
        object (part 0) and its parts, as a screen reader hears them."""
        return [(p["role"], p["state"], p["name"], p["action"]) for p in self.wine.probe.accessible(hwnd, *do)]

    # -- tests ------------------------------------------------------------------------
    def test_the_dialog_shows_the_loaded_settings_and_the_close_box_writes_nothing(self):
        song = "C:\\music dir\\song.wav"
        nothing = {"marks": [0], "track": False, "track_text": "", "browse": False}

        def chosen(*music):  # the music as this user chose and trusted it
            return sealed_music_settings(self.wine.probe, *music)

        cases = [  # the settings file, the mode's spelling, what the dialog shows, whether it shows a path
            (music_settings(1, 0), "/c", {"marks": [1], "track": True, "track_text": "", "browse": False}, False),
            (music_settings(1, 12), "/c", {"marks": [1], "track": True, "track_text": "12", "browse": False}, False),
            (chosen(2, 3, song), "/c", {"marks": [2], "track": False, "track_text": "3", "browse": True}, True),
            (chosen(2, 0, "C:\\music dir\\gone.wav"), "/c", nothing, False),
            (music_settings(0), "/c", nothing, False),
            (music_settings(7), "/c", {"marks": [], "track": False, "track_text": "", "browse": False}, False),
            # A run wrote the screen's size; settings never write it.
            (size_settings(640, 480), "/c:1234", nothing, False),
        ]
        for content, mode, expected, path in cases:
            with self.subTest(content=content, mode=mode):
                proc, dialog = self.open_dialog(content, mode)
                self.assertEqual(self.state(dialog), expected)
                self.assertEqual(self.path_shown(), path)
                self.close(proc, dialog)
                self.assertEqual(self.wine.files.read_settings(), content, "written without apply")

    def test_marks_and_captions_choose_the_source_and_the_track_list_offers_no_track_then_1_to_30(self):
        proc, dialog = self.open_dialog(music_settings(0))
        items = self.wine.probe("combo-items", self.child(dialog, "ComboBox")["hwnd"]).all("item")
        self.assertEqual([item["text"] for item in items], [""] + [str(n) for n in range(1, 31)])
        self.wine.screen.shot("dialog.png")
        steps = [("mark 1", [1], True, False), ("source 2", [2], False, True), ("source 0", [0], False, False),
                 ("mark 2", [2], False, True), ("source 1", [1], True, False)]
        for place, marks, track, browse in steps:
            with self.subTest(place):
                self.click(*layout.centre_at_96(place))
                state = self.state(dialog)
                self.assertEqual((state["marks"], state["track"], state["browse"]), (marks, track, browse))
        self.close(proc, dialog)

    def type_track(self, dialog, text):
        combo = self.child(dialog, "ComboBox")
        self.wine.screen.xdotool("mousemove", str(combo["x"] + 10), str(combo["y"] + 10), "click", "1")
        self.wine.screen.xdotool("key", "End", *(["BackSpace"] * 6))
        if text:
            self.wine.screen.xdotool("type", "--delay", "50", text)
        time.sleep(0.3)

    def test_apply_writes_the_three_keys(self):
        log = self.wine.out.file("dialog-profile-trace.txt")
        # How a text becomes a number is the dialog logic's unit tests'; here
        # what the track box takes in as typed: a number, nothing, too many digits.
        for typed, stored in (("12", b"12"), ("", b"0"), ("99999", b"0")):
            with self.subTest(typed=typed):
                proc, dialog = self.open_dialog(music_settings(1, 5, "C:\\music dir\\song.wav"), trace="+profile",
                                                log=log)
                self.type_track(dialog, typed)
                self.click_window(self.buttons(dialog)["apply"])
                self.assertEqual(wait_exit(proc, 20), 0)
                content = self.wine.files.read_settings()
                self.assertEqual([value_of(content, key) for key in (KEY_KIND, KEY_REPEAT, KEY_FILE)],
                                 [b"1", stored, b"C:\\music dir\\song.wav"])
                trace = open(log, encoding="utf-8", errors="replace").read()
                self.assertEqual(profile_writes(trace), [(KEY_KIND, " 1"), (KEY_REPEAT, " " + stored.decode()),
                                                         (KEY_FILE, "C:\\music dir\\song.wav")])

    def test_the_keyboard_moves_the_focus_and_presses_buttons(self):
        content = music_settings(1, 5)
        proc, dialog = self.open_dialog(content)
        buttons = self.buttons(dialog)
        combo = self.child(dialog, "ComboBox")
        edit = self.child(dialog, "Edit")

        # The chosen source's control has the focus from the start.
        self.assertIn(self.focus(dialog), (combo["hwnd"], edit["hwnd"]))
        self.type_track(dialog, "9")  # which the cancel button below leaves unwritten
        self.assertIn(self.focus(dialog), (combo["hwnd"], edit["hwnd"]))
        # The browse button is disabled for the CD source, so Tab skips it.
        steps = [(["Tab"], "apply"), (["Tab"], "cancel"), (["shift+Tab"], "apply"), (["Right"], "cancel"),
                 (["Up"], "apply")]
        shown = set()  # the top inner lines of the focused and the other button, at each step
        for keys, expected in steps:
            with self.subTest(keys=keys):
                self.key(*keys)
                self.assertEqual(self.focus(dialog), buttons[expected]["hwnd"])
                picture = self.wine.screen.shot()
                line = {name: picture.pixel(b["x"] + b["w"] // 2, b["y"] + 1) for name, b in buttons.items()}
                shown.add((line[expected], line["cancel" if expected == "apply" else "apply"]))
        # The focused button shows it, the same way whichever it is.
        self.assertEqual(len(shown), 1, f"the buttons' lines follow no focus: {shown}")
        self.assertNotEqual(*shown.pop(), "the focused button looks like the other")
        self.wine.screen.xdotool("key", "Right", "space")  # Space on the cancel button
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertEqual(self.wine.files.read_settings(), content)

    def test_the_keyboard_alone_chooses_the_source_and_applies_and_escape_cancels(self):
        proc, dialog = self.open_dialog(music_settings(0))
        buttons = self.buttons(dialog)
        stop = self.child(dialog, KEYBOARD_STOP_CLASS)

        def group_area():
            x, y = self.origin
            return self.wine.screen.shot().region(x + 30, y + 40, x + 160, y + 100)

        at_rest = group_area()
        for _ in range(4):  # from the apply button, round to the marks
            if self.focus(dialog) == stop["hwnd"]:
                break
            self.key("Tab")
        self.assertEqual(self.focus(dialog), stop["hwnd"], "Tab does not reach the sources")
        self.assertNotEqual(sum(a != b for a, b in zip(group_area(), at_rest)), 0,
                            "the focused source shows no focus rectangle")
        self.key("Down")  # none -> file
        self.assertEqual(self.focus(dialog), stop["hwnd"])
        self.assertEqual(self.chosen_marks(), [2])
        self.key("Tab")
        self.assertEqual(self.focus(dialog), buttons["browse"]["hwnd"])
        self.key("space")
        chooser = self.chooser()
        self.key("Escape")
        self.assertGone(chooser, 10000)
        self.key("shift+Tab")  # the track box is off for the file source
        self.assertEqual(self.focus(dialog), stop["hwnd"])
        self.key("Up", "Up")  # file -> none -> CD
        self.assertEqual(self.chosen_marks(), [1])
        self.key("Tab")
        self.wine.screen.xdotool("type", "--delay", "50", "7")
        # Enter with the track list open only closes the list.
        combo = self.child(dialog, "ComboBox")
        self.key("alt+Down")
        self.assertTrue(self.accessible(combo["hwnd"])[0][1] & EXPANDED, "the track list did not open")
        self.key("Return")
        self.assertIsNone(proc.poll(), "Enter on the open list closed the dialog")
        self.assertFalse(self.accessible(combo["hwnd"])[0][1] & EXPANDED, "the track list stayed open")
        self.key("Return")
        self.assertEqual(wait_exit(proc, 20), 0)
        content = self.wine.files.read_settings()
        self.assertEqual([value_of(content, key) for key in (KEY_KIND, KEY_REPEAT, KEY_FILE)], [b"1", b"7", b""])
        # Escape leaves the file as it was.
        proc, dialog = self.open_dialog(content)
        self.key("Down", "Escape")
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertEqual(self.wine.files.read_settings(), content)

    def test_screen_readers_hear_what_each_painted_control_is_and_can_do(self):
        proc, dialog = self.open_dialog(music_settings(1, 5, "C:\\music dir\\song.wav"))
        buttons = self.buttons(dialog)
        stop, path = [c for c in self.children(dialog) if c["class"] == KEYBOARD_STOP_CLASS]
        parts = self.accessible

        push, radio, group, link, text = 43, 45, 20, 30, 41
        unavailable, checked, read_only, linked = 0x1, 0x10, 0x40, 0x400000
        self.assertEqual(parts(path["hwnd"])[0][:3], (text, read_only, "C:\\music dir\\song.wav"))
        for key in layout.BUTTONS:
            with self.subTest(key):
                role, state, heard, action = parts(buttons[key]["hwnd"])[0]
                self.assertEqual((role, heard, action), (push, layout.TEXTS[key], "\u62bc\u3059"))
                self.assertEqual(bool(state & unavailable), key == "browse", "only browse is off for the CD")
        combo = self.child(dialog, "ComboBox")
        self.assertEqual(parts(combo["hwnd"])[0][:3:2], (46, "BGM"))  # a combo box, named by its group
        sources = parts(stop["hwnd"])
        self.assertEqual([(role, name) for role, _, name, _ in sources],
                         [(group, layout.TEXTS["group"])] + [(radio, layout.TEXTS[f"source {i}"]) for i in (1, 0, 2)])
        self.assertEqual([bool(state & checked) for _, state, _, _ in sources[1:]], [True, False, False])
        # The file source's default action chooses it, as a click would, and
        # readers hear of it: both sources' states, and browse switched on.
        watch = self.wine.probe.start("events", dialog["pid"], 3000)
        watch.expect("ready")
        parts(stop["hwnd"], "do", "3")
        heard = {tuple(e.values()) for e in watch.finish().all("event")}
        state_change, client = 0x800A, -4
        for hwnd, part in ((stop["hwnd"], 1), (stop["hwnd"], 3), (buttons["browse"]["hwnd"], 0)):
            self.assertIn((state_change, hwnd, client, part), heard)
        self.assertEqual(self.chosen_marks(), [2])
        self.assertEqual([bool(state & checked) for _, state, _, _ in parts(stop["hwnd"])[1:]], [False, False, True])
        self.assertFalse(parts(buttons["browse"]["hwnd"])[0][1] & unavailable)
        boxes = [c for c in self.children(dialog) if c["class"] == PICTURE_BOX_CLASS]
        self.assertEqual(len(boxes), 2)
        for box in boxes:
            role, state, name, _ = parts(box["hwnd"])[0]
            self.assertEqual((role, bool(state & linked), name), (link, True, HOME_PAGE))
        self.click_window(buttons["cancel"])
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_browse_keeps_the_chosen_file_by_a_name_the_settings_file_holds_and_shows_it_whole(self):
        folder = self.wine.files.fresh_folder("M\u00fasica")
        name = "Beyonc\u00e9 \u266b \ud55c\uad6d\uc5b4 \ub178\ub798.wav"  # Beyoncé ♫ 한국어 노래
        shutil.copy(self.wine.files.drive_c("music dir", "song.wav"), os.path.join(folder, name))
        # The file as chosen; a name outside the code page is stored by its short path.
        for chosen, shot in (("C:\\music dir\\song.wav", "dialog-browsed.png"),
                             ("C:\\M\u00fasica\\" + name, "dialog-long-name.png")):
            with self.subTest(chosen=chosen):
                proc, dialog = self.open_dialog(music_settings(0))
                self.click(*layout.centre_at_96("source 2"))
                self.click_window(self.buttons(dialog)["browse"])
                chooser = self.chooser()
                self.wine.probe("choose-file", chooser["hwnd"], chosen.encode().hex())
                self.assertGone(chooser, 10000)
                time.sleep(0.5)
                label = self.wine.screen.shot(shot).region(*self.label_box())
                self.assertEqual(runs.path_heard(self.wine, dialog), chosen)
                self.assertTrue(self.path_shown(), "the label is empty")
                # The focus is back on the button that opened the file dialog.
                self.assertEqual(self.focus(dialog), self.buttons(dialog)["browse"]["hwnd"])
                self.click_window(self.buttons(dialog)["apply"])
                self.assertEqual(wait_exit(proc, 20), 0)
                content = self.wine.files.read_settings()
                stored = value_of(content, KEY_FILE)
                self.assertEqual(value_of(content, KEY_KIND), b"2")
                if chosen.isascii():
                    self.assertEqual(stored, chosen.encode())
                else:
                    self.assertEqual(stored, self.wine.probe.short_path(chosen).encode())
                    self.assertTrue(stored.isascii() and b"~" in stored, stored)
                # Chosen through the browser, the file is trusted by that choice.
                self.assertEqual(len(seal_keys(content)), 1, content)
                # Opened again from what was stored, the dialog shows the same name.
                proc, dialog = self.open_dialog(content)
                self.assertEqual(runs.path_heard(self.wine, dialog), chosen)
                self.assertEqual(self.wine.screen.shot().region(*self.label_box()), label)
                self.close(proc, dialog)

    def label_box(self):
        left, top, right, bottom = layout.at_96("path")
        return (self.origin[0] + left, self.origin[1] + top, self.origin[0] + right, self.origin[1] + bottom)

    def test_the_banner_plays_left_then_right(self):
        # Shot from as soon as the dialog shows: the left box plays first,
        # 100 ms after the load, the right one from 2.5 s, the left again from
        # 5.0 s; a box that is not playing shows the empty field.
        self.wine.files.write_settings(music_settings(0))
        proc = self.wine.programs.start(HOST, "/c")
        dialog = self.wine.probe.find_dialog()
        self.origin = (dialog["client_x"], dialog["client_y"])

        def box(picture, index):
            x0, y0 = layout.at_96(f"banner {index}")[:2]
            return tuple(self.pixel(picture, x, y)
                         for y in range(y0 + 2, y0 + 50, 2) for x in range(x0 + 2, x0 + 121, 2))

        shots = []
        start = time.time()
        while time.time() - start < 6:
            picture = self.wine.screen.shot()
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
        self.close(proc, dialog)

    def test_clicking_the_banner_opens_the_home_page(self):
        browser = self.wine.files.drive_c("brumalis-browser.exe")
        shutil.copy(self.wine.programs.path(PROBE), browser)
        mark = self.wine.files.drive_c("browser-opened.txt")
        if os.path.exists(mark):
            os.remove(mark)
        for key in ("HKCR\\http\\shell\\open\\command", "HKCR\\https\\shell\\open\\command"):
            self.wine.server.reg("add", key, "/ve", "/d", 'C:\\brumalis-browser.exe "%1"', "/f")
        proc, dialog = self.open_dialog(music_settings(0))

        def opened(how):
            deadline = time.time() + 15
            while not os.path.exists(mark) and time.time() < deadline:
                time.sleep(0.2)
            self.assertTrue(os.path.exists(mark), f"{how}: no browser was asked to open the page")
            time.sleep(0.3)
            self.assertIn(HOME_PAGE, open(mark, errors="replace").read())
            os.remove(mark)
            self.assertIsNone(proc.poll(), "the dialog stays open")

        # From the keyboard: the banner is the last tab stop, after cancel.
        left = min((c for c in self.children(dialog) if c["class"] == PICTURE_BOX_CLASS), key=lambda c: c["x"])
        self.key("Tab", "Tab")  # from apply, past cancel
        self.assertEqual(self.focus(dialog), left["hwnd"])
        self.assertTrue(self.accessible(left["hwnd"])[0][1] & 0x4, "the banner is not focused to readers")
        self.wine.screen.xdotool("key", "Return")
        opened("Enter")
        self.click(*layout.centre_at_96("banner 1"))
        opened("a click")
        self.close(proc, dialog)


if __name__ == "__main__":
    main()
