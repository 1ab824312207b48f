"""A sound server for Wine whose output can be recorded."""

import os
import shutil
import subprocess
import tempfile
import threading
import time

from testkit.processes import stop_process


class AudioServer:
    """A PulseAudio server whose only output is a null sink, so that Wine has
    a sound device; what plays can be recorded from the sink's monitor.

    A null sink renders in blocks as long as the latency its streams ask
    for, two seconds when none asks: then its monitor's data comes late and
    in lumps, and around the moment a program's stream comes or goes a
    recording may miss a stretch. A silent stream that asks for 20 ms plays
    for as long as the server runs, so that the sink never falls back to its
    long blocks. Even so the first second or two of a new recording may never
    come: a recording is judged by when its data came (Recording), not by
    where it lies from the recording's end."""

    SINK = "brumalis_null"

    def __init__(self):
        self.runtime = tempfile.mkdtemp(prefix="brumalis-pulse-")
        os.chmod(self.runtime, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, PULSE_RUNTIME_PATH=self.runtime + "/pulse")
        self.env.pop("PULSE_SERVER", None)
        self.pacer = None

    def start(self):
        subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "--disallow-exit", "-n",
                        "--use-pid-file=yes", f"--load=module-null-sink sink_name={self.SINK}",
                        "--load=module-native-protocol-unix", "--log-target=stderr"],
                       env=self.env, check=True, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL).returncode != 0:
            if time.time() > deadline:
                raise RuntimeError("the sound server did not start")
            time.sleep(0.1)
        self.pacer = subprocess.Popen(["pacat", "--playback", "-d", self.SINK, *self.FORMAT, "/dev/zero"],
                                      env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        stop_process(self.pacer)
        subprocess.run(["pulseaudio", "--kill"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.runtime, ignore_errors=True)

    FORMAT = ["--raw", "--format=s16le", "--rate=8000", "--channels=1", "--latency-msec=20"]

    def record(self):
        """Starts recording what the sink plays: 8000 samples a second, mono;
        returns once its data flows (the server's first recording may take
        two seconds to get any), so that what comes next is heard."""
        recording = Recording(subprocess.Popen(["parec", "-d", self.SINK + ".monitor", *self.FORMAT],
                                               env=self.env, stdout=subprocess.PIPE))
        deadline = time.monotonic() + 10
        while not recording.arrivals:
            if time.monotonic() > deadline or not recording.reader.is_alive():
                recording.stop()
                raise RuntimeError("the recorder got no sound data")
            time.sleep(0.02)
        return recording


MAX_GAP = 1.0  # seconds without data that a recording may have and still cover a span


def assert_recorded(heard, start, end):
    """Fails unless the recording `heard` (Recording.stop) covers the span from
    `start` to `end` (time.monotonic): its data came from `start` on, with no
    pause longer than MAX_GAP, until `end` or later. A check that nothing
    was heard proves this first: a recorder that died, or never ran, hears
    nothing too."""
    times = [at for _, at in heard]
    if not times:
        raise AssertionError("nothing was recorded, not even silence")
    if times[-1] < end:
        raise AssertionError(f"the recording stops {end - times[-1]:.2f} s before the end of the span it judges")
    within = [start] + [at for at in times if start < at < end] + [end]
    gap, at = max((b - a, a) for a, b in zip(within, within[1:]))
    if gap > MAX_GAP:
        raise AssertionError(f"the recording has no data for {gap:.2f} s from {at - start:.2f} s into the "
                             f"{end - start:.2f} s span it judges")


class Recording:
    """What the sink plays, read as it comes, with the time each piece came
    (time.monotonic), so that a test can tell what was heard after a moment
    without assuming that the recording spans the wall clock."""

    RATE = 8000

    def __init__(self, proc):
        self.proc = proc
        self.data = bytearray()
        self.arrivals = []  # (time, samples received by then)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        while True:
            piece = self.proc.stdout.read1(65536)
            if not piece:
                return
            self.data.extend(piece)
            self.arrivals.append((time.monotonic(), len(self.data) // 2))

    def stop(self, slice_ms=100):
        """Ends the recording; for each slice of `slice_ms`, its peak level and
        the time its last sample came."""
        self.proc.terminate()
        self.proc.wait(10)
        self.reader.join(10)
        self.proc.stdout.close()
        data = bytes(self.data)
        samples = [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]
        step = self.RATE * slice_ms // 1000
        slices, piece = [], 0
        self.rms = []  # the root mean square level of each slice, beside the peaks returned
        for start in range(0, len(samples), step):
            last = min(start + step, len(samples))
            while self.arrivals[piece][1] < last:
                piece += 1
            slices.append((max(abs(x) for x in samples[start:last]), self.arrivals[piece][0]))
            self.rms.append((sum(x * x for x in samples[start:last]) / (last - start)) ** 0.5)
        return slices
