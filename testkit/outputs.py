"""What a run leaves for a person to look at: screenshots and traces under
out/<arch>, and what each program printed under out/<arch>/logs/<suite>."""

import os
import shutil

from testkit import out_dir

EMPTIED_LOGS = set()  # log folders this script has emptied


class Outputs:
    def __init__(self, arch, suite):
        self.folder = out_dir(arch)
        self.suite = suite

    def file(self, name):
        """A file of out/<arch>, for screenshots and traces to look at."""
        os.makedirs(self.folder, exist_ok=True)
        return os.path.join(self.folder, name)

    def log(self, name):
        """A file of this script's log folder, out/<arch>/logs/<suite>, which
        its first use empties, so that each run keeps only its own."""
        logs = os.path.join(self.folder, "logs", self.suite)
        if logs not in EMPTIED_LOGS:
            EMPTIED_LOGS.add(logs)
            shutil.rmtree(logs, ignore_errors=True)
        os.makedirs(logs, exist_ok=True)
        return os.path.join(logs, name)
