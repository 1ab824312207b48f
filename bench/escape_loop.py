"""How often the renderer stalls on its way out, not part of `make test`: starts
the renderer alone, lets it draw for a moment, presses Escape, and times how
long its process outlives the press; again and again. Under Wine any GL
window takes about 2 s to go, so a process still there 5 s after the press
counts as a stall, and the stacks of its threads are printed.

    python3 -m bench.escape_loop [--arch win64] [--bin build/win64/bin] [--presses 300] [--size 1024x768]

It prints a line per stall and, at the end, the presses, the stalls and the
times from Escape to the end of the process (median, 95th percentile, most);
a start that shows no window within 30 s, or a window gone before the
press, is reported and not counted.
It runs in a copy of the architecture's prefix of its own, beside other
suites and other runs of itself (two builds compared under the same load)."""

import argparse
import os
import statistics
import time

from testkit.names import RENDERER, RENDERER_CLASS, VK_ESCAPE
from testkit.prefix import own_prefix
from testkit.processes import wait_exit
from testkit.session import WineSession
from testkit.settings import size_settings

STALL_SECONDS = 5.0
GIVE_UP_SECONDS = 60.0  # a process still there by then is killed


class NoPress(Exception):
    """No Escape reached the renderer: its start went wrong (no window shown
    within 30 s), or the window was gone before the press. Reported, not counted."""


def press(wine, draw_seconds):
    """One start and one Escape; seconds from the press to the process's end,
    and the stacks when that took longer than a stall."""
    proc = wine.programs.start(RENDERER)
    found = wine.probe("find", RENDERER_CLASS, "-", "30000", "visible", check=False)
    if not found.ok:
        # A window it made but never showed names the process to look into.
        hidden = wine.probe("find", RENDERER_CLASS, "-", "0", check=False)
        stacks = wine.programs.backtrace(hidden["pid"]) if hidden.ok else "(no window at all)"
        raise NoPress(f"no renderer window within 30 s; exit code {proc.poll()}; log {proc.log}\n{stacks}")
    window = found
    time.sleep(draw_seconds)
    if not wine.probe("key", window["hwnd"], str(VK_ESCAPE), check=False).ok:
        raise NoPress(f"Escape could not be sent; exit code {proc.poll()}; log {proc.log}")
    pressed = time.monotonic()
    stacks = None
    if wait_exit(proc, STALL_SECONDS) is None:
        stacks = wine.programs.backtrace(window["pid"])
        if wait_exit(proc, GIVE_UP_SECONDS) is None:
            proc.kill()
            proc.wait(10)
    return time.monotonic() - pressed, stacks


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win64")
    parser.add_argument("--bin", default=None)
    parser.add_argument("--presses", type=int, default=300)
    parser.add_argument("--size", default="1024x768")
    parser.add_argument("--draw", type=float, default=0.5, help="seconds of frames before each Escape")
    args = parser.parse_args()
    width, height = map(int, args.size.split("x"))
    bin_dir = os.path.abspath(args.bin or f"build/{args.arch}/bin")

    # A prefix and logs of its own, so that runs of two builds can go side by side.
    name = f"escape-loop-{os.getpid()}"
    remove_prefix = own_prefix(args.arch, name)
    wine = WineSession(bin_dir, args.arch, suite=name)
    times, stalls, failed_starts = [], 0, 0  # failed: no Escape reached the renderer
    try:
        wine.start()
        wine.files.write_settings(size_settings(width, height))
        for n in range(1, args.presses + 1):
            try:
                seconds, stacks = press(wine, args.draw)
            except NoPress as e:
                failed_starts += 1
                print(f"press {n}: {e}", flush=True)
                wine.programs.end_all()
                continue
            times.append(seconds)
            if stacks is not None:
                stalls += 1
                print(f"press {n}: the process outlived Escape by {seconds:.1f} s\n{stacks}", flush=True)
            elif n % 25 == 0:
                print(f"{n} presses, {stalls} stalls", flush=True)
            wine.programs.end_all()
    finally:
        wine.stop()
        remove_prefix()
    ordered = sorted(times) or [float("nan")]
    print(f"{args.arch} {os.path.relpath(bin_dir)}: {len(times)} presses, {stalls} stalls "
          f"(process alive {STALL_SECONDS:.0f} s after Escape); Escape to exit: "
          f"median {statistics.median(ordered):.2f} s, 95th percentile {ordered[int(0.95 * (len(ordered) - 1))]:.2f} s, "
          f"most {ordered[-1]:.2f} s; {failed_starts} times no Escape reached it")


if __name__ == "__main__":
    main()
