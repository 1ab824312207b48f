"""A Wine session: one display, a sound server when asked for, and one
wineserver, in which the programs of a build folder run and the probe
(tests/wine/probe.cpp) looks at their windows and talks to them."""

import itertools
import os
import shutil
import subprocess
import sys

from testkit import out_dir
from testkit.audio import AudioServer
from testkit.display import Display
from testkit.names import ANSI, DIALOG_TITLE, PROBE, RENDERER_CLASS, RUN_TITLE, SETTINGS_FILE, SETTINGS_FOLDER
from testkit.prefix import wine_environment
from testkit.processes import ProgramCrashed, crash_lines
from testkit.screenshots import screenshot

STARTED = itertools.count(1)  # programs started by this script, numbering their logs
EMPTIED_LOGS = set()  # log folders this script has emptied


class WineSession:
    """The programs of `bin_dir` for `arch` (win32 or win64) on a display of
    their own (an Xvfb of 1280 x 1024 unless given one), in the
    architecture's prefix or in `prefix`. What they print goes to
    out/<arch>/logs/<suite>, named after the script unless told."""

    def __init__(self, bin_dir, arch, display=None, audio=False, prefix=None, suite=None):
        self.bin = bin_dir
        self.arch = arch
        self.display = display or Display()
        self.audio = AudioServer() if audio else None
        self.prefix = prefix
        self.suite = suite or os.path.splitext(os.path.basename(sys.argv[0]))[0]
        self.out = out_dir(arch)
        self.env = None
        self.children = []

    def start(self):
        name = self.display.start()
        self.env = wine_environment(name, self.arch, self.prefix)
        if self.audio:
            self.audio.start()
            self.env["XDG_RUNTIME_DIR"] = self.audio.runtime
        self._start_server()

    def _start_server(self):
        # A persistent wineserver keeps each program's start short; one that
        # runs already (exit status 2) serves as well.
        server = subprocess.run([self.env["BRUMALIS_WINESERVER"], "-p"], env=self.env)
        if server.returncode not in (0, 2):
            raise RuntimeError(f"wineserver -p failed ({server.returncode})")
        # Brings up Wine's desktop services once; whether they have made a
        # window by then does not matter.
        self.window_exists()

    def _end_server(self):
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-k"], env=self.env)
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-w"], env=self.env, timeout=30)

    def stop(self):
        """Ends whatever start() got to start, also after a failed start."""
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()
        if self.env:
            self._end_server()
        self.display.stop()
        if self.audio:
            self.audio.stop()

    def restart_server(self):
        """Ends this prefix's wineserver and its programs, and starts a new
        one: settings that Wine reads once, such as the DPI, then apply."""
        self.end_all()
        self._end_server()
        self._start_server()

    # -- files ------------------------------------------------------------------
    def drive_c(self, *parts):
        return os.path.join(self.env["WINEPREFIX"], "drive_c", *parts)

    def fresh_folder(self, *parts):
        """An empty folder of drive C:, made afresh; its path on this host."""
        folder = self.drive_c(*parts)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        return folder

    def settings_path(self):
        return self.drive_c(*SETTINGS_FOLDER.split("\\")[1:], SETTINGS_FILE)

    def read_settings(self):
        with open(self.settings_path(), "rb") as f:
            return f.read()

    def write_settings(self, text_bytes):
        os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
        with open(self.settings_path(), "wb") as f:
            f.write(text_bytes)

    def remove_settings(self):
        shutil.rmtree(os.path.dirname(self.settings_path()), ignore_errors=True)

    def out_file(self, name):
        """A file of out/<arch>, for screenshots and traces to look at."""
        os.makedirs(self.out, exist_ok=True)
        return os.path.join(self.out, name)

    def log_file(self, name):
        """A file of this script's log folder, out/<arch>/logs/<suite>, which
        its first use empties, so that each run keeps only its own."""
        logs = os.path.join(self.out, "logs", self.suite)
        if logs not in EMPTIED_LOGS:
            EMPTIED_LOGS.add(logs)
            shutil.rmtree(logs, ignore_errors=True)
        os.makedirs(logs, exist_ok=True)
        return os.path.join(logs, name)

    # -- programs -----------------------------------------------------------------
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
            # Kept, so that a crash fails the test and says where (see end_all).
            log = self.log_file(f"{next(STARTED):03d}-{os.path.basename(path.replace(chr(92), '/'))}.txt")
        with open(log, "wb") as out:
            proc = subprocess.Popen(self.wine(path, *args), env=env, stdout=out, stderr=out)
        proc.log = log
        self.children.append(proc)
        return proc

    def end_all(self):
        """Ends every program a test left running, so the next test starts
        clean; raises ProgramCrashed, naming the faults, when Wine reported
        an unhandled exception in any program started since the last call
        (the renderer's show in the host's log)."""
        crashes = []
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()
                proc.wait(10)
            crashes += crash_lines(getattr(proc, "log", None))
        self.children = []
        if crashes:
            raise ProgramCrashed("a program crashed:\n" + "\n".join(crashes))

    def reg(self, *args):
        """Wine's reg command, which must succeed."""
        subprocess.run(self.wine("reg", *args), env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def set_dpi(self, dpi):
        """The screen's DPI, as Wine reads it from the user's desktop settings;
        it takes effect with the next wineserver, which this starts."""
        self.reg("add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        self.restart_server()

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

    # -- the probe --------------------------------------------------------------------
    def probe_lines(self, *args, timeout=60):
        """Runs one probe command; its exit code and its key=value lines."""
        result = subprocess.run(self.wine(self.program(PROBE), *args), env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        lines = [line.strip().split("=", 1) for line in result.stdout.decode("ascii", "replace").splitlines()
                 if "=" in line]
        return result.returncode, lines

    def probe(self, *args, check=True, timeout=60):
        """Runs one probe command; its lines as a dict, with "ok", the title
        decoded, and the "child" lines as a list of dicts under "children"."""
        code, lines = self.probe_lines(*args, timeout=timeout)
        if check and code != 0:
            raise AssertionError(f"probe {' '.join(args)} failed ({code})")
        info = {"children": []}
        for key, value in lines:
            if key == "child":
                cls, text, hwnd, x, y, w, h, enabled, visible = value.rsplit(":", 8)
                info["children"].append({
                    "class": cls, "text": bytes.fromhex(text).decode(ANSI, "replace"), "hwnd": hwnd,
                    "x": int(x), "y": int(y), "w": int(w), "h": int(h),
                    "enabled": enabled == "1", "visible": visible == "1"})
            else:
                info[key] = value
        if "title_hex" in info:
            info["title"] = bytes.fromhex(info["title_hex"]).decode(ANSI, "replace")
        info["ok"] = code == 0
        return info

    def start_probe(self, *args):
        """Starts a probe command that lives on (window, lock); it ends with
        the test."""
        proc = subprocess.Popen(self.wine(self.program(PROBE), *args), env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.children.append(proc)
        return proc

    def make_window(self, title, width=152, height=112, at=(100, 100)):
        """A grey window of another program, as the display settings' pane or
        a running instance would be; returns (process, handle)."""
        proc = self.start_probe("window", title.encode(ANSI).hex(), str(width), str(height), *map(str, at))
        line = proc.stdout.readline().decode().strip()
        if not line.startswith("hwnd="):
            raise AssertionError("the probe made no window")
        return proc, line.split("=", 1)[1]

    def find_window(self, cls="-", title="-", timeout_ms=30000, visible=False, except_pid=None):
        """The first such window; with `except_pid`, one of another process."""
        return self.probe("find", cls, title, str(timeout_ms), *(["visible"] if visible else []),
                          *([f"except={except_pid}"] if except_pid else []))

    def find_renderer(self, timeout_ms=30000, except_pid=None):
        """The renderer's window, once it is shown."""
        return self.find_window(RENDERER_CLASS, "-", timeout_ms, visible=True, except_pid=except_pid)

    def find_dialog(self, timeout_ms=30000):
        """The settings dialog, once it is shown."""
        return self.find_window("-", DIALOG_TITLE, timeout_ms, visible=True)

    def find_run(self, timeout_ms=20000):
        """The full-screen run's own window, which is never shown."""
        return self.find_window("-", RUN_TITLE, timeout_ms)

    def window_exists(self, cls="-", title="-", except_pid=None):
        """Whether such a top-level window is there now."""
        return self.probe("find", cls, title, "0", *([f"except={except_pid}"] if except_pid else []),
                          check=False)["ok"]

    def windows_of(self, pid):
        """The shown top-level windows of a process, with their places and styles."""
        windows = []
        for key, value in self.probe_lines("windows", str(pid))[1]:
            if key == "window":
                cls, hwnd, x, y, w, h, style, exstyle = value.rsplit(":", 7)
                windows.append({"class": cls, "hwnd": hwnd, "x": int(x), "y": int(y), "w": int(w), "h": int(h),
                                "style": int(style, 16), "exstyle": int(exstyle, 16)})
        return windows

    def wait_gone(self, hwnd, timeout_ms=15000):
        return self.probe("gone", hwnd, str(timeout_ms), check=False)["ok"]

    # -- the screen -------------------------------------------------------------------
    def screenshot(self, save_as=None):
        """The whole screen; with `save_as`, also kept under out/<arch>."""
        picture = screenshot(self.env["DISPLAY"])
        if save_as:
            picture.save(self.out_file(save_as))
        return picture

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)
