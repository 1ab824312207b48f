"""End-to-end: music files as people have them, each played through a whole
full-screen run and heard on the sound server's capture: formats, names and
places, and files that cannot play. Prints a table: file, format, name,
played (RMS of the capture), stopped with the run, time to first sound.

    python3 -m tests.wine.music_matrix --arch win64 --bin build/win64/bin QuickMatrix   # for make test
    python3 -m tests.wine.music_matrix --arch win64 --bin build/win64/bin FullMatrix    # every case
"""

import os
import struct
from collections import namedtuple

from testkit import audio, runs
from testkit.audio import CAPTURE_LAG, LOUD
from testkit.settings import sealed_music_settings
from testkit.suite import WineTestCase, main

HEARD_FOR = 1.0  # seconds a run goes on once it has been heard, or not
SILENT_FOR = 2.0  # seconds a run that should be silent is listened to after its load


def sox(path, *options, seconds=1.2, rate=44100, channels=2):
    audio.tone(path, seconds, rate=rate, channels=channels, options=options)


def mp3(path, *lame, seconds=1.2, rate=44100, channels=2):
    audio.mp3(path, seconds, *lame, rate=rate, channels=channels)


def with_cover(path):
    """An MP3 behind an ID3v2.3 tag holding a 500 KB cover picture."""
    mp3(path)
    picture = os.urandom(500 * 1024)
    frame = b"\0image/jpeg\0\x03\0" + picture  # text encoding, MIME type, front cover, no description
    body = b"APIC" + struct.pack(">I", len(frame)) + b"\0\0" + frame
    size = bytes((len(body) >> shift) & 0x7F for shift in (21, 14, 7, 0))  # synch-safe
    with open(path, "rb") as f:
        audio = f.read()
    with open(path, "wb") as f:
        f.write(b"ID3\x03\x00\x00" + size + body + audio)


def with_info_chunk(path):
    """A 16-bit WAV with a LIST/INFO chunk between its format and its data."""
    sox(path, "-b", "16")
    with open(path, "rb") as f:
        data = f.read()
    title = b"INAM" + struct.pack("<I", 6) + b"title\0"
    chunk = b"LIST" + struct.pack("<I", 4 + len(title)) + b"INFO" + title
    at = data.index(b"data")
    data = data[:at] + chunk + data[at:]
    with open(path, "wb") as f:
        f.write(data[:4] + struct.pack("<I", len(data) - 8) + data[8:])


def text(path, content=b"this is not music\r\n" * 50):
    with open(path, "wb") as f:
        f.write(content)


def broken_wav(path):
    sox(path, "-b", "16")
    with open(path, "r+b") as f:
        f.seek(12)
        f.write(b"junk")  # the format chunk's name


# One file: where it lives (under C:\music matrix unless a drive says
# otherwise), how it is made, what kind of name it has, whether it plays,
# whether make test plays it, and how the settings name it.
Case = namedtuple("Case", "name make kind name_class plays quick stored", defaults=("plain", True, False, None))


# C:\music matrix\ (16) + this folder + \long.mp3 (9): 250 characters in all.
LONG_FOLDER = "deep " + "x" * 60 + "\\" + "y" * 60 + "\\" + "z" * 60 + "\\" + "w" * 37

CASES = [
    Case("cbr 128k 44100 stereo.mp3", lambda p: mp3(p, "-b", "128"), "MP3 CBR 44.1 kHz stereo"),
    Case("vbr.mp3", lambda p: mp3(p, "-V", "2"), "MP3 VBR 44.1 kHz stereo"),
    Case("32k mono.mp3", lambda p: mp3(p, "-m", "m", rate=32000, channels=1), "MP3 32 kHz mono"),
    Case("48k stereo.mp3", lambda p: mp3(p, rate=48000), "MP3 48 kHz stereo"),
    Case("cover.mp3", with_cover, "MP3, ID3v2 tag with a 500 KB picture"),
    Case("short.mp3", lambda p: mp3(p, seconds=0.3), "MP3 of 0.3 s (looped by the poll)"),
    Case("u8 mono 11025.wav", lambda p: sox(p, "-b", "8", "-e", "unsigned", rate=11025, channels=1),
         "WAV 8-bit mono 11.025 kHz"),
    Case("s16 stereo 44100.wav", lambda p: sox(p, "-b", "16"), "WAV 16-bit stereo 44.1 kHz"),
    Case("s24 48000.wav", lambda p: sox(p, "-t", "wavpcm", "-b", "24", rate=48000), "WAV 24-bit 48 kHz"),
    Case("float32.wav", lambda p: sox(p, "-t", "wavpcm", "-e", "floating-point", "-b", "32"), "WAV 32-bit float"),
    Case("extensible.wav", lambda p: sox(p, "-t", "wav", "-b", "24"), "WAV, WAVE_FORMAT_EXTENSIBLE 24-bit"),
    Case("ima adpcm.wav", lambda p: sox(p, "-e", "ima-adpcm", channels=1), "WAV IMA ADPCM mono"),
    Case("info chunk.wav", with_info_chunk, "WAV, LIST/INFO before the data"),
    Case("a & b % c ; (d) [e] 'f', g!.mp3", lambda p: mp3(p), "MP3", "blanks and & % ; ( ) [ ] ' , !",
         quick=True),
    Case("\u97f3\u697d \u30c6\u30b9\u30c8.mp3", lambda p: mp3(p), "MP3", "Japanese"),
    Case("Beyonc\u00e9 \ud55c\uad6d\uc5b4 \ub178\ub798.mp3", lambda p: mp3(p), "MP3",
         "\u00e9 and Hangul, by its short path", stored="short"),
    Case(LONG_FOLDER + "\\long.mp3", lambda p: mp3(p), "MP3", "a path of 250 characters", stored="long"),
    Case("D:\\on d.mp3", lambda p: mp3(p), "MP3", "another drive letter"),
    Case("UPPER.MP3", lambda p: mp3(p), "MP3", "ending in capitals"),
    Case("Mixed.Mp3", lambda p: mp3(p), "MP3", "ending in mixed case"),
    Case("text.mp3", text, "text named .mp3", plays=False, quick=True),
    Case("broken.wav", broken_wav, "WAV with a broken header", plays=False),
    Case("empty.mp3", lambda p: text(p, b""), "empty file", plays=False),
    Case("folder.mp3", os.makedirs, "a folder named .mp3", plays=False),
    Case("deleted.mp3", lambda p: mp3(p), "MP3 deleted before the run", plays=False, stored="deleted"),
]


class FullMatrix(WineTestCase):
    """Every case, for make music-matrix."""

    audio = True
    quick_only = False

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.rows = []
        cls.folder = cls.wine.files.fresh_folder("music matrix")
        drive_d = os.path.join(cls.wine.env["WINEPREFIX"], "dosdevices", "d:")
        os.makedirs(cls.wine.files.drive_c("drive d"), exist_ok=True)
        if os.path.lexists(drive_d):
            os.remove(drive_d)
        os.symlink(cls.wine.files.drive_c("drive d"), drive_d)

    @classmethod
    def tearDownClass(cls):
        print(f"\n{'file':<40} {'format':<38} {'name':<34} {'played (RMS)':>12} {'stopped':>8} {'first sound':>11}")
        for row in cls.rows:
            print("{:<40} {:<38} {:<34} {:>12} {:>8} {:>11}".format(*row))
        super().tearDownClass()

    def place(self, case):
        """The file's Windows path and its path on this host."""
        if case.name.startswith("D:\\"):
            return case.name, os.path.join(self.wine.files.drive_c("drive d"), case.name[3:])
        return "C:\\music matrix\\" + case.name, os.path.join(self.folder, *case.name.split("\\"))

    def run_case(self, case):
        windows_path, host_path = self.place(case)
        os.makedirs(os.path.dirname(host_path), exist_ok=True)
        case.make(host_path)
        if case.stored == "long":
            self.assertEqual(len(windows_path), 250)
        stored = self.wine.probe.short_path(windows_path) if case.stored == "short" else windows_path
        self.wine.files.write_settings(sealed_music_settings(self.wine.probe, 2, file=stored))
        if case.stored == "deleted":
            os.remove(host_path)
        # Judged below, from the whole recording, which covers the run and a
        # second after it.
        run = runs.recorded_run(self.wine, None, listen=10 if case.plays else SILENT_FOR, then=HEARD_FOR, stops=False)
        during = [i for i, (_, at) in enumerate(run.slices) if run.started < at <= run.ended]
        rms = max((run.rms[i] for i in during), default=0.0)
        first = next((run.slices[i][1] - run.started for i in during if run.slices[i][0] > LOUD), None)
        after = [peak for peak, at in run.slices if at > run.ended + CAPTURE_LAG]
        stopped = all(peak <= LOUD for peak in after)
        label = case.name if len(case.name) <= 40 else "..." + case.name[-37:]
        self.rows.append((label, case.kind, case.name_class, f"{rms:.0f}" + ("" if case.plays else " (none)"),
                          "yes" if stopped else "NO", f"{first:.2f} s" if first is not None else "-"))
        self.assertTrue(stopped, "sound after the run ended")
        self.assertEqual(first is not None, case.plays,
                         f"{case.name} " + ("did not play" if case.plays else "made a sound"))

    def test_each_file_plays_or_stays_silent_and_stops_with_the_run(self):
        for case in [c for c in CASES if c.quick or not self.quick_only]:
            with self.subTest(case.name):
                self.run_case(case)


class QuickMatrix(FullMatrix):
    """For make test: a name of every character that a name may trip on, and
    a file that is no music; the formats and names that the full-screen suite
    plays already (a WAV and an MP3 of 44.1 kHz, a name by its short path)
    are left to it."""

    quick_only = True


if __name__ == "__main__":
    main()
