"""Frame rate and CPU time of the renderer under Wine, on a private virtual
display: the renderer as built (frames paced to the display), the same
renderer built to draw as fast as its loop turns (as it did before pacing),
and the least WGL program drawing the same layers, one after the other in the
same run, at 320x240 and 1024x768.

CPU is the Wine process's own (user + system time from /proc, in % of one
core) over a stretch of steady running; the shares of the X server and of
the wineserver, which the frames also cost, are shown beside it. Frame rates
are read from the windows' titles, which both programs refresh every 3
seconds.

    python3 bench/frame_rate.py [--arch win64] [--bin build/win64/bin] [--rounds 2]

Other programs on the machine change the figures: compare the ratios within
a round, and run more than one round."""

import argparse
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
import harness  # noqa: E402

SIZES = [(320, 240), (1024, 768)]
MEASURE_SECONDS = 12.0
RATE = re.compile(r" - (\d+(?:\.\d+)?) fps$")
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of a process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


class Program:
    def __init__(self, label, cls, command):
        self.label, self.cls, self.command = label, cls, command


def programs(width, height):
    return [
        Program("least WGL program", "wgl-layers", ["wgl-layers.exe", str(width), str(height)]),
        Program("renderer, free run", "Caliguna", ["brumalis-free-run.exe"]),
        Program("renderer, paced", "Caliguna", ["Brumalis.dll"]),
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


def titles_of(session, window_id):
    result = subprocess.run(["xdotool", "getwindowname", window_id], env=session.env,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return result.stdout.decode("utf-8", "replace").strip()


def measure(session, program, width, height):
    session.write_settings(f"[Section]\r\nWidth={width}\r\nHeight={height}\r\n".encode())
    proc = session.start_program(*program.command)
    try:
        window = session.find_window(program.cls, "-", 30000, visible=True)
        # The first rate in the title comes after 3 s of frames, past the
        # start-up; the X window carries the same title, read without Wine.
        session.probe("wait-title", window["hwnd"], program.cls + " - ", "30000")
        found = subprocess.run(["xdotool", "search", "--name", "^" + program.cls + " - "], env=session.env,
                               stdout=subprocess.PIPE, check=True).stdout.split()
        window_id = found[0].decode()
        others = [session.display.process.pid, wineserver_pid(session)]
        last = titles_of(session, window_id)
        start, cpu0 = time.monotonic(), cpu_seconds(proc.pid)
        others0 = [cpu_seconds(pid) if pid else 0 for pid in others]
        rates = []
        while time.monotonic() - start < MEASURE_SECONDS:
            time.sleep(0.2)
            title = titles_of(session, window_id)
            if title != last:
                m = RATE.search(title)
                if m:
                    rates.append(float(m.group(1)))
                last = title
        span = time.monotonic() - start
        cpu = 100 * (cpu_seconds(proc.pid) - cpu0) / span
        xcpu, scpu = (100 * (cpu_seconds(pid) - c0) / span if pid else float("nan")
                      for pid, c0 in zip(others, others0))
        session.probe("key", window["hwnd"], str(harness.VK_ESCAPE))
        harness.wait_exit(proc, 20)
    finally:
        session.end_all()
    rate = sum(rates) / len(rates) if rates else float("nan")
    return rate, cpu, xcpu, scpu


def verdict(ok):
    return "meets target" if ok else "MISSES target"


def run_round(session, number, refresh):
    print(f"== round {number} (load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores)")
    print(f"{'size':>9}  {'program':<20} {'fps':>7} {'CPU %':>6} {'X server %':>10} {'wineserver %':>12}")
    results = {}
    for width, height in SIZES:
        order = programs(width, height)
        order = order[number % len(order):] + order[:number % len(order)]  # no program always first
        for program in order:
            rate, cpu, xcpu, scpu = measure(session, program, width, height)
            results[(width, height, program.label)] = (rate, cpu)
            print(f"{width:>4}x{height:<4}  {program.label:<20} {rate:7.1f} {cpu:6.1f} {xcpu:10.1f} {scpu:12.1f}",
                  flush=True)
    report(results, refresh)
    return results


def report(results, refresh):
    """Ratios and targets, from one round's figures or from their medians."""
    for width, height in SIZES:
        least = results[(width, height, "least WGL program")]
        free = results[(width, height, "renderer, free run")]
        paced = results[(width, height, "renderer, paced")]
        print(f"{width}x{height}: paced/refresh {paced[0] / refresh:.3f}, paced/least {paced[0] / least[0]:.3f}, "
              f"free/least {free[0] / least[0]:.3f}, CPU paced/free {paced[1] / free[1]:.3f}")
        if (width, height) == (320, 240):
            print(f"  frame rate within 5% of {refresh} Hz: {verdict(abs(paced[0] / refresh - 1) <= 0.05)}; "
                  f"at most 25% of one core: {verdict(paced[1] <= 25)}")
        else:
            floor = min(refresh, least[0])
            print(f"  at least 0.95 x {floor:.1f} fps (slower of refresh and least program): "
                  f"{verdict(paced[0] >= 0.95 * floor)}")


def median(values):
    values = sorted(values)
    middle = len(values) // 2
    return values[middle] if len(values) % 2 else (values[middle - 1] + values[middle]) / 2


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win64")
    parser.add_argument("--bin", default=os.path.join(harness.ROOT, "build", "win64", "bin"))
    parser.add_argument("--rounds", type=int, default=2)
    args = parser.parse_args()
    session = harness.WineSession(os.path.abspath(args.bin), "", arch=args.arch)
    try:
        session.start()
        refresh = int(session.probe("refresh")["hz"])
        print(f"display refresh (EnumDisplaySettings): {refresh} Hz; {os.cpu_count()} cores")
        refresh = refresh if refresh > 1 else 60
        rounds = [run_round(session, number, refresh) for number in range(1, args.rounds + 1)]
        if len(rounds) > 1:
            print(f"== medians of {len(rounds)} rounds")
            report({key: tuple(median([r[key][i] for r in rounds]) for i in range(2)) for key in rounds[0]}, refresh)
    finally:
        session.stop()


if __name__ == "__main__":
    main()
