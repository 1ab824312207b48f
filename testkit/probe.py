"""The probe (tests/wine/probe.cpp), the Windows program that looks at the
windows of the programs under test and talks to them as the system and
other programs do: its commands, run in a session's prefix, and the one
reader of what it prints.

Each line is key=value, and a record's value is its fields joined by ":".
Numbers are decimal, handles and codes hexadecimal after "0x", and text is
the hexadecimal of its bytes: in the programs' ANSI code page, or in UTF-8
where the command says so. A line this module does not know fails the
command: the probe and its reader change together."""

import functools
import subprocess

from testkit.names import ANSI, DIALOG_TITLE, PROBE, RENDERER_CLASS, RUN_TITLE
from testkit.settings import seal_line


def _text(encoding):
    return lambda field: bytes.fromhex(field).decode(encoding, "replace")


def _flag(field):
    if field not in ("0", "1"):
        raise ValueError(f"not a flag: {field!r}")
    return field == "1"


_ansi, _utf8 = _text(ANSI), _text("utf-8")
_number = functools.partial(int, base=0)
_word = _handle = str
_PLACE = (("x", _number), ("y", _number), ("w", _number), ("h", _number))
_RGB = (("r", _number), ("g", _number), ("b", _number))

# Keys that come once, with what their value holds.
VALUES = {
    **{key: _number for key in ("pid", "x", "y", "w", "h", "client_x", "client_y", "client_w", "client_h", "style",
                                "exstyle", "windows", "gdi", "working_set_kb", "private_kb", "dpi", "monitors",
                                "file_type", "icons", "result", "at_ms", "hz")},
    **{key: _flag for key in ("visible", "enabled", "locked", "ready", "alive")},
    **{key: _handle for key in ("hwnd", "parent", "focus", "foreground")},
    "class": _ansi, "title": _ansi,
    "file_version": _word, "product_version": _word,
    "user": _utf8, "path": _utf8, "sealed": bytes.fromhex, "seal_text": _utf8,
}
# Keys that come once a record, kept in order, with the name and content of
# each field.
RECORDS = {
    "child": (("class", _ansi), ("text", _ansi), ("hwnd", _handle), *_PLACE, ("enabled", _flag),
              ("visible", _flag)),
    "window": (("class", _ansi), ("hwnd", _handle), *_PLACE, ("style", _number), ("exstyle", _number)),
    "item": (("text", _utf8),),
    "string": (("block", _utf8), ("name", _utf8), ("value", _utf8)),
    "text_value": (("name", _utf8), ("value", _utf8)),
    "number_value": (("name", _utf8), ("value", _number)),
    "other_value": (("name", _utf8), ("kind", _number)),
    "key": (("name", _utf8),),
    "pixel": (("y", _number), *_RGB),
    "part": (("role", _number), ("state", _number), ("name", _utf8), ("action", _utf8)),
    "colour": (("name", _word), *_RGB),
    "event": (("event", _number), ("hwnd", _handle), ("object", _number), ("child", _number)),
    "client": (("number", _number),),
}


class Reply(dict):
    """What one command printed: its values by key, its records in order
    (`all(key)`), and whether it succeeded (`ok`, exit code 0)."""

    def __init__(self, code=0):
        super().__init__()
        self.code = code
        self.records = {}

    @property
    def ok(self):
        return self.code == 0

    def all(self, key):
        return self.records.get(key, [])

    def read(self, line):
        """Takes in one line the probe printed; its key."""
        key, sep, value = line.strip().partition("=")
        try:
            if not sep:
                raise ValueError("no '='")
            if key in RECORDS:  # a field more or fewer: zip's ValueError
                self.records.setdefault(key, []).append({name: read(part) for (name, read), part
                                                         in zip(RECORDS[key], value.split(":"), strict=True)})
            elif key in VALUES:
                self[key] = VALUES[key](value)
            else:
                raise ValueError("no such key")
        except ValueError as e:
            raise AssertionError(f"the probe printed {line.strip()!r}, which its reader cannot read: {e}") from None
        return key

    def read_all(self, output):
        """Takes in every line of an output (bytes); returns itself."""
        for line in output.decode("ascii", "replace").splitlines():
            if line.strip():
                self.read(line)
        return self


def parse(output, code=0):
    """The Reply of a command's whole output (bytes) and exit code."""
    return Reply(code).read_all(output)


class Living:
    """A probe command that lives on (a window, a lock, a pipe, a watch),
    read line by line as it prints; it ends with the test that started it."""

    def __init__(self, proc):
        self.proc = proc
        self.reply = Reply()

    def expect(self, key):
        """Reads on to the first line of `key`; its value (or record)."""
        for line in iter(self.proc.stdout.readline, b""):
            if line.strip() and self.reply.read(line.decode("ascii", "replace")) == key:
                return self.reply.all(key)[-1] if key in RECORDS else self.reply[key]
        raise AssertionError(f"the probe ended without printing {key}")

    def finish(self, timeout=20, kill=False):
        """Ends the command (kills it when told) and returns the Reply of all
        it printed."""
        if kill:
            self.proc.kill()
        self.reply.read_all(self.proc.communicate(timeout=timeout)[0])
        self.reply.code = self.proc.returncode
        return self.reply


class Probe:
    """The probe's commands in a session's prefix: `probe(COMMAND, ARG...)`
    runs one and returns its Reply (and fails the test when it fails,
    unless check=False); the methods below read the commands whose answer
    takes more than a look-up."""

    def __init__(self, programs):
        self.programs = programs
        self.seals = {}  # path: this user's seal line, made once

    def __call__(self, *args, check=True, timeout=60):
        args = [str(a) for a in args]
        result = subprocess.run(self.programs.command(self.programs.path(PROBE), *args), env=self.programs.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        if check and result.returncode != 0:
            raise AssertionError(f"probe {' '.join(args)} failed ({result.returncode})")
        return parse(result.stdout, result.returncode)

    def start(self, *args):
        """Starts a command that lives on."""
        proc = subprocess.Popen(self.programs.command(self.programs.path(PROBE), *map(str, args)),
                                env=self.programs.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.programs.adopt(proc)
        return Living(proc)

    # -- windows ----------------------------------------------------------------------
    def make_window(self, title, width=152, height=112, at=(100, 100)):
        """A grey window of another program, as the display settings' pane or
        a running instance would be; returns (process, handle)."""
        window = self.start("window", title.encode(ANSI).hex(), width, height, *at)
        return window.proc, window.expect("hwnd")

    def find_window(self, cls="-", title="-", timeout_ms=30000, visible=False, except_pid=None):
        """The first such window; with `except_pid`, one of another process."""
        return self("find", cls, title, timeout_ms, *(["visible"] if visible else []),
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
        return self("find", cls, title, 0, *([f"except={except_pid}"] if except_pid else []), check=False).ok

    def windows_of(self, *pids):
        """The shown top-level windows of the processes, with their places and
        styles, from the top of the Z order down."""
        return self("windows", *pids).all("window")

    def wait_gone(self, hwnd, timeout_ms=15000):
        return self("gone", hwnd, timeout_ms, check=False).ok

    def children(self, hwnd):
        """Class, text, handle, place and state of each child window."""
        return self("texts", hwnd).all("child")

    # -- what else the commands tell ------------------------------------------------------
    def accessible(self, hwnd, *do):
        """Role, state, name and default action of the window's accessible
        object (the first) and each of its parts, as a screen reader hears
        them; with ("do", PART), also carries out that part's action."""
        return self("accessible", hwnd, *do).all("part")

    def registry(self, key, view):
        """A registry key's values ({name: text, number, or None for other
        kinds}) and subkeys, or (None, []) when the key is missing."""
        reply = self("reg", key, view, check=False)
        if not reply.ok:
            return None, []
        values = {r["name"]: None for r in reply.all("other_value")}
        values.update((r["name"], r["value"]) for r in reply.all("text_value") + reply.all("number_value"))
        return values, [r["name"] for r in reply.all("key")]

    def version(self, path):
        """A file's version resource: the fixed numbers, and each string block's
        values as "041104b0.FileVersion" and the like."""
        reply = self("version", path)
        return {**reply, **{f"{r['block']}.{r['name']}": r["value"] for r in reply.all("string")}}

    def icon(self, path):
        """How many icons a file has, and the colours down the middle of the
        first, drawn at 32 x 32: {y: (r, g, b)}."""
        reply = self("icon", path)
        return reply["icons"], {p["y"]: (p["r"], p["g"], p["b"]) for p in reply.all("pixel")}

    def high_contrast(self, on):
        """Switches high contrast; on, the scheme's colours by name:
        {"face": (r, g, b), "text": ..., "highlight": ..., "gray_text": ...}."""
        reply = self("high-contrast", "on" if on else "off")
        return {c["name"]: (c["r"], c["g"], c["b"]) for c in reply.all("colour")}

    def seal_line(self, path):
        """The settings file's line that holds this user's seal of a path,
        as the settings dialog writes it when the user trusts the path."""
        if path not in self.seals:
            reply = self("trust", path.encode().hex())
            self.seals[path] = seal_line(reply["user"], reply["seal_text"])
        return self.seals[path]

    def short_path(self, path):
        """The short (8.3) form of a Windows path."""
        return self("short-path", path.encode().hex())["path"]
