"""Virtual X displays: an Xvfb, or monitors side by side.

    python3 -m testkit.display [WIDTHxHEIGHT]

starts an Xvfb for a shell script (scripts/test.sh) and prints its display
and its process id; the server runs until the script ends it."""

import os
import select
import subprocess
import sys
import time

from testkit.processes import stop_process


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


class Display:
    """An Xvfb display with 24-bit depth and, unless told otherwise, GLX.

    With `second` (a width and height), the display has two monitors side by
    side, the primary one at the left: Xvfb cannot place its screens apart,
    so a nested Xephyr with two screens joined by Xinerama (RandR off, so
    that Wine asks Xinerama) stands on an Xvfb large enough to hold both.
    `others` (sizes) adds more monitors in the row, right of the second;
    `nested` puts even one monitor on such an Xephyr, to be compared with
    more on the same kind of server."""

    def __init__(self, width=1280, height=1024, glx=True, second=None, others=(), nested=False):
        self.width, self.height = width, height
        self.glx = glx
        self.second = second
        self.others = ([second] if second else []) + list(others)
        self.nested = nested
        self.processes = []

    def start(self):
        """Starts the servers; returns the display's name."""
        glx = ["+extension" if self.glx else "-extension", "GLX"]
        sizes = [(self.width, self.height), *self.others]
        alone = not self.others and not self.nested
        host, proc = start_x_server(["Xvfb", "-screen", "0", f"{sum(w for w, _ in sizes)}x{max(h for _, h in sizes)}x24",
                                     *(glx if alone else []), "-nolisten", "tcp", "-noreset"])
        self.processes = [proc]
        if alone:
            return host
        screens = [option for w, h in sizes for option in ("-screen", f"{w}x{h}x24")]
        try:
            name, nested = start_x_server(
                ["Xephyr", "+xinerama", "-extension", "RANDR", *screens, *glx, "-nolisten", "tcp", "-noreset"],
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


def main():
    size = sys.argv[1] if len(sys.argv) > 1 else "1024x768"
    width, height = (int(n) for n in size.split("x"))
    display = Display(width, height)
    print(display.start(), display.processes[0].pid)


if __name__ == "__main__":
    main()
