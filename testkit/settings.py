"""The settings file's text, in the bytes the programs read and write, and
the writes Wine's trace shows them make."""

import re

from testkit.names import ANSI, KEY_FILE, KEY_HEIGHT, KEY_KIND, KEY_REPEAT, KEY_SEAL, KEY_WIDTH, SECTION

SECTION_LINE = f"[{SECTION}]\r\n".encode()


def size_lines(width, height, blank=""):
    """The size keys as Wine writes them (it drops the blank before a
    number), or with `blank` after "=" as Windows writes them."""
    return f"{KEY_WIDTH}={blank}{width}\r\n{KEY_HEIGHT}={blank}{height}\r\n".encode()


def music_lines(kind, repeat=0, file=""):
    """The music keys, each number after the blank the settings dialog puts
    before it."""
    return f"{KEY_KIND}= {kind}\r\n{KEY_REPEAT}= {repeat}\r\n{KEY_FILE}={file}\r\n".encode(ANSI)


def size_settings(width, height, blank=""):
    return SECTION_LINE + size_lines(width, height, blank)


def music_settings(kind, repeat=0, file=""):
    """A settings file with the music keys alone: kind 0 none, 1 the CD,
    2 a file; the track to repeat; the file."""
    return SECTION_LINE + music_lines(kind, repeat, file)


def seal_line(user, text):
    """The line of one user's seal, that user's trust in the stored path."""
    return f"{KEY_SEAL}{user}={text}\r\n".encode(ANSI)


def sealed_music_settings(probe, kind, repeat=0, file=""):
    """music_settings, with the file sealed by this user, as the settings
    dialog leaves it once the user chose the file: no path is opened
    without its user's seal."""
    return music_settings(kind, repeat, file) + (probe.seal_line(file) if file else b"")


def seal_keys(content):
    """The seal keys in the settings file's bytes, as {user: value}."""
    prefix = re.escape(KEY_SEAL.encode(ANSI))
    return {user.decode(): value.strip() for user, value in re.findall(rb"^" + prefix + rb"([^=\r\n]*)=([^\r\n]*)",
                                                                       content, re.M)}


def value_of(content, key):
    """The value of a key in the settings file's bytes, blanks stripped, or
    None when the key is not there."""
    match = re.search(rb"^" + re.escape(key.encode(ANSI)) + rb"=([^\r\n]*)", content, re.M)
    return match.group(1).strip() if match else None


def profile_writes(trace):
    """The (key, value) pairs handed to WritePrivateProfileString for the
    settings' section, in order, from a `WINEDEBUG=+profile` trace: the exact
    text, leading blanks included, which Wine then drops from the file."""
    pairs = re.findall(rf'WritePrivateProfileStringW \(L"{SECTION}", L"([^"]+)", L"([^"]*)"', trace)
    return [(_unescape(key), _unescape(value)) for key, value in pairs]


def _unescape(text):
    """Wine's trace writes a backslash as two, and other characters beyond
    ASCII as a backslash and four hex digits."""
    return re.sub(r"\\\\|\\([0-9a-f]{4})", lambda m: chr(int(m.group(1), 16)) if m.group(1) else "\\", text)
