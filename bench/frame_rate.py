"""Frame rate and CPU time of the renderer under Wine, on a private virtual
display: the renderer as built (frames paced to the display), the same
renderer built to draw as fast as its loop turns (as it did before pacing),
and the least WGL program drawing the same layers, one after the other in the
same run, at 320x240 and 1024x768; then the renderer again, resting with
the display off (told so as the system tells it), for its CPU alone. Last,
the paced renderer on a display of two 320x240 monitors side by side (an
Xephyr with two screens), whose second monitor it draws too: its CPU per
frame beside that on one such monitor (an Xephyr with one screen, the same
kind of server), with the share of Mesa's software rasterizer threads in it
(the fill, which a graphics card does elsewhere), and its frame rate on
each monitor: the
rate of its title times each window's share of the frames, which Wine's
trace of every buffer swap counts (the trace itself slows the frames, so it
is run apart and gives only the shares).

Frame rates are read from the windows' titles, which both programs refresh
every 3 seconds, over 12 seconds of steady running. CPU is the Wine
process's own over the same 12 seconds (user + system time from /proc, in %
of one core), and per frame; the shares of the X server and of the
wineserver, which the frames also cost, are shown beside it. Where other
programs keep the cores busy, the frame rate of a program that draws as fast
as it can follows the CPU time it gets, while its CPU time per frame stays
put.

    python3 -m bench.frame_rate [--arch win64] [--bin build/win64/bin] [--rounds 2] [--titles 4]

Other programs on the machine change the figures: compare the ratios within
a round, and run more than one round. `make test` runs it once in short
(--rounds 1 --titles 0 --sizes 320x240: one span from each program's first
rate, without the rest, whose cost the renderer suite holds to its target), so that it
keeps working; those figures say little.
It runs in a copy of the architecture's prefix, beside other suites."""

import argparse
import math
import os
import re
import select
import subprocess
import sys
import time

from testkit import ROOT
from testkit.display import Display
from testkit.names import RENDERER, RENDERER_CLASS, VK_ESCAPE
from testkit.prefix import copy_prefix, own_prefix, remove_prefix as remove_copy
from testkit.processes import cpu_seconds, threads_cpu_seconds, wait_exit
from testkit.session import WineSession
from testkit.settings import size_settings

SIZES = [(320, 240), (1024, 768)]
TITLES = 4  # title updates measured by default: 12 seconds
RATE = re.compile(r" - (\d+(?:\.\d+)?) fps$")
class Program:
    def __init__(self, label, cls, command):
        self.label, self.cls, self.command = label, cls, command


def programs(width, height):
    return [
        Program("least WGL program", "wgl-layers", ["wgl-layers.exe", str(width), str(height)]),
        Program("renderer, free run", RENDERER_CLASS, ["brumalis-free-run.exe"]),
        Program("renderer, paced", RENDERER_CLASS, [RENDERER]),
    ]


def wineserver_pid(session):
    """The wineserver of the session's prefix."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"wineserver" not in f.read().split(b"\0")[0]:
                    continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if b"WINEPREFIX=" + session.env["WINEPREFIX"].encode() in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            continue
    return None


def measure(session, program, width, height, titles):
    """Frames per second and CPU over the spans of `titles` successive title
    updates of a running program."""
    session.files.write_settings(size_settings(width, height))
    proc = session.programs.start(*program.command)
    spy = None
    try:
        window = session.probe.find_window(program.cls, "-", 30000, visible=True)
        # The first rate in the title comes after 3 s of frames, past the
        # start-up. The X window carries the same title; the X server tells
        # each time it is set, also to the same text.
        session.probe("wait-title", window["hwnd"], program.cls + " - ", "30000")
        found = subprocess.run(["xdotool", "search", "--name", "^" + program.cls + " - "], env=session.env,
                               stdout=subprocess.PIPE, check=True).stdout.split()
        spy = subprocess.Popen(["xprop", "-spy", "-id", found[0].decode(), "WM_NAME"], env=session.env,
                               stdout=subprocess.PIPE)

        def next_title():
            ready, _, _ = select.select([spy.stdout], [], [], 10)
            if not ready:
                raise RuntimeError(f"{program.label}: the title stopped changing")
            return spy.stdout.readline().decode("utf-8", "replace").strip().rstrip('"')

        pids = [proc.pid, session.display.processes[-1].pid, wineserver_pid(session)]
        next_title()  # the title as it is now: the first rate, past the start-up
        if titles:
            next_title()  # the start of the first whole span
        start, cpu0 = time.monotonic(), [cpu_seconds(pid) if pid else 0 for pid in pids]
        fill0 = threads_cpu_seconds(proc.pid, RASTERIZER)
        rates = []
        for _ in range(titles or 1):  # none: the span from the first rate to the next
            m = RATE.search(next_title())
            rates.append(float(m.group(1)) if m else float("nan"))
        span = time.monotonic() - start
        cpu = [100 * (cpu_seconds(pid) - c0) / span if pid else float("nan") for pid, c0 in zip(pids, cpu0)]
        fill = 100 * (threads_cpu_seconds(proc.pid, RASTERIZER) - fill0) / span
        session.probe("key", window["hwnd"], str(VK_ESCAPE))
        wait_exit(proc, 20)
    finally:
        if spy:
            spy.kill()
            spy.wait()
        session.programs.end_all()
    return (sum(rates) / len(rates), *cpu, fill)


REST_SECONDS = 10


def measure_rest(session, width, height):
    """CPU of the paced renderer over 10 s while the display is off, after it
    has drawn for a while, with the X server's and the wineserver's."""
    session.files.write_settings(size_settings(width, height))
    proc = session.programs.start(RENDERER)
    try:
        window = session.probe.find_window(RENDERER_CLASS, "-", 30000, visible=True)
        session.probe("wait-title", window["hwnd"], RENDERER_CLASS + " - ", "30000")
        session.probe("power-setting", window["hwnd"], "0")
        time.sleep(1)
        pids = [proc.pid, session.display.processes[-1].pid, wineserver_pid(session)]
        cpu0 = [cpu_seconds(pid) if pid else 0 for pid in pids]
        time.sleep(REST_SECONDS)
        cpu = [100 * (cpu_seconds(pid) - c0) / REST_SECONDS if pid else float("nan") for pid, c0 in zip(pids, cpu0)]
        session.probe("key", window["hwnd"], str(VK_ESCAPE))
        wait_exit(proc, 20)
    finally:
        session.programs.end_all()
    return cpu


SWAP = re.compile(r"^(\d+\.\d+):\w+:trace:wgl:glxdrv_wglSwapBuffers \((0x[0-9a-f]+)\)", re.M)


def measure_shares(session, width, height, seconds):
    """The share of the frames that each window of the paced renderer shows,
    over `seconds` of steady running, the most first: its buffer swaps, as
    Wine traces them (with their times), per device context, over the most
    any window made."""
    log = session.out.file("bench-frame-rate-swaps.txt")
    session.files.write_settings(size_settings(width, height))
    proc = session.programs.start(RENDERER, trace="+timestamp,+wgl", log=log)
    try:
        window = session.probe.find_window(RENDERER_CLASS, "-", 30000, visible=True)
        session.probe("wait-title", window["hwnd"], RENDERER_CLASS + " - ", "30000")
        time.sleep(seconds + 1)
        session.probe("key", window["hwnd"], str(VK_ESCAPE))
        wait_exit(proc, 20)
    finally:
        session.programs.end_all()
    swaps = {}
    with open(log, encoding="utf-8", errors="replace") as f:
        for at, dc in SWAP.findall(f.read()):
            swaps.setdefault(dc, []).append(float(at))
    if not swaps:
        return []
    # The last `seconds` but half a second before Escape, in every window.
    end = max(max(times) for times in swaps.values()) - 0.5
    start = end - seconds
    counts = [sum(start <= t < end for t in times) for times in swaps.values()]
    return sorted((count / max(counts) for count in counts), reverse=True)


def verdict(ok):
    return "meets target" if ok else "MISSES target"


RESTING = "renderer, display off"


# Mesa's software rasterizer names its threads so.
RASTERIZER = "llvmpipe-"
ONE_MONITOR = "renderer, one monitor"
TWO_MONITORS = "renderer, two monitors"


def run_round(session, number, refresh, titles, one=None, two=None):
    print(f"== round {number} (load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores)")
    print(f"{'size':>9}  {'program':<20} {'fps':>7} {'CPU %':>6} {'CPU ms/frame':>12} {'X server %':>10} "
          f"{'wineserver %':>12} {'fill %':>6}")
    results = {}
    for width, height in SIZES:
        order = programs(width, height)
        order = order[number % len(order):] + order[:number % len(order)]  # no program always first
        for program in order:
            rate, cpu, xcpu, scpu, fill = measure(session, program, width, height, titles)
            results[(width, height, program.label)] = (rate, cpu)
            print(f"{width:>4}x{height:<4}  {program.label:<20} {rate:7.1f} {cpu:6.1f} {10 * cpu / rate:12.2f} "
                  f"{xcpu:10.1f} {scpu:12.1f} {fill:6.1f}", flush=True)
        if titles:
            cpu, xcpu, scpu = measure_rest(session, width, height)
            results[(width, height, RESTING)] = (0.0, cpu)
            print(f"{width:>4}x{height:<4}  {RESTING:<20} {'-':>7} {cpu:6.1f} {'-':>12} {xcpu:10.1f} {scpu:12.1f}",
                  flush=True)
    if two:
        width, height = two.display.width, two.display.height
        program = programs(width, height)[-1]
        for label, nested in ((ONE_MONITOR, one), (TWO_MONITORS, two)):
            rate, cpu, xcpu, scpu, fill = measure(nested, program, width, height, titles)
            results[(width, height, label)] = (rate, cpu, fill)
            print(f"{width:>4}x{height:<4}  {label:<20} {rate:7.1f} {cpu:6.1f} {10 * cpu / rate:12.2f} "
                  f"{xcpu:10.1f} {scpu:12.1f} {fill:6.1f}", flush=True)
        shares = measure_shares(two, width, height, 3 * max(titles, 1))
        results[(width, height, "windows")] = tuple(rate * share for share in shares)
        print(f"{width:>4}x{height:<4}  share of the frames in each window: "
              f"{', '.join(f'{s:.3f}' for s in shares) or 'none counted'}", flush=True)
    report(results, refresh)
    return results


def report(results, refresh):
    """Ratios and targets, from one round's figures or from their medians."""
    for width, height in SIZES:
        least = results[(width, height, "least WGL program")]
        free = results[(width, height, "renderer, free run")]
        paced = results[(width, height, "renderer, paced")]
        resting = results.get((width, height, RESTING))
        print(f"{width}x{height}: paced/refresh {paced[0] / refresh:.3f}, paced/least {paced[0] / least[0]:.3f}, "
              f"free/least {free[0] / least[0]:.3f}, CPU paced/free {paced[1] / free[1]:.3f}")
        if (width, height) == (320, 240):
            print(f"  frame rate within 5% of {refresh} Hz: {verdict(abs(paced[0] / refresh - 1) <= 0.05)}; "
                  f"at most 25% of one core: {verdict(paced[1] <= 25)}")
        else:
            floor = min(refresh, least[0])
            print(f"  at least 0.95 x {floor:.1f} fps (slower of refresh and least program): "
                  f"{verdict(paced[0] >= 0.95 * floor)}")
        if resting:
            print(f"  display off: at most 1% of one core over {REST_SECONDS} s: {verdict(resting[1] <= 1)}")
        two = results.get((width, height, TWO_MONITORS))
        if two:
            one = results[(width, height, ONE_MONITOR)]
            ratio = (two[1] / two[0]) / (one[1] / one[0])
            rates = results[(width, height, "windows")]
            print(f"  two monitors: CPU per frame {ratio:.2f} x one monitor's, at most 1.7: {verdict(ratio <= 1.7)}")
            # Without the fill: what the renderer's own code and the driver's
            # set-up of the draws cost, which a graphics card leaves on the CPU.
            own = ((two[1] - two[2]) / two[0]) / ((one[1] - one[2]) / one[0])
            print(f"  two monitors without the software fill ({two[2] / two[1]:.0%} of their CPU): "
                  f"CPU per frame {own:.2f} x one monitor's")
            print(f"  frames per second on each monitor {', '.join(f'{r:.1f}' for r in rates)}, "
                  f"within 5% of {refresh} Hz: "
                  f"{verdict(len(rates) == 2 and all(abs(r / refresh - 1) <= 0.05 for r in rates))}")


def median(values):
    values = sorted(values)
    middle = len(values) // 2
    return values[middle] if len(values) % 2 else (values[middle - 1] + values[middle]) / 2


class Tee:
    """Writes to a stream and to a file."""

    def __init__(self, stream, copy):
        self.stream, self.copy = stream, copy

    def write(self, text):
        self.copy.write(text)
        return self.stream.write(text)

    def flush(self):
        self.copy.flush()
        self.stream.flush()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win64")
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "win64", "bin"))
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--titles", type=int, default=TITLES,
                        help="title updates measured, 3 s each; 0 for the first rate alone and no rest")
    parser.add_argument("--log", help="a file that gets a copy of what is printed")
    parser.add_argument("--sizes", default=",".join(f"{w}x{h}" for w, h in SIZES),
                        help="window sizes, such as 320x240,1024x768")
    args = parser.parse_args()
    SIZES[:] = [tuple(int(n) for n in size.split("x")) for size in args.sizes.split(",")]
    if args.log:
        os.makedirs(os.path.dirname(os.path.abspath(args.log)), exist_ok=True)
        sys.stdout = Tee(sys.stdout, open(args.log, "w"))
    remove_prefix = own_prefix(args.arch, "bench-frame-rate")
    session = WineSession(os.path.abspath(args.bin), args.arch, suite="bench-frame-rate")
    # One and two monitors of the size measured first, each in a prefix of
    # its own: a prefix's wineserver keeps the monitors of the display it met
    # first.
    width, height = SIZES[0]
    one, two = (WineSession(os.path.abspath(args.bin), args.arch, display=display,
                            prefix=copy_prefix(args.arch, f"bench-frame-rate-{name}"), suite="bench-frame-rate")
                for name, display in (("one", Display(width, height, nested=True)),
                                      ("two", Display(width, height, second=(width, height)))))
    try:
        session.start()
        one.start()
        two.start()
        refresh = session.probe("refresh")["hz"]
        print(f"display refresh (EnumDisplaySettings): {refresh} Hz; {os.cpu_count()} cores")
        refresh = refresh if refresh > 1 else 60
        rounds = [run_round(session, number, refresh, args.titles, one, two)
                  for number in range(1, args.rounds + 1)]
        if len(rounds) > 1:
            print(f"== medians of {len(rounds)} rounds")
            report({key: tuple(median([r[key][i] if i < len(r[key]) else math.nan for r in rounds])
                               for i in range(len(rounds[0][key]))) for key in rounds[0]}, refresh)
    finally:
        for nested in (one, two):
            nested.stop()
            remove_copy(nested.prefix)
        session.stop()
        remove_prefix()


if __name__ == "__main__":
    main()
