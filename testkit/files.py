"""Files of a prefix's drive C:, the settings file first among them."""

import os
import shutil

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
