"""A long run under Wine, not part of `make test`: the settings dialog for a
number of minutes, clicked through its choices all the while, then a
full-screen run with music for as long (the two never run side by side: a
start that finds the other ends). Every interval it prints, for each process,
its windows, its GDI objects and its memory; at the end of each part it
compares the last sample with the first steady one and fails when a count
grew.

    python3 -m tests.wine.soak --arch win64 --bin build/win64/bin [--minutes 10] [--interval 30]

(scripts/soak.sh, `make soak`, runs it in a prefix and on programs of its own.)
"""

import argparse
import os
import subprocess
import sys
import time

from testkit.names import BUTTON_CLASS, GROUP_FRAME_CLASS, HOST, PICTURE_BOX_CLASS, VK_ESCAPE
from testkit.session import WineSession
from testkit.settings import music_settings

MARKS = [(42, 50), (42, 70), (42, 90)]  # the option marks, in the dialog's client area
FIELDS = ("windows", "gdi", "working_set_kb", "private_kb")
# Memory may settle by a little after the first minute (caches, fonts, the
# sound path); a count of handles may not move at all.
MEMORY_SLACK_KB = 4096


class DialogPart:
    """The settings dialog, its option marks clicked in turn and the pointer
    moved over its buttons and pictures (which light and fade them)."""

    name = "dialog"

    def __init__(self, wine):
        self.wine = wine
        self.turn = 0

    def start(self):
        self.wine.start_program(HOST, "/c")
        self.dialog = self.wine.find_dialog()
        self.frame = next(c for c in self.wine.probe("texts", self.dialog["hwnd"])["children"]
                          if c["class"] == GROUP_FRAME_CLASS)
        self.processes = {"dialog": self.dialog["pid"]}

    def exercise(self):
        x, y = MARKS[self.turn % len(MARKS)]
        self.turn += 1
        frame_x = self.frame["x"] - int(self.dialog["client_x"])
        frame_y = self.frame["y"] - int(self.dialog["client_y"])
        self.wine.probe("click", self.frame["hwnd"], str(x - frame_x), str(y - frame_y))
        for child in self.wine.probe("texts", self.dialog["hwnd"])["children"]:
            if child["class"] in (BUTTON_CLASS, PICTURE_BOX_CLASS):
                self.wine.probe("move", child["hwnd"], str(child["w"] // 2), str(child["h"] // 2))

    def stop(self):
        self.wine.probe("close", self.dialog["hwnd"])
        self.wine.wait_gone(self.dialog["hwnd"])


class FullScreenPart:
    """A full-screen run with a WAV file looping, left alone."""

    name = "full-screen run"

    def __init__(self, wine):
        self.wine = wine

    def start(self):
        self.wine.start_program(HOST, "/s")
        main = self.wine.find_run(30000)
        self.renderer = self.wine.find_renderer()
        self.processes = {"host /s": main["pid"], "renderer": self.renderer["pid"]}

    def exercise(self):
        pass

    def stop(self):
        self.wine.probe("key", self.renderer["hwnd"], str(VK_ESCAPE))
        self.wine.wait_gone(self.renderer["hwnd"])


def sample(wine, processes):
    row = {}
    for name, pid in processes.items():
        info = wine.probe("resources", pid, check=False)
        if not info["ok"]:
            raise RuntimeError(f"{name} (pid {pid}) has ended")
        row[name] = {field: int(info[field]) for field in FIELDS}
    return row


def soak(part, minutes, interval):
    """Runs one part; the counts that grew after its first minute."""
    part.start()
    print(f"{part.name}: {minutes:g} min, a sample every {interval:g} s; pids {part.processes}", flush=True)
    sample(part.wine, part.processes)  # loads the GDI counter into each process before the first figures
    start = time.monotonic()
    samples = [sample(part.wine, part.processes)]
    show(0, samples[0])
    end = start + minutes * 60
    next_sample = start + interval
    while next_sample <= end + 0.5:
        while time.monotonic() < next_sample:
            part.exercise()
            time.sleep(min(2.0, max(0.0, next_sample - time.monotonic())))
        samples.append(sample(part.wine, part.processes))
        show(time.monotonic() - start, samples[-1])
        next_sample += interval
    part.wine.screenshot(save_as=f"soak-{part.name.split()[0]}.png")
    part.stop()
    steady = samples[min(len(samples) - 1, max(1, int(60 // interval)))]
    grown = growth(steady, samples[-1])
    print(f"{part.name}: " + ("grew: " + ", ".join(grown) if grown else "flat: no count grew after the first minute"),
          flush=True)
    return grown


def show(elapsed, row):
    cells = [f"{elapsed:6.0f}s"]
    for name, values in row.items():
        cells.append(f"{name}: {values['windows']:3d} win {values['gdi']:4d} gdi "
                     f"{values['working_set_kb'] / 1024:6.1f} MB ws {values['private_kb'] / 1024:6.1f} MB priv")
    print(" | ".join(cells), flush=True)


def growth(first, last):
    """The counts that grew between two samples, as text."""
    found = []
    for name in first:
        for field in FIELDS:
            slack = MEMORY_SLACK_KB if field.endswith("_kb") else 0
            change = last[name][field] - first[name][field]
            if change > slack:
                found.append(f"{name} {field} +{change}")
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win64")
    parser.add_argument("--bin", required=True)
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--interval", type=float, default=30)
    args = parser.parse_args()
    wine = WineSession(os.path.abspath(args.bin), args.arch, audio=True)
    wine.start()
    try:
        music = wine.drive_c("soak")
        os.makedirs(music, exist_ok=True)
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "2", os.path.join(music, "tone.wav"),
                        "synth", "3", "sine", "330", "vol", "0.3"], check=True)
        song = music_settings(2, file="C:\\soak\\tone.wav")
        wine.write_settings(song)
        grown = soak(DialogPart(wine), args.minutes, args.interval)
        wine.write_settings(song)  # the dialog's clicks changed the choice
        grown += soak(FullScreenPart(wine), args.minutes, args.interval)
        return 1 if grown else 0
    finally:
        wine.stop()


if __name__ == "__main__":
    sys.exit(main())
