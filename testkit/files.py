"""Files of a prefix's drive C:, the settings file first among them, and
what the file system sees of them."""

import ctypes
import ctypes.util
import os
import shutil
import struct

from testkit.names import SETTINGS_FILE, SETTINGS_FOLDER


class Files:
    def __init__(self, prefix):
        self.prefix = prefix

    def drive_c(self, *parts):
        """A path of drive C: on this host."""
        return os.path.join(self.prefix, "drive_c", *parts)

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


IN_OPEN = 0x20
_EVENT = struct.Struct("iIII")  # struct inotify_event: watch, mask, cookie, name length


class OpenWatch:
    """Every open of a host folder's files, and of the folder itself, while
    the watch lasts, as the kernel reports it (inotify's IN_OPEN): what a
    Windows program opened there, at no cost to it. A symbolic link is
    watched at its target."""

    def __init__(self, folder):
        self.folder = folder
        libc = ctypes.CDLL(ctypes.util.find_library("c") or "libc.so.6", use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0:
            raise OSError(ctypes.get_errno(), "inotify_init1 failed")
        if libc.inotify_add_watch(self.fd, os.fsencode(folder), IN_OPEN) < 0:
            os.close(self.fd)
            raise OSError(ctypes.get_errno(), f"cannot watch {folder}")

    def opened(self):
        """The names opened since the last call, in order; "" stands for the
        folder itself."""
        names = []
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return names
            at = 0
            while at < len(data):
                _, _, _, length = _EVENT.unpack_from(data, at)
                at += _EVENT.size
                names.append(data[at:at + length].rstrip(b"\0").decode("utf-8", "replace"))
                at += length

    def proves_itself(self, name):
        """Opens a file of the folder here and sees the watch report it: the
        watch was live all along. Takes what came before."""
        before = self.opened()
        with open(os.path.join(self.folder, name), "rb"):
            pass
        seen = self.opened()
        if name not in seen:
            raise AssertionError(f"the watch of {self.folder} did not see {name} opened: {seen}")
        return before

    def close(self):
        os.close(self.fd)
