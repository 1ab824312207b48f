"""A long run under Wine, not part of `make test`: the settings dialog for a
number of minutes, clicked through its choices all the while, then a
full-screen run with music for as long (the two never run side by side: a
start that finds the other ends). Every interval it prints, for each process,
its windows, its GDI objects and its memory; at the end of each part it
compares the last sample with the first one after the first minute and fails
when a count grew. It fails at once on a count it cannot read (a GDI count of
-1, a memory figure of 0), refuses a run too short to compare two samples
after the first minute, and fails when a part's windows do not go at its end.

    python3 -m tests.wine.soak --arch win64 --bin build/win64/bin [--minutes 10] [--interval 30]

(scripts/soak.sh, `make soak`, runs it in a prefix and on programs of its own.)
"""

import argparse
import math
import os
import sys
import time

from testkit import runs
from testkit import settings_dialog as layout
from testkit.audio import tone
from testkit.names import BUTTON_CLASS, GROUP_FRAME_CLASS, PICTURE_BOX_CLASS
from testkit.session import WineSession
from testkit.settings import sealed_music_settings

FIELDS = ("windows", "gdi", "working_set_kb", "private_kb")
# Memory may settle by a little after the first minute (caches, fonts, the
# sound path); a count of handles may not move at all.
MEMORY_SLACK_KB = 4096
SETTLING_SECONDS = 60  # counts are compared from the first sample after this


class SoakFailure(Exception):
    """A soak that cannot judge, or whose programs misbehaved; says which."""


class DialogPart:
    """The settings dialog, its option marks clicked in turn and the pointer
    moved over its buttons and pictures (which light and fade them)."""

    name = "dialog"

    def __init__(self, wine):
        self.wine = wine
        self.turn = 0

    def start(self):
        self.proc, self.dialog = runs.open_dialog(self.wine, None)
        self.frame = next(c for c in self.wine.probe.children(self.dialog["hwnd"])
                          if c["class"] == GROUP_FRAME_CLASS)
        self.processes = {"dialog": self.dialog["pid"]}

    def exercise(self):
        x, y = layout.centre_at_96(f"mark {self.turn % 3}")
        self.turn += 1
        frame_x = self.frame["x"] - self.dialog["client_x"]
        frame_y = self.frame["y"] - self.dialog["client_y"]
        self.wine.probe("click", self.frame["hwnd"], str(x - frame_x), str(y - frame_y))
        for child in self.wine.probe.children(self.dialog["hwnd"]):
            if child["class"] in (BUTTON_CLASS, PICTURE_BOX_CLASS):
                self.wine.probe("move", child["hwnd"], str(child["w"] // 2), str(child["h"] // 2))

    def stop(self):
        runs.close(self.wine, self.proc, self.dialog)


class FullScreenPart:
    """A full-screen run with a WAV file looping, left alone."""

    name = "full-screen run"

    def __init__(self, wine):
        self.wine = wine

    def start(self):
        self.proc, self.main, self.renderer = runs.start_run(self.wine, None)
        self.processes = {"host /s": self.main["pid"], "renderer": self.renderer["pid"]}

    def exercise(self):
        pass

    def stop(self):
        runs.escape(self.wine, self.proc, self.renderer, self.main)


def sample(wine, processes):
    """Each process's counts; fails on one that has ended or that the probe
    could not count: a GDI count of -1 (the counter did not run in it) or a
    memory figure of 0 (the query failed) would make any growth look flat."""
    row = {}
    for name, pid in processes.items():
        info = wine.probe("resources", pid, check=False)
        if not info.ok:
            raise SoakFailure(f"{name} (pid {pid}) has ended")
        row[name] = {field: int(info[field]) for field in FIELDS}
        unread = [f"{field} {row[name][field]}" for field in FIELDS
                  if row[name][field] < 0 or (field.endswith("_kb") and row[name][field] == 0)]
        if unread:
            raise SoakFailure(f"{name} (pid {pid}): unreadable count: {', '.join(unread)}")
    return row


def settled_sample(interval):
    """The number of the first sample taken after the first minute, which the
    last one is compared with."""
    return max(1, math.ceil(SETTLING_SECONDS / interval))


def too_short(minutes, interval):
    """Why a part of `minutes` sampled every `interval` seconds cannot be
    judged, or None: after the first minute it needs two samples to compare."""
    if minutes * 60 < (settled_sample(interval) + 1) * interval:
        return (f"{minutes:g} min with a sample every {interval:g} s is too short to judge: counts are compared "
                f"from the first sample after {SETTLING_SECONDS} s, which needs "
                f"{(settled_sample(interval) + 1) * interval / 60:g} min or more")
    return None


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
    part.wine.screen.shot(save_as=f"soak-{part.name.split()[0]}.png")
    part.stop()
    part.wine.programs.end_all()  # raises when Wine reported a crash in one of the part's programs
    grown = growth(samples[settled_sample(interval)], samples[-1])
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
    why = too_short(args.minutes, args.interval)
    if why:
        parser.error(why)
    wine = WineSession(os.path.abspath(args.bin), args.arch, audio=True)
    wine.start()
    try:
        tone(os.path.join(wine.files.fresh_folder("soak"), "tone.wav"), 3, 330, rate=22050)
        song = sealed_music_settings(wine.probe, 2, file="C:\\soak\\tone.wav")
        wine.files.write_settings(song)
        grown = soak(DialogPart(wine), args.minutes, args.interval)
        wine.files.write_settings(song)  # the dialog's clicks changed the choice
        grown += soak(FullScreenPart(wine), args.minutes, args.interval)
        return 1 if grown else 0
    except (SoakFailure, AssertionError) as failure:  # a crash, or a window that stayed
        print(f"FAILED: {failure}", flush=True)
        return 1
    finally:
        wine.stop()


if __name__ == "__main__":
    sys.exit(main())
