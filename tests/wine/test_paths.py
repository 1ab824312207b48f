"""End-to-end: what another user of the machine can make this user's
screensaver do through the settings file, which every user may write: reach
a pipe, feed the system's decoders a file of their own, authenticate to
another machine, or write and delete through a settings folder swapped for
a link. Wine resolves \\\\nas\\music through the prefix's
dosdevices/unc/nas/music, which points at a folder outside drive C:."""

import base64
import os
import re
import shutil
import time

from testkit import runs
from testkit.audio import mp3
from testkit import settings_dialog as layout
from testkit.names import ANSI, HOST, KEY_FILE, KEY_KIND, KEY_REPEAT, KEY_SEAL
from testkit.files import OpenWatch
from testkit.processes import wait_exit
from testkit.settings import music_lines, music_settings, seal_keys, sealed_music_settings, size_settings, value_of
from testkit.suite import WineTestCase, main

PIPE = "\\\\.\\pipe\\brumalis-probe.mp3"
SHARED = "\\\\nas\\music\\a.mp3"
TOUCHES_SHARE = re.compile(r"nas(\\\\|/)+music", re.I)  # the share's name in Wine's file trace
SILENT_FOR = 1.5  # seconds a run that plays nothing is listened to after its load
PLANTED = "C:\\planted"  # a folder another user made under C:\, as every user may
MCI_OPEN = re.compile(r'mciSendStringW \(L"open ')
# 信頼してBGMに使いますか？: the dialog's question
TRUST_QUESTION = "\u4fe1\u983c\u3057\u3066BGM\u306b\u4f7f\u3044\u307e\u3059\u304b\uff1f"


def music_keys(content):
    return [value_of(content, key) for key in (KEY_KIND, KEY_REPEAT, KEY_FILE)]


class Paths(WineTestCase):
    audio = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = cls.wine.env["WINEPREFIX"]
        cls.share = os.path.join(prefix, "nas-music")
        shutil.rmtree(cls.share, ignore_errors=True)
        os.makedirs(cls.share)
        mp3(os.path.join(cls.share, "a.mp3"), 2.0, "-b", "128", frequency=500)
        unc = os.path.join(prefix, "dosdevices", "unc", "nas")
        os.makedirs(unc, exist_ok=True)
        link = os.path.join(unc, "music")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(cls.share, link)

    # -- runs -------------------------------------------------------------------------
    def listen(self, settings):
        """A full-screen run: whether it was heard, and whether it touched
        the share."""
        run = runs.recorded_run(self.wine, settings, listen=SILENT_FOR, trace="+file")
        return run.sounded, bool(TOUCHES_SHARE.search(run.trace))

    def watched_run(self, settings, folder, probe_name):
        """A full-screen run under a watch of a host folder: whether it was
        heard, what it opened in the folder (the watch proven live afterwards
        with `probe_name`), and the MCI opens it sent."""
        watch = OpenWatch(folder)
        self.addCleanup(watch.close)
        run = runs.recorded_run(self.wine, settings, listen=SILENT_FOR, trace="+mci")
        return run.sounded, watch.opened() + watch.proves_itself(probe_name), MCI_OPEN.findall(run.trace)

    def apply_and_answer(self, dialog, key, shot=None):
        """Clicks 設定 (apply), then answers the question with a key (a
        screenshot of it first when named); returns its text and its buttons'
        texts."""
        runs.click(self.wine, runs.buttons(self.wine, dialog)["apply"])
        box = self.wine.probe.find_window("#32770", "-", 20000, visible=True)
        texts = [c["text"] for c in self.wine.probe.children(box["hwnd"])]
        if shot:
            self.wine.screen.shot(shot)
        self.wine.screen.xdotool("key", key)
        return texts

    # -- tests ------------------------------------------------------------------------
    def test_a_pipe_in_the_settings_file_is_never_opened(self):
        settings = music_settings(2, 3, PIPE)
        listener = self.wine.probe.start("pipe", PIPE.rsplit("\\", 1)[1])
        listener.expect("ready")
        for args in (["/x"], ["/c"], ["/s"], [None]):
            with self.subTest(args=args):
                self.wine.files.write_settings(settings)
                if args == ["/c"]:
                    proc, dialog = self.open_dialog(None)
                    self.wine.screen.xdotool("key", "Escape")
                    self.assertEqual(wait_exit(proc, 20), 0)
                elif args == ["/x"]:
                    self.assertEqual(wait_exit(self.wine.programs.start(HOST, *args), 30), 0)
                else:
                    runs.recorded_run(self.wine, None, *args)
                self.assertEqual(music_keys(self.wine.files.read_settings()), music_keys(settings))
        # The listener counts: one open of the pipe by another program is its
        # only client.
        control = self.wine.probe.start("lock", PIPE)
        control.expect("locked")
        time.sleep(0.5)
        clients = listener.finish(timeout=10, kill=True).all("client")
        control.finish(timeout=10, kill=True)
        self.assertEqual(clients, [{"number": 1}], "the screensaver program connected to the pipe")

    def test_a_network_path_is_opened_only_once_this_user_trusts_it(self):
        unsealed = music_settings(2, 0, SHARED)
        self.assertEqual(self.listen(unsealed), (False, False), "an unsealed network path was heard or touched")

        # The dialog shows it as stored, untouched; applying asks, once.
        proc, dialog = self.open_dialog(unsealed, trace="+file")
        self.assertEqual(runs.path_heard(self.wine, dialog), SHARED)
        self.wine.screen.shot("dialog-network-path.png")
        # The file browser starts in the program's folder, not on the share.
        runs.click(self.wine, runs.buttons(self.wine, dialog)["browse"])
        chooser = self.wine.probe.find_window("#32770", layout.OPEN_FILE_TITLE, 20000, visible=True)
        runs.answered(self.wine, chooser)
        places = [c["text"] for c in self.wine.probe.children(chooser["hwnd"]) if c["class"] == "ComboBox"]
        self.assertEqual(places[0], os.path.basename(self.wine.bin))
        self.wine.screen.xdotool("key", "Escape")
        self.assertGone(chooser, 10000)
        texts = self.apply_and_answer(dialog, "n", shot="question-network-path.png")
        self.assertEqual(wait_exit(proc, 20), 0)
        self.assertTrue(any(SHARED in t and TRUST_QUESTION in t for t in texts), texts)
        self.assertTrue(any("(&Y)" in t or "&Yes" in t for t in texts), f"no Yes on the Y key: {texts}")
        with open(proc.log, encoding="utf-8", errors="replace") as f:
            self.assertIsNone(TOUCHES_SHARE.search(f.read()), "the dialog touched the share")
        # No: stored as it was, unsealed.
        content = self.wine.files.read_settings()
        self.assertEqual(music_keys(content), music_keys(unsealed))
        self.assertEqual(seal_keys(content), {})

        proc, dialog = self.open_dialog(None)
        self.apply_and_answer(dialog, "y")
        self.assertEqual(wait_exit(proc, 20), 0)
        sealed = self.wine.files.read_settings()
        self.assertEqual(music_keys(sealed), music_keys(unsealed))
        self.assertEqual(len(seal_keys(sealed)), 1)
        self.assertEqual(self.listen(sealed), (True, True), "the trusted network path was not played")

        # A seal that does not open for this user counts for nothing: one made
        # with other entropy stands for another user's (Wine keys seals on the
        # user's name, so a real other user is Windows' to show), and this
        # user's own seal under another user's key is that user's.
        user, seal = next(iter(seal_keys(sealed).items()))
        made = self.wine.probe("seal", SHARED.encode().hex(), b"another user".hex())
        foreign = base64.b64encode(made["sealed"])
        self.assertEqual(made["user"], user)
        for name, key, value in (("foreign seal", user, foreign), ("another user's key", "S-1-5-21-1-2-3-1001", seal)):
            with self.subTest(name):
                content = unsealed + KEY_SEAL.encode(ANSI) + key.encode() + b"=" + value + b"\r\n"
                self.assertEqual(self.listen(content), (False, False))

    def test_a_drive_path_is_opened_only_once_this_user_trusts_it(self):
        # Another user planted the file and named it, or made C:\planted\j
        # lead to the share, as a junction through the object manager would
        # on Windows (here a host symbolic link): a path from C:\ proves
        # nothing about whose file it is, nor that it stays on this machine.
        folder = self.wine.files.fresh_folder(PLANTED[3:])
        shutil.copy(os.path.join(self.share, "a.mp3"), os.path.join(folder, "x.mp3"))
        os.symlink(os.path.join(self.wine.env["WINEPREFIX"], "dosdevices", "unc", "nas", "music"),
                   os.path.join(folder, "j"))
        for path, watched, name in ((PLANTED + "\\x.mp3", folder, "x.mp3"),
                                    (PLANTED + "\\j\\a.mp3", self.share, "a.mp3")):
            with self.subTest(path=path):
                unsealed = music_settings(2, 0, path)
                heard, opened, opens = self.watched_run(unsealed, watched, name)
                self.assertEqual((heard, opened, opens), (False, [], []), "an unsealed drive path was heard or opened")
                self.assertEqual(music_keys(self.wine.files.read_settings()), music_keys(unsealed))
        # With this user's seal, as the dialog leaves it once the user trusts
        # the path (as the network path's case shows), the next run plays it.
        sealed = sealed_music_settings(self.wine.probe, 2, 0, PLANTED + "\\x.mp3")
        heard, opened, opens = self.watched_run(sealed, folder, "x.mp3")
        self.assertTrue(heard, "the trusted drive path was not played")
        self.assertIn("x.mp3", opened)
        self.assertEqual(len(opens), 1, opens)

    def test_no_write_goes_through_a_settings_folder_swapped_for_a_link(self):
        folder = os.path.dirname(self.wine.files.settings_path())
        elsewhere = self.wine.files.fresh_folder("elsewhere")
        target = os.path.join(elsewhere, os.path.basename(self.wine.files.settings_path()))
        content = size_settings(640, 480, blank=" ") + music_lines(1, 5)
        shutil.rmtree(folder, ignore_errors=True)
        os.symlink(elsewhere, folder)
        try:
            with open(target, "wb") as f:
                f.write(content)
            # The run goes on, at the size the renderer reads.
            renderer = runs.recorded_run(self.wine, None).renderer
            self.assertEqual((renderer["w"], renderer["h"]), (640, 480))
            with open(target, "rb") as f:
                self.assertEqual(f.read(), content, "the run wrote through the link")
            proc, dialog = self.open_dialog(None)
            runs.click(self.wine, runs.buttons(self.wine, dialog)["apply"])
            self.assertEqual(wait_exit(proc, 20), 0)
            with open(target, "rb") as f:
                self.assertEqual(f.read(), content, "the dialog wrote through the link")
        finally:
            os.remove(folder)


if __name__ == "__main__":
    main()
