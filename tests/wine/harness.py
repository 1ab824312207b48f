"""Runs the Windows programs under Wine on a private X display for the
end-to-end tests: starts and ends the display and the wineserver, starts the
programs, talks to their windows through the probe program, takes screenshots
and reads the settings file's bytes."""

import argparse
import itertools
import math
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "out")
LOGS = None  # see program_logs
SUITE = os.path.splitext(os.path.basename(sys.argv[0]))[0]  # names the logs; main() may rename it
STARTED = itertools.count(1)  # programs started by this script, numbering their logs

VK_ESCAPE = 0x1B
VK_SPACE = 0x20


def wine_environment(display, arch, prefix=None):
    """The environment of scripts/wine-env.sh for one architecture (win32 or
    win64), plus the display; with `prefix`, in that prefix instead of the
    architecture's own. The prefix is made if it is not there."""
    script = os.path.join(ROOT, "scripts", "wine-env.sh")
    env = dict(os.environ, BRUMALIS_WINEPREFIX=prefix) if prefix else None
    dump = subprocess.run(["bash", "-c", f'. "{script}" {arch} && brumalis_wine_prefix && env -0'],
                          check=True, stdout=subprocess.PIPE, env=env).stdout
    env = dict(item.split("=", 1) for item in dump.decode().split("\0") if "=" in item)
    env["DISPLAY"] = display
    return env


def start_x_server(command, env=None):
    """Starts an X server on a display number that it picks itself (the
    first free one), so that servers started side by side never take the same
    one; `command` is its command line without the display. Returns the
    display and the process."""
    read, write = os.pipe()
    try:
        proc = subprocess.Popen([command[0], "-displayfd", str(write), *command[1:]], env=env, pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        os.close(write)
    number = b""
    with os.fdopen(read, "rb") as pipe:
        ready, _, _ = select.select([pipe], [], [], 20)
        if ready:
            number = pipe.readline().strip()
    if number.isdigit():
        name = f":{number.decode()}"
        deadline = time.time() + 10
        while time.time() < deadline and proc.poll() is None:
            if subprocess.run(["xdpyinfo", "-display", name], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return name, proc
            time.sleep(0.1)
    stop_process(proc)
    raise RuntimeError(f"no X display could be started with {command[0]}")


def fresh_prefix(arch, path):
    """Makes `path` a prefix in which no program has run yet: a copy of a
    pristine prefix of the architecture, which is made once per build folder
    (as the shared prefix is) and never run in."""
    pristine = os.path.join(ROOT, "build", f"wine-{arch}-pristine")
    wine_environment("", arch, pristine)
    return replace_with_copy(pristine, path)


# Wine's own programs and libraries, most of a prefix's size: nothing writes
# them in place, so copies of a prefix share them as hard links.
SHARED_FOLDERS = ("system32", "syswow64")


def replace_with_copy(source, copy):
    """Makes the folder `copy` a copy of the prefix `source`; returns it.
    Every file is its own, but those of the system folders, which are linked:
    a copy takes a second and little disk."""
    shutil.rmtree(copy, ignore_errors=True)
    subprocess.run(["cp", "-a", "--link", source, copy], check=True)
    windows = os.path.join(copy, "drive_c", "windows")
    for folder, dirs, files in os.walk(copy):
        if folder == windows:
            dirs[:] = [d for d in dirs if d.lower() not in SHARED_FOLDERS]
        for name in files:
            path = os.path.join(folder, name)
            if not os.path.islink(path):
                shutil.copy2(path, path + ".copying")
                os.replace(path + ".copying", path)
    return copy


def remove_prefix(prefix):
    """Removes a copied prefix and the lock file beside it."""
    shutil.rmtree(prefix, ignore_errors=True)
    if os.path.exists(prefix + ".lock"):
        os.remove(prefix + ".lock")


def own_prefix(arch, name):
    """Gives this script a copy of the architecture's prefix, named after it,
    for every session it starts: scripts that run side by side then have
    their own wineservers and never see each other's windows. Returns a
    function that removes the copy."""
    prefix = copy_prefix(arch, name)
    os.environ["BRUMALIS_WINEPREFIX"] = prefix

    def remove():
        os.environ.pop("BRUMALIS_WINEPREFIX", None)
        remove_prefix(prefix)
    return remove


def stop_process(proc):
    if proc and proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def copy_prefix(arch, name):
    """A copy of the architecture's prefix under build/, made afresh for a
    test class that changes settings the other tests rely on."""
    source = wine_environment("", arch)["WINEPREFIX"]
    return replace_with_copy(source, f"{source}-{name.lower()}")


class Display:
    """An Xvfb display with 24-bit depth and, unless told otherwise, GLX.

    With `second` (a width and height), the display has two monitors side by
    side, the primary one at the left: Xvfb cannot place its screens apart,
    so a nested Xephyr with two screens joined by Xinerama (RandR off, so
    that Wine asks Xinerama) stands on an Xvfb large enough to hold both."""

    def __init__(self, width=1280, height=1024, glx=True, second=None):
        self.width, self.height = width, height
        self.glx = glx
        self.second = second
        self.processes = []

    def start(self):
        glx = ["+extension" if self.glx else "-extension", "GLX"]
        if not self.second:
            name, proc = start_x_server(["Xvfb", "-screen", "0", f"{self.width}x{self.height}x24", *glx,
                                         "-nolisten", "tcp", "-noreset"])
            self.processes = [proc]
            return name
        w2, h2 = self.second
        host, proc = start_x_server(["Xvfb", "-screen", "0", f"{self.width + w2}x{max(self.height, h2)}x24",
                                     "-nolisten", "tcp", "-noreset"])
        self.processes = [proc]
        try:
            name, nested = start_x_server(
                ["Xephyr", "+xinerama", "-extension", "RANDR", "-screen", f"{self.width}x{self.height}x24",
                 "-screen", f"{w2}x{h2}x24", *glx, "-nolisten", "tcp", "-noreset"],
                env=dict(os.environ, DISPLAY=host))
        except BaseException:
            self.stop()
            raise
        self.processes.append(nested)
        return name

    def stop(self):
        for proc in reversed(self.processes):
            stop_process(proc)
        self.processes = []


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
        """Starts recording what the sink plays: 8000 samples a second, mono."""
        return Recording(subprocess.Popen(["parec", "-d", self.SINK + ".monitor", *self.FORMAT],
                                          env=self.env, stdout=subprocess.PIPE))


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
        data = bytes(self.data)
        samples = [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]
        step = self.RATE * slice_ms // 1000
        slices, piece = [], 0
        for start in range(0, len(samples), step):
            last = min(start + step, len(samples))
            while self.arrivals[piece][1] < last:
                piece += 1
            slices.append((max(abs(x) for x in samples[start:last]), self.arrivals[piece][0]))
        return slices


class Picture:
    """An RGB screenshot."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        # P6 header: magic, width, height, maxval, each followed by whitespace.
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", blob)
        width, height = int(fields.group(1)), int(fields.group(2))
        if int(fields.group(3)) != 255:
            raise ValueError("expected 8 bits per sample")
        return cls(width, height, blob[fields.end():])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, x0, y0, x1, y1):
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]


class WineSession:
    """One display and one wineserver for a test class."""

    def __init__(self, bin_dir, native_bin, audio=False, arch="win32", glx=True, display=None, prefix=None):
        self.arch = arch
        self.prefix = prefix
        self.bin = bin_dir
        self.native_bin = native_bin
        self.display = display or Display(glx=glx)
        self.audio = AudioServer() if audio else None
        self.prefix = prefix
        self.env = None
        self.children = []

    def start(self):
        name = self.display.start()
        self.env = wine_environment(name, self.arch, self.prefix)
        if self.audio:
            self.audio.start()
            self.env["XDG_RUNTIME_DIR"] = self.audio.runtime
        # A persistent wineserver keeps each program's start short; one that
        # runs already (exit status 2) serves as well.
        server = subprocess.run([self.env["BRUMALIS_WINESERVER"], "-p"], env=self.env)
        if server.returncode not in (0, 2):
            raise RuntimeError(f"wineserver -p failed ({server.returncode})")
        # Brings up Wine's desktop services once; whether they have made a
        # window by then does not matter.
        self.probe("find", "-", "-", "0", check=False)

    def stop(self):
        """Ends whatever start() got to start, also after a failed start."""
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()
        if self.env:
            subprocess.run([self.env["BRUMALIS_WINESERVER"], "-k"], env=self.env)
            subprocess.run([self.env["BRUMALIS_WINESERVER"], "-w"], env=self.env, timeout=30)
        self.display.stop()
        if self.audio:
            self.audio.stop()

    # -- files of the prefix --------------------------------------------------
    def drive_c(self, *parts):
        return os.path.join(self.env["WINEPREFIX"], "drive_c", *parts)

    def settings_path(self):
        return self.drive_c("t_orka_temp", "Brumalis.ini")

    def write_settings(self, text_bytes):
        os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
        with open(self.settings_path(), "wb") as f:
            f.write(text_bytes)

    def remove_settings(self):
        shutil.rmtree(os.path.dirname(self.settings_path()), ignore_errors=True)

    # -- programs ---------------------------------------------------------------
    def wine(self, *command):
        """The command line that runs a Windows program with this
        architecture's loader."""
        return [self.env["BRUMALIS_WINE"], *command]

    def program(self, name):
        return os.path.join(self.bin, name)

    def start_program(self, name, *args, trace=None, log=None, extra_env=None):
        """Starts a program of the build folder, or a Windows path; `trace`
        sets WINEDEBUG channels whose output goes to the file `log`."""
        path = name if "\\" in name else self.program(name)
        env = dict(self.env, **(extra_env or {}))
        if trace:
            env["WINEDEBUG"] = trace
        if not log:
            # Kept, so that a program that crashed says where (see end_all).
            log = os.path.join(program_logs(), f"{next(STARTED):03d}-{os.path.basename(path.replace(chr(92), '/'))}.txt")
        with open(log, "wb") as out:
            proc = subprocess.Popen(self.wine(path, *args), env=env, stdout=out, stderr=out)
        proc.log = log
        self.children.append(proc)
        return proc

    def end_all(self):
        """Ends every program a test left running, so the next test starts clean."""
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()
                proc.wait(10)
            report_faults(getattr(proc, "log", None))
        self.children = []

    def probe(self, *args, check=True, timeout=60):
        result = subprocess.run(self.wine(self.program("brumalis-probe.exe"), *args), env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        if check and result.returncode != 0:
            raise AssertionError(f"probe {' '.join(args)} failed ({result.returncode})")
        info = {"children": []}
        for line in result.stdout.decode("ascii", "replace").splitlines():
            if "=" in line:
                key, value = line.strip().split("=", 1)
                if key == "child":
                    cls, text, hwnd, x, y, w, h, enabled, visible = value.rsplit(":", 8)
                    info["children"].append({
                        "class": cls, "text": bytes.fromhex(text).decode("cp932", "replace"), "hwnd": hwnd,
                        "x": int(x), "y": int(y), "w": int(w), "h": int(h),
                        "enabled": enabled == "1", "visible": visible == "1"})
                else:
                    info[key] = value
        if "title_hex" in info:
            info["title"] = bytes.fromhex(info["title_hex"]).decode("cp932", "replace")
        info["ok"] = result.returncode == 0
        return info

    def make_window(self, title, width=152, height=112, at=(100, 100)):
        """A grey window of another program, as the display settings' pane or
        a running instance would be; returns (process, handle)."""
        proc = subprocess.Popen(self.wine(self.program("brumalis-probe.exe"), "window",
                                          title.encode("cp932").hex(), str(width), str(height), *map(str, at)),
                                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.children.append(proc)
        line = proc.stdout.readline().decode().strip()
        if not line.startswith("hwnd="):
            raise AssertionError("the probe made no window")
        return proc, line.split("=", 1)[1]

    def find_window(self, cls="-", title="-", timeout_ms=30000, visible=False, except_pid=None):
        """The first such window; with `except_pid`, one of another process."""
        return self.probe("find", cls, title, str(timeout_ms), *(["visible"] if visible else []),
                          *([f"except={except_pid}"] if except_pid else []))

    def wait_gone(self, hwnd, timeout_ms=15000):
        return self.probe("gone", hwnd, str(timeout_ms), check=False)["ok"]

    def backtrace(self, pid):
        """The stacks of the threads of the Windows process `pid`, as the
        debugger prints them: what a program that does not answer is doing."""
        try:
            result = subprocess.run(self.wine("winedbg", str(pid)), input=b"bt all\ndetach\nquit\n", env=self.env,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        except subprocess.TimeoutExpired:
            return "(the debugger did not answer)"
        ours, keep = [], False
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            if line.startswith("Backtracing for thread"):
                keep = f" in process {int(pid):04x} " in line
            if keep:
                ours.append(line)
        return "\n".join(ours) or "(no stacks for this process)"

    # -- the screen ---------------------------------------------------------------
    def screenshot(self, save_as=None):
        blob = subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", "-depth", "8", "ppm:-"],
                              check=True, stdout=subprocess.PIPE).stdout
        if save_as:
            os.makedirs(OUT, exist_ok=True)
            subprocess.run(["convert", "ppm:-", os.path.join(OUT, save_as)], input=blob, check=True)
        return Picture.from_ppm(blob)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def restart_server(self):
        """Ends this prefix's wineserver and its programs, and starts a new
        one: settings that Wine reads once, such as the DPI, then apply."""
        self.end_all()
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-k"], env=self.env)
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-w"], env=self.env, timeout=30)
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-p"], env=self.env, check=True)
        self.probe("find", "-", "-", "0", check=False)

    def set_dpi(self, dpi):
        """The screen's DPI, as Wine reads it from the user's desktop settings;
        it takes effect with the next wineserver."""
        subprocess.run([*self.wine("reg"), "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.restart_server()


def program_logs():
    """The folder of this run's program logs, emptied by its first call:
    out/<arch>/logs/<suite>, so that each run keeps only its own."""
    global LOGS
    if LOGS is None:
        LOGS = os.path.join(OUT, "logs", SUITE)
        shutil.rmtree(LOGS, ignore_errors=True)
        os.makedirs(LOGS)
    return LOGS


def report_faults(log):
    """Prints the faults Wine reported in a program's output (its own, or
    of a program it started), such as "Unhandled page fault": a test that
    then fails on a window that stayed or an exit code says why."""
    if not log:
        return
    try:
        with open(log, "rb") as f:
            lines = f.read().decode("utf-8", "replace").splitlines()
    except OSError:
        return
    for line in lines:
        if "Unhandled" in line:
            print(f"{os.path.basename(log)}: {line}", file=sys.stderr, flush=True)


def wait_exit(proc, timeout):
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


def main():
    """Parses the binary folders, then runs the module's tests."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=("win32", "win64"), default="win32")
    parser.add_argument("--bin", required=True)
    parser.add_argument("--native-bin", default="")
    parser.add_argument("--suite", default=os.path.splitext(os.path.basename(sys.argv[0]))[0],
                        help="names this run's prefix and log folder (suites may run side by side)")
    args, rest = parser.parse_known_args()
    global OUT, SUITE
    SUITE = args.suite
    OUT = os.path.join(ROOT, "out", args.arch)  # screenshots and traces, one folder per architecture
    WineTestCase.arch = args.arch
    WineTestCase.bin_dir = os.path.abspath(args.bin)
    WineTestCase.native_bin = os.path.abspath(args.native_bin) if args.native_bin else ""
    remove_own_prefix = own_prefix(args.arch, args.suite)
    try:
        result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    finally:
        remove_own_prefix()
    sys.exit(0 if result.wasSuccessful() else 1)


class WineTestCase(unittest.TestCase):
    """Shares one Wine session among the tests of a class."""

    arch = "win32"
    bin_dir = ""
    native_bin = ""
    audio = False  # a class that plays sound sets this
    glx = True  # a class that needs a display without OpenGL clears this
    second_monitor = None  # (width, height) of a monitor right of the primary one
    private_prefix = False  # a class that changes the prefix's settings works on a copy

    @classmethod
    def setUpClass(cls):
        display = Display(glx=cls.glx, second=cls.second_monitor)
        prefix = copy_prefix(cls.arch, cls.__name__) if cls.private_prefix else None
        cls.wine = WineSession(cls.bin_dir, cls.native_bin, audio=cls.audio, arch=cls.arch,
                               glx=cls.glx, display=display, prefix=prefix)
        try:
            cls.wine.start()
        except BaseException:
            # tearDownClass does not run when set-up fails: end what started.
            cls.wine.stop()
            raise

    def setUp(self):
        self.addCleanup(self.wine.end_all)

    def assertGone(self, window, timeout_ms=15000, msg="the window stayed"):
        """Waits for a window found by the probe to go; when it stays, the
        failure shows the stacks of its program."""
        if not self.wine.wait_gone(window["hwnd"], timeout_ms):
            self.fail(f"{msg}; its program's threads:\n{self.wine.backtrace(window['pid'])}")

    @classmethod
    def tearDownClass(cls):
        cls.wine.stop()
        if cls.wine.prefix:
            remove_prefix(cls.wine.prefix)
