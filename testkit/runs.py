"""The screensaver program started and ended as its users start and end it,
written once for every suite and script that drives it: a full-screen run,
ended with Escape in the renderer, also one heard on the sound server, and
the settings dialog, once drawn. Each takes a WineSession (testkit.session)."""

import time
from collections import namedtuple

from testkit import settings_dialog as layout
from testkit.audio import assert_recorded, assert_silent
from testkit.names import HOST, KEYBOARD_STOP_CLASS, VK_ESCAPE
from testkit.processes import wait_exit


def assert_gone(wine, window, timeout_ms=15000, msg="the window stayed"):
    """Waits for a window found by the probe to go; when it stays, the
    failure shows the stacks of its program."""
    if not wine.probe.wait_gone(window["hwnd"], timeout_ms):
        raise AssertionError(f"{msg}; its program's threads:\n{wine.programs.backtrace(window['pid'])}")


def start_run(wine, settings, *args, program=HOST, **kw):
    """Writes the settings (unless None) and starts a full-screen run: `/s`
    unless other arguments are given, None alone for none at all; `kw` go to
    Programs.start. Returns the process, the run's own window (never shown)
    and the renderer's, once shown."""
    if settings is not None:
        wine.files.write_settings(settings)
    arguments = () if args == (None,) else args or ("/s",)
    proc = wine.programs.start(program, *arguments, **kw)
    main = wine.probe.find_run()
    renderer = wine.probe.find_renderer(20000)
    return proc, main, renderer


def escape(wine, proc, renderer, main, pointer=None):
    """Ends a run with Escape in the renderer (pressed on the keyboard after a
    click at the screen point `pointer`, when given): the renderer goes, then
    the run's window `main` (None for a renderer started alone), and the
    program exits with 0. Returns the seconds from the renderer's end to the
    program's."""
    if pointer:
        wine.screen.xdotool("mousemove", str(pointer[0]), str(pointer[1]), "click", "1")
        wine.screen.xdotool("key", "Escape")
    else:
        wine.probe("key", renderer["hwnd"], str(VK_ESCAPE))
    assert_gone(wine, renderer, 20000, "Escape did not close the renderer")
    gone = time.monotonic()
    if main:
        assert_gone(wine, main, 10000, "the host stayed after the renderer")
    code = wait_exit(proc, 10)
    if code != 0:
        raise AssertionError(f"the program ended with {code}")
    return time.monotonic() - gone


Heard = namedtuple("Heard", "slices rms started ended sounded trace renderer")


def recorded_run(wine, settings, *args, listen=0, then=0, meanwhile=None, trace=None, stops=True, pointer=None):
    """A full-screen run (start_run's `settings` and `args`) heard from its
    start to a second after its end. Once it has loaded (its music starts as
    it loads) it is listened to until sound comes, for `listen` seconds at
    most; then `meanwhile` is given the recording, the run's window and the
    renderer's, and `then` seconds later the run is ended with Escape (see
    escape for `pointer`). Fails unless the recording covers all that and,
    unless `stops` is False, when sound came after the end. Wine's channels
    `trace` are traced. Returns what was heard: the recording's slices
    (Recording.stop) and their RMS levels, the moments the run started and
    ended (time.monotonic), whether sound came while it was listened for,
    what the run's programs printed (the trace with it) and the renderer's
    window."""
    recording = wine.audio.record()
    started = time.monotonic()
    proc, main, renderer = start_run(wine, settings, *args, trace=trace)
    answered(wine, main)
    sounded = bool(listen) and recording.sound_within(listen)
    if meanwhile:
        meanwhile(recording, main, renderer)
    time.sleep(then)
    if proc.poll() is not None:
        raise AssertionError(f"the run ended by itself, with {proc.returncode}")
    escape(wine, proc, renderer, main, pointer)
    ended = time.monotonic()
    slices = recording.stop_at(ended + 1.0)
    assert_recorded(slices, started, ended + 1.0)
    if stops:
        assert_silent(slices, ended, ended + 1.0)
    with open(proc.log, encoding="utf-8", errors="replace") as f:
        return Heard(slices, recording.rms, started, ended, sounded, f.read(), renderer)


def answered(wine, window, timeout=60):
    """Returns once the window's thread has answered a message sent to it
    (WM_NULL): whatever that thread did before it took messages, loading
    its window for one, is done. A thread busy for 5 s counts as hung to
    the sender, who then gives up: it is asked again, for `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while not wine.probe("send", window["hwnd"], "0", "0", "0", check=False).ok:
        if time.monotonic() > deadline or not wine.probe("info", window["hwnd"], check=False).ok:
            raise AssertionError(f"the window {window['hwnd']} did not answer; its program's threads:\n"
                                 f"{wine.programs.backtrace(window['pid'])}")


def open_dialog(wine, settings, mode="/c", face=layout.BACKGROUND, **kw):
    """Writes the settings (unless None) and opens the settings dialog
    (`kw` go to Programs.start); returns the process and the dialog once it
    has loaded and been drawn: its thread has answered (it is past its load
    and paints once idle), and its client area shows `face` at its top left
    corner, which only the dialog paints."""
    if settings is not None:
        wine.files.write_settings(settings)
    proc = wine.programs.start(HOST, mode, **kw)
    dialog = wine.probe.find_dialog()
    answered(wine, dialog)
    corner = dialog["client_x"] + 2, dialog["client_y"] + 2
    wine.screen.wait_for(lambda picture: picture.pixel(*corner) == face, 10,
                         f"the dialog's face {face} at its top left corner")
    return proc, dialog


def buttons(wine, dialog):
    """The dialog's push buttons by name (browse, apply and cancel), each the
    child window at its place at 96 DPI."""
    controls = layout.controls_at_96(wine.probe.children(dialog["hwnd"]), (dialog["client_x"], dialog["client_y"]))
    missing = [name for name in layout.BUTTONS if name not in controls]
    if missing:
        raise AssertionError(f"no push button at the place of {', '.join(missing)}")
    return {name: controls[name] for name in layout.BUTTONS}


def path_heard(wine, dialog):
    """The music file's path as the dialog's path label gives it to screen
    readers (read-only text, role 41; the other keyboard stop is the group
    of the sources)."""
    stops = [c for c in wine.probe.children(dialog["hwnd"]) if c["class"] == KEYBOARD_STOP_CLASS]
    return next(p["name"] for c in stops for p in wine.probe.accessible(c["hwnd"])[:1] if p["role"] == 41)


def click(wine, window):
    """A left click in the middle of a window found by the probe."""
    wine.screen.xdotool("mousemove", str(window["x"] + window["w"] // 2), str(window["y"] + window["h"] // 2),
                        "click", "1")


def close(wine, proc, window):
    """Asks the window (found by the probe, or a handle) to close, as another
    program would; the program `proc` must then exit with 0."""
    wine.probe("close", window if isinstance(window, str) else window["hwnd"])
    code = wait_exit(proc, 20)
    if code != 0:
        raise AssertionError(f"the program ended with {code} once its window was closed")
