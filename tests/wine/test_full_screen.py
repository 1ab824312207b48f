"""End-to-end: a full-screen run. The screensaver program starts the renderer
and the music, and ends with the renderer."""

import os
import re
import shutil
import time

from testkit import runs
from testkit.audio import CAPTURE_LAG, LOUD, assert_silent, mp3, runs_of_sound, tone
from testkit.names import (COVER_CLASS, HOST, KEYBOARD_STOP_CLASS, MONITOR_VIEW_CLASS, PLANTED, PROBE, RATE_TITLE,
                           RENDERER, RENDERER_CLASS, VK_ESCAPE)
from testkit.processes import cpu_seconds, wait_exit
from testkit.settings import music_lines, music_settings, sealed_music_settings, size_settings
from testkit.suite import WineTestCase, main
from tests.wine import sky

SND_NODEFAULT = 0x0002
GREY = (128, 128, 128)  # another program's window (the probe's)


class WithMusicFiles(WineTestCase):
    """A session with the sounds the runs play; the tests are in the classes
    below, each in a session of its own, so that they run side by side."""

    audio = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Short sounds: a 1 s WAV, a 1.5 s MP3 that must restart, under a
        # name the settings file cannot hold (kept by the short path the
        # dialog stores); names with "!" and the like are the music matrix's.
        music = cls.wine.files.fresh_folder("music dir")
        tone(os.path.join(music, "loop.wav"), 1.0, 440)
        mp3(os.path.join(music, "Beyonc\u00e9 \ud55c\uad6d\uc5b4.mp3"), 1.5, "-b", "128", frequency=660)
        # An MP3 longer than any test, which must not restart while it rests.
        mp3(os.path.join(music, "long.mp3"), 30, "-b", "64")
        # A real sound whose name does not end in WAV or MP3 plays nothing.
        shutil.copy(os.path.join(music, "loop.wav"), os.path.join(music, "loop.wav.mid"))


class FullScreen(WithMusicFiles):
    """How a run starts, watches and ends its renderer."""

    def test_one_monitor_no_cover_nonsense_ignored_and_escape_in_the_renderer_ends_both(self):
        # One run for what its start shows, what it shrugs off and how Escape
        # ends it: none of the checks changes what the next one sees.
        self.assertEqual(self.wine.probe("screen")["monitors"], 1)
        proc, main, renderer = self.start_run(music_settings(0))
        width, height = self.wine.display.width, self.wine.display.height
        self.assertFalse(main["visible"], "the run's own window stays hidden")
        self.assertNotEqual(main["pid"], renderer["pid"], "the renderer's window is the host's own")
        self.assertEqual((renderer["w"], renderer["h"]), (width, height))
        runs.answered(self.wine, main)  # the covers are made as the run loads
        self.assertFalse(self.wine.probe.window_exists(COVER_CLASS), "a cover window")
        self.assertEqual(self.wine.probe.windows_of(main["pid"]), [], "the host shows a window")
        # Any program may send these: a power setting whose address points
        # at nothing readable, and a creation message naming any object.
        self.wine.probe("wait-title", renderer["hwnd"], RATE_TITLE, "20000")
        for window in (renderer, main):
            for address in ("0x10", "0xdead0000", "-16"):
                with self.subTest(window=window["class"], address=address):
                    # WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE: answered as any power setting is.
                    self.assertEqual(self.wine.probe("send", window["hwnd"], "0x218", "0x8013", address)["result"], 1)
                    self.wine.probe("nccreate", window["hwnd"], address)
        before = self.wine.screen.shot().region(0, 0, width, height)
        after = self.wine.screen.wait_for(lambda picture: picture.region(0, 0, width, height) != before, 10,
                                          "the sky moving after the messages")
        after.save(self.wine.out.file("nonsense-messages.png"))
        self.assertIsNone(proc.poll(), "the run ended")
        # Pressed on the keyboard rather than posted: the renderer has it. The
        # host's watch ticks every 500 ms; the probe calls around it take time too.
        self.assertLess(runs.escape(self.wine, proc, renderer, main, pointer=(400, 300)), 2.5)

    def test_a_close_request_ends_the_host_and_leaves_the_renderer(self):
        # Nothing in the host's end ends the renderer: a host killed does no more than one asked.
        proc, main, renderer = self.start_run(music_settings(0))
        self.close(proc, main)
        self.assertFalse(self.wine.probe.wait_gone(renderer["hwnd"], 1000), "the renderer went too")
        runs.escape(self.wine, proc, renderer, None)

    def copy_of_the_pair(self, *parts, renderer=RENDERER):
        """A fresh folder of drive C: with the host and, under the renderer's
        name, the program `renderer` (the probe stands in for one); its
        Windows path."""
        folder = self.wine.files.fresh_folder(*parts)
        shutil.copy(self.wine.programs.path(HOST), folder)
        shutil.copy(self.wine.programs.path(renderer), os.path.join(folder, RENDERER))
        return "C:\\" + "\\".join(parts)

    def test_a_renderer_that_ends_hangs_or_cannot_start_without_showing_a_window_ends_the_run(self):
        # A renderer that has no window yet is waited for while it runs (the
        # probe stands in for one that exits 7 s after its start, itself
        # after the run's), and the run ends soon after it exits without a
        # window. One whose window stays hidden, as that of a renderer stuck
        # in its GL driver while making the window would, is waited for 15 s
        # from the run's start, then ended with the run. One that cannot
        # start at all ends the run at the first tick: program start and end
        # under Wine take a second or two; a run that waited for a renderer
        # that never started would last 5 s and more.
        self.wine.files.write_settings(music_settings(0))
        cases = ((PROBE, False, 7.0, 16), (PROBE, True, 12, 16.5), (None, False, 0, 4.5))
        for renderer, hang, shortest, longest in cases:
            with self.subTest(renderer=renderer, hang=hang):
                folder = self.copy_of_the_pair("renderer without a window", renderer=renderer or RENDERER)
                if renderer is None:
                    with open(self.wine.files.drive_c("renderer without a window", RENDERER), "wb") as f:
                        f.write(b"not a program")
                env = {"BRUMALIS_FAKE_RENDERER_EXIT_MS": "7000"}
                if hang:
                    env["BRUMALIS_FAKE_RENDERER_HANG"] = "1"
                start = time.time()
                proc = self.wine.programs.start(folder + "\\" + HOST, "/s", extra_env=env)
                if hang:
                    hung = self.wine.probe.find_window(RENDERER_CLASS, timeout_ms=20000)
                self.assertEqual(wait_exit(proc, 30), 0)
                took = time.time() - start
                self.assertTrue(shortest <= took < longest, f"the run lasted {took:.1f} s")
                if hang:
                    self.assertFalse(self.wine.probe("alive", hung["pid"])["alive"], "the renderer outlived the run")

    def test_a_stray_renderer_does_not_keep_the_run_alive(self):
        folder = self.copy_of_the_pair("stray renderer", renderer=PROBE)
        stray = self.wine.programs.start(folder + "\\" + RENDERER,
                                        extra_env={"BRUMALIS_FAKE_RENDERER_DELAY_MS": "0"})
        stray_window = self.wine.probe.find_renderer(20000)
        self.wine.files.write_settings(music_settings(0))
        proc = self.wine.programs.start(HOST, "/s")
        own = self.wine.probe.find_renderer(except_pid=stray_window["pid"])
        self.wine.probe("key", own["hwnd"], str(VK_ESCAPE))
        self.assertEqual(wait_exit(proc, 15), 0, "the stray renderer kept the run alive")
        self.assertIsNone(stray.poll(), "the stray renderer went too")
        self.wine.probe("close", stray_window["hwnd"])

    def test_two_starts_at_the_same_moment_make_one_run(self):
        self.wine.files.write_settings(music_settings(0))
        for attempt in range(3):
            with self.subTest(attempt=attempt):
                starts = [self.wine.programs.start(HOST, "/s") for _ in range(2)]
                deadline = time.time() + 20
                while time.time() < deadline and all(p.poll() is None for p in starts):
                    time.sleep(0.1)
                ended = [p for p in starts if p.poll() is not None]
                self.assertEqual(len(ended), 1, "neither start ended at once")
                renderer = self.wine.probe.find_renderer()
                # A second run's renderer, started at the same moment, would
                # be shown by the time this one has drawn frames enough to
                # give its rate.
                self.wine.probe("wait-title", renderer["hwnd"], RATE_TITLE, "20000")
                self.assertFalse(self.wine.probe.window_exists(RENDERER_CLASS, except_pid=renderer["pid"]), "two renderers")
                self.assertTrue(all(p.poll() is not None for p in ended))
                runs.escape(self.wine, [p for p in starts if p not in ended][0], renderer, None)

    def test_a_window_smaller_than_the_screen_leaves_no_desktop_showing(self):
        # Another user gave the settings file a second name: the run's write
        # of the screen's size is refused, and the renderer opens the window
        # the file asks for. Another program's window shows what must not.
        width, height = self.wine.display.width, self.wine.display.height
        asked = size_settings(640, 480) + music_lines(0)
        self.wine.files.write_settings(asked)
        second = self.wine.files.drive_c("second name.ini")
        if os.path.exists(second):
            os.remove(second)
        os.link(self.wine.files.settings_path(), second)
        self.addCleanup(os.remove, second)
        self.wine.probe.make_window("other program", 500, 400, at=(700, 550))  # ended with the test's programs
        self.wine.screen.wait_for(lambda picture: picture.pixel(900, 700) == GREY, 10, "the other window")

        proc, main, renderer = self.start_run(None)
        self.assertEqual((renderer["x"], renderer["y"], renderer["w"], renderer["h"]), (0, 0, 640, 480))
        picture = sky.wait_for_sky(self, self.wine.screen, 640, 480, "smaller-window-run.png")
        self.assertEqual(self.wine.files.read_settings(), asked, "the run wrote through the second name")
        for rest in ((640, 0, width, 480), (0, 480, width, height)):
            self.assertEqual(set(picture.region(*rest)), {(0, 0, 0)}, f"not black beside the window: {rest}")
        # Every cover lies beneath the renderer's window.
        order = [w["class"] for w in self.wine.probe.windows_of(renderer["pid"], main["pid"])]
        self.assertEqual(order[0], RENDERER_CLASS, order)
        self.assertEqual(set(order[1:]), {COVER_CLASS}, order)

        self.escape(proc, renderer, main)
        self.assertEqual(self.wine.screen.shot().pixel(900, 700), GREY, "a cover stayed after the run")

    # Named like the system libraries the programs use that are not among
    # those Windows keeps for itself, and one that the system's own code
    # inside them loads by name. Not version.dll: Wine's own user32 imports
    # it and looks for it in the program's folder first, before any line of
    # the program has run (on Windows user32 is a known DLL, which imports
    # no such thing and whose imports come from the system folder).
    PLANTED_NAMES = ("opengl32", "glu32", "winmm", "wtsapi32", "crypt32", "oleacc", "comctl32", "comdlg32",
                     "uxtheme")

    def test_a_copy_in_a_strange_folder_starts_only_its_own_renderer_and_loads_no_library_beside_it(self):
        # In code page 932 a yen sign has no character of its own: the
        # system's best fit makes it a backslash, which names another folder,
        # where another program waits under the renderer's name; a start
        # that took the first word of the path would run C:\Program.exe.
        # Beside the programs lie libraries named as the system's, as they
        # may in a downloaded copy's folder.
        parts = ("Program Files", "Brumalis\u00a5Test")
        program = self.copy_of_the_pair(*parts) + "\\" + HOST
        self.copy_of_the_pair("Program Files", "Brumalis", "Test", renderer=PROBE)
        impostor = self.wine.files.drive_c("Program.exe")
        shutil.copy(self.wine.programs.path(PROBE), impostor)
        self.addCleanup(os.remove, impostor)
        for name in self.PLANTED_NAMES:
            shutil.copy(self.wine.programs.path(PLANTED), self.wine.files.drive_c(*parts, name + ".dll"))
        marks = [self.wine.files.drive_c(name) for name in ("impostor-ran.txt", "planted-loaded.txt")]
        for mark in filter(os.path.exists, marks):
            os.remove(mark)
        # Wine would take a library of its own before one in the folder, so it
        # is told to prefer the one it finds, as Windows does.
        env = {"WINEDLLOVERRIDES": "mscoree,mshtml=;" + ",".join(self.PLANTED_NAMES) + "=n,b",
               "BRUMALIS_FAKE_RENDERER_DELAY_MS": "0"}
        proc, main, renderer = self.start_run(music_settings(0), program=program, extra_env=env)
        # Only the real renderer gives its frame rate in its title.
        self.wine.probe("wait-title", renderer["hwnd"], RATE_TITLE, "20000")
        sky.wait_for_sky(self, self.wine.screen, self.wine.display.width, self.wine.display.height,
                         "downloaded-copy.png")
        self.escape(proc, renderer, main)
        # The settings, and what a screen reader hears of them.
        proc = self.wine.programs.start(program, "/c", extra_env=env)
        dialog = self.wine.probe.find_dialog()
        heard = [p for c in self.wine.probe.children(dialog["hwnd"]) if c["class"] == KEYBOARD_STOP_CLASS
                 for p in self.wine.probe.accessible(c["hwnd"])]
        self.assertTrue(heard, "the dialog told a screen reader nothing")
        self.close(proc, dialog)
        for mark in filter(os.path.exists, marks):
            with open(mark) as f:
                self.fail(f"{os.path.basename(mark)}: {f.read()}")

class FullScreenMusic(WithMusicFiles):
    """The music of a run."""

    def test_an_mp3_named_outside_the_code_page_plays_by_its_short_path_and_restarts_when_it_ends(self):
        short = self.wine.probe.short_path("C:\\music dir\\Beyonc\u00e9 \ud55c\uad6d\uc5b4.mp3")
        run = runs.recorded_run(self.wine, sealed_music_settings(self.wine.probe, 2, file=short), listen=10, then=4.5,
                                trace="+mci")
        text, lengths = runs_of_sound(run.slices)
        self.assertGreaterEqual(len(lengths), 2, f"{short} did not play, or not again: {text}")
        # Wine's trace puts a backslash before each backslash and quote.
        commands = re.findall(r'mciSendStringW \(L"([^"\\]*(?:\\.[^"\\]*)*)"', run.trace)
        opened = 'open "' + short + '" type MPEGVideo Alias MP3Play'
        self.assertEqual(commands[0], opened.replace("\\", "\\\\").replace('"', '\\"'))
        self.assertIn("play MP3Play from 0", commands)
        restart = commands.index("play MP3Play from 0")
        # After the restart, the poll sees the file playing again.
        replies = re.findall(r'=> 2/ 0 \(L"(\w+)"\)', run.trace.split("play MP3Play from 0", 1)[1])
        self.assertIn("playing", replies)
        self.assertEqual(commands[-2:], ["stop MP3Play", "close MP3Play"])
        self.assertGreater(restart, 1)

    def test_the_music_rests_while_the_display_is_off_and_escape_still_ends_the_run(self):
        # Nobody is at the machine while its display is off, and an open
        # sound stream would keep it from sleeping: the MP3 pauses where it
        # is, its poll leaves it paused, and it plays on when the display
        # comes back. Whether Windows then sleeps is Windows' to show.
        moments = {}

        def display(main, renderer, value):
            # As the system tells every window that listens.
            self.wine.probe("power-setting", renderer["hwnd"], value)
            before = time.monotonic()
            sent = self.wine.probe("power-setting", main["hwnd"], value)
            return {"tick": sent["at_ms"], "before": before, "after": time.monotonic()}

        def off_and_on(recording, main, renderer):
            time.sleep(0.5)  # whole slices of it recorded before the display goes off
            moments["off"] = display(main, renderer, "0")
            time.sleep(3)  # silence judged from a second after the pause on
            moments["on"] = display(main, renderer, "1")

        run = runs.recorded_run(self.wine, sealed_music_settings(self.wine.probe, 2, file="C:\\music dir\\long.mp3"),
                                listen=10, then=2, meanwhile=off_and_on, trace="+timestamp,+mci")
        heard = run.slices
        text, _ = runs_of_sound(heard)
        off, on = moments["off"], moments["on"]
        _, before = runs_of_sound([h for h in heard if h[1] < off["before"]])
        self.assertTrue(before, f"no music before the display went off: {text}")
        assert_silent(heard, off["after"] + 1.0, on["before"])
        back = [h for h in heard if on["after"] < h[1] <= on["after"] + 1.5 + CAPTURE_LAG]
        self.assertIn("#", runs_of_sound(back)[0], f"no sound 1.5 s after the display came on: {text}")
        heard_again = next(h[1] for h in back if h[0] > LOUD) - on["after"]
        # The commands, timed on the clock of the sends.
        commands = [(int(s) * 1000 + int(ms), c) for s, ms, c in
                    re.findall(r'^(\d+)\.(\d+):.*mciSendStringW \(L"([^"]*)"', run.trace, re.M)]
        resting = [(t, c) for t, c in commands if off["tick"] <= t < on["tick"] and c != "status MP3Play mode"]
        self.assertTrue(resting, "no command after the display went off")
        self.assertEqual(resting[0][1], "pause MP3Play")
        print(f"paused {resting[0][0] - off['tick']} ms after the display went off; heard again "
              f"{heard_again:.2f} s after it came on")
        self.assertLess(resting[0][0] - off["tick"], 1000, "the pause came late")
        self.assertEqual([c for _, c in resting], ["pause MP3Play"], "the poll touched the paused file")
        woken = [c for t, c in commands if t >= on["tick"] and c != "status MP3Play mode"]
        self.assertEqual(woken[:1], ["resume MP3Play"])

    def test_no_music_and_files_that_cannot_play_are_silent_not_the_default_sound(self):
        # The system's default sound is a loud tone here, so that a player
        # that falls back to it is heard.
        music = self.wine.files.drive_c("music dir")
        shutil.copy(os.path.join(music, "loop.wav"), os.path.join(music, "default.wav"))
        shutil.copy(os.path.join(music, "loop.wav"), os.path.join(music, "locked.wav"))
        key = "HKCU\\AppEvents\\Schemes\\Apps\\.Default\\SystemDefault"
        self.wine.server.reg("add", key + "\\.Current", "/ve", "/d", "C:\\music dir\\default.wav", "/f")
        self.addCleanup(self.wine.server.reg, "delete", key, "/f")
        # The last file can be read when the settings are loaded, but the
        # sound player cannot open it: another program holds it open for
        # writing. A file deleted between the two steps meets the same end.
        self.wine.probe.start("lock", "C:\\music dir\\locked.wav").expect("locked")
        for kind, name in ((0, "loop.wav"), (2, "gone.wav"), (2, "loop.wav.mid"), (2, "locked.wav")):
            with self.subTest(kind=kind, name=name):
                settings = sealed_music_settings(self.wine.probe, kind, file="C:\\music dir\\" + name)
                run = runs.recorded_run(self.wine, settings, then=1, trace="+winmm")
                assert_silent(run.slices, run.started, run.ended + 1.0)
        # Wine's player never falls back to the default sound for a file name,
        # so silence alone proves little for the locked file: the request
        # itself must forbid it.
        flags = [int(f, 16) for f in re.findall(r"MULTIMEDIA_PlaySound pszSound='[0-9A-Fa-f]+' .*fdwSound=([0-9A-Fa-f]+)",
                                                run.trace)]
        self.assertTrue(flags, "the sound player was not asked to play")
        self.assertTrue(flags[0] & SND_NODEFAULT, f"played with flags {flags[0]:#x}: the default sound may stand in")

    def test_without_a_cd_drive_the_first_poll_gives_up_and_the_run_goes_on(self):
        trace = runs.recorded_run(self.wine, music_settings(1, repeat=3), then=1, trace="+mci").trace
        # Wine opens a device by itself for a command sent to it unopened.
        commands = [c for c in re.findall(r'mciSendStringW \(L"([^"]*)"', trace) if not c.endswith(" wait")]
        self.assertEqual(commands[:3], ["open cdaudio", "set cdaudio time format tmsf",
                                        "status cdaudio current track"])
        self.assertEqual(commands.count("status cdaudio current track"), 1, "polling went on")
        self.assertNotIn("stop cdaudio", commands)


class FullScreenWithoutGl(WineTestCase):
    """Two monitors side by side on a display where every GL call fails."""

    audio = True
    glx = False
    second_monitor = (1024, 768)

    def test_black_monitors_and_music_until_a_real_escape(self):
        tone(os.path.join(self.wine.files.fresh_folder("music dir"), "loop.wav"), 1.0, 440)

        def black_and_idle(recording, main, renderer):
            # Their places are the screens suite's, where GL works.
            self.wine.probe.find_window(MONITOR_VIEW_CLASS, "-", 20000, visible=True)
            # Nothing to draw, and nothing drawn: the renderer waits for
            # messages, while the run lives on through 2 s of the looping
            # sound heard whole (checked below).
            pid = self.wine.programs.host_pid(RENDERER)
            cpu = cpu_seconds(pid)
            time.sleep(3.0)
            busy = 100 * (cpu_seconds(pid) - cpu) / 3.0
            self.assertLessEqual(busy, 1.0, f"the renderer took {busy:.1f} % of a core drawing nothing")
            self.assertEqual(self.wine.probe("info", renderer["hwnd"])["title"], RENDERER_CLASS, "frames were counted")
            picture = self.wine.screen.shot("full-screen-without-gl.png")
            for name, (x0, y0, x1, y1) in (("primary", (0, 0, 1280, 1024)), ("second", (1280, 0, 2304, 768))):
                seen = {picture.pixel(x, y) for y in range(y0, y1, 7) for x in range(x0, x1, 7)}
                self.assertEqual(seen, {(0, 0, 0)}, f"the {name} monitor is not black")

        # Escape pressed on the keyboard, with the pointer over the second monitor.
        run = runs.recorded_run(self.wine, sealed_music_settings(self.wine.probe, 2, file="C:\\music dir\\loop.wav"),
                                meanwhile=black_and_idle, pointer=(1600, 300))
        for cls in (RENDERER_CLASS, MONITOR_VIEW_CLASS, COVER_CLASS):
            self.assertFalse(self.wine.probe.window_exists(cls), f"a window of class {cls} is left")
        text, lengths = runs_of_sound(run.slices)
        # 2 s of sound unbroken from a 1 s WAV: it loops.
        self.assertGreaterEqual(max(lengths, default=0), 20, f"the music did not loop through the run: {text}")


if __name__ == "__main__":
    main()
