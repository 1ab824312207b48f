"""Names the programs are known by: their files, their windows, the
settings file and its keys, as the tests look for them. Those the programs
promise their users (file names, window titles, the renderer's class, the
settings file and its keys) are typed here, so that a misspelling in the
programs fails a test; the names only the programs and their tests agree
on (the screensaver program's window classes, the seal key's prefix) are
read from common/shared_names.h, the header that spells them."""

import pathlib
import re

SHARED_NAMES = pathlib.Path(__file__).resolve().parent.parent / "common" / "shared_names.h"


def _shared(name, text=SHARED_NAMES.read_text(encoding="utf-8")):
    """A quoted value of common/shared_names.h: `#define BRUMALIS_X "v"` for
    BRUMALIS_X, or `... kX[] = L"v";` for kX, its \\uXXXX escapes read."""
    found = re.search(r'^#define %s "([^"]*)"$' % name, text, re.M) or \
        re.search(r'\b%s\[\] = L?"([^"]*)";' % name, text)
    if not found:
        raise LookupError("common/shared_names.h defines no " + name)
    return re.sub(r"\\u([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), found.group(1))


# Programs of the build folder.
HOST = "Brumalis.scr"
RENDERER = "Brumalis.dll"
PROBE = "brumalis-probe.exe"  # tests/wine/probe.cpp
PLANTED = "brumalis-planted.dll"  # tests/wine/planted.cpp

# The renderer's window class, also its title until the frame rate follows
# RATE_TITLE in it ("... - 60.0 fps").
RENDERER_CLASS = "Caliguna"
RATE_TITLE = RENDERER_CLASS + " - "
# The renderer's windows over the other monitors, which carry no title.
MONITOR_VIEW_CLASS = _shared("BRUMALIS_MONITOR_VIEW_CLASS")

# The screensaver program's windows.
RUN_TITLE = "Brumalis_Main"  # the full-screen run's own window, never shown
DIALOG_TITLE = "■Brumalis■"  # the settings dialog
COVER_CLASS = _shared("BRUMALIS_COVER_CLASS")  # black over what the renderer leaves of the monitors
PANEL_CLASS = _shared("BRUMALIS_PANEL_CLASS")  # the framed panel with a shadow
GROUP_FRAME_CLASS = _shared("BRUMALIS_GROUP_FRAME_CLASS")
BUTTON_CLASS = _shared("BRUMALIS_BUTTON_CLASS")
PICTURE_BOX_CLASS = _shared("BRUMALIS_PICTURE_BOX_CLASS")
KEYBOARD_STOP_CLASS = _shared("BRUMALIS_KEYBOARD_STOP_CLASS")  # a painted part that takes the keyboard

# The settings file, as Windows paths, and its keys.
SETTINGS_FOLDER = "C:\\t_orka_temp"
SETTINGS_FILE = "Brumalis.ini"
SECTION = "Section"
KEY_WIDTH = "Width"
KEY_HEIGHT = "Height"
KEY_KIND = "BGM区分"
KEY_REPEAT = "BGMﾘﾋﾟｰﾄ"
KEY_FILE = "BGMﾌｧｲﾙ"
KEY_SEAL = _shared("kKeyBgmSealPrefix")  # followed by a user's SID: that user's seal of the music file's path

# The ANSI code page the programs run with (Wine takes it from the locale):
# titles, texts and the settings file are in it.
ANSI = "cp932"

# Virtual keys.
VK_ESCAPE = 0x1B
VK_SPACE = 0x20
