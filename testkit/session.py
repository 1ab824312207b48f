"""A Wine session: one display, a sound server when asked for, and one
wineserver, in which the programs of a build folder run. Its pieces, each
of one concern:

    files     drive C: and the settings file          (testkit.files)
    programs  starting, ending and debugging programs  (testkit.programs)
    probe     looking at windows and talking to them   (testkit.probe)
    screen    screenshots, pointer and keys            (testkit.screen)
    server    the wineserver and the prefix's settings (testkit.wineserver)
    out       files left under out/<arch>              (testkit.outputs)
"""

import os
import sys

from testkit.audio import AudioServer
from testkit.display import Display
from testkit.files import Files
from testkit.outputs import Outputs
from testkit.prefix import wine_environment
from testkit.probe import Probe
from testkit.programs import Programs
from testkit.screen import Screen
from testkit.wineserver import WineServer


class WineSession:
    """The programs of `bin_dir` for `arch` (win32 or win64) on a display of
    their own (an Xvfb of 1280 x 1024 unless given one), in the
    architecture's prefix or in `prefix`. What they print goes to
    out/<arch>/logs/<suite>, named after the script unless told. The pieces
    are there from start() on."""

    def __init__(self, bin_dir, arch, display=None, audio=False, prefix=None, suite=None):
        self.bin = bin_dir
        self.arch = arch
        self.display = display or Display()
        self.audio = AudioServer() if audio else None
        self.prefix = prefix
        self.out = Outputs(arch, suite or os.path.splitext(os.path.basename(sys.argv[0]))[0])
        self.env = None
        self.files = self.programs = self.probe = self.screen = self.server = None

    def start(self):
        name = self.display.start()
        self.env = wine_environment(name, self.arch, self.prefix)
        if self.audio:
            self.audio.start()
            self.env["XDG_RUNTIME_DIR"] = self.audio.runtime
        self.files = Files(self.env["WINEPREFIX"])
        self.programs = Programs(self.env, self.bin, self.out)
        self.probe = Probe(self.programs)
        self.screen = Screen(self.env, self.out)
        # Each new server brings up Wine's desktop services once; whether they
        # have made a window by then does not matter.
        self.server = WineServer(self.env, self.programs, started=self.probe.window_exists)
        self.server.start()

    def stop(self):
        """Ends whatever start() got to start, also after a failed start."""
        if self.programs:
            self.programs.kill_all()
        if self.server:
            self.server.stop()
        self.display.stop()
        if self.audio:
            self.audio.stop()
