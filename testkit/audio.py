"""A sound server for Wine whose output can be recorded."""

import array
import os
import re
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
LOUD = 1000  # peak level that counts as sound (full scale is 32767)
CAPTURE_LAG = 0.3  # seconds from the sink to the recording, with a wide margin


def assert_silent(heard, start, end):
    """Fails unless the recording `heard` covers the span from `start` to
    `end` (assert_recorded) and nothing loud came in it, less the time sound
    takes to reach the recording."""
    assert_recorded(heard, start, end)
    text, _ = runs_of_sound(heard)
    during, _ = runs_of_sound([h for h in heard if start + CAPTURE_LAG < h[1] <= end])
    if "#" in during:
        raise AssertionError(f"sound in the {end - start:.1f} s from {start:.1f}: {text} (in the span: {during})")


def runs_of_sound(heard):
    """A recording (Recording.stop) as text, "#" for a loud slice and "." for
    a quiet one, and the lengths of its runs of sound."""
    text = "".join("#" if level > LOUD else "." for level, _ in heard)
    return text, [len(r) for r in re.findall(r"#+", text)]


def tone(path, seconds, frequency=550, rate=44100, channels=2, options=("-b", "16")):
    """A sine tone at half of full scale in a sound file of the type its
    name or `options` say (sox)."""
    subprocess.run(["sox", "-n", "-r", str(rate), "-c", str(channels), *options, path,
                    "synth", str(seconds), "sine", str(frequency), "vol", "0.5"], check=True)


def mp3(path, seconds, *lame, frequency=550, rate=44100, channels=2):
    """A tone as an MP3, encoded by lame with its options `lame`."""
    raw = path + ".raw.wav"
    tone(raw, seconds, frequency, rate, channels)
    subprocess.run(["lame", "--quiet", *lame, raw, path], check=True)
    os.remove(raw)


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

    def sound_within(self, timeout):
        """Whether a loud sample comes within `timeout` seconds; returns as
        soon as one has."""
        deadline, checked = time.monotonic() + timeout, 0
        while True:
            end = len(self.data) // 2 * 2
            samples = array.array("h", bytes(self.data[checked:end]))  # s16le, as on this host
            if samples and max(map(abs, samples)) > LOUD:
                return True
            checked = end
            if time.monotonic() > deadline:
                return False
            time.sleep(0.05)

    def stop_at(self, moment):
        """Ends the recording once data has come at `moment` (time.monotonic)
        or later, or 5 s after it at the latest: what stop() returns."""
        while time.monotonic() < moment + 5 and not (self.arrivals and self.arrivals[-1][0] >= moment):
            time.sleep(0.05)
        return self.stop()

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
