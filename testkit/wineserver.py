"""A prefix's wineserver, and the settings of the prefix that Wine reads
when one starts."""

import subprocess


class WineServer:
    """The wineserver of the prefix of `env`, which `programs` run in;
    `started` is called each time a server has started."""

    def __init__(self, env, programs, started=lambda: None):
        self.env = env
        self.programs = programs
        self.started = started

    def start(self):
        # A persistent wineserver keeps each program's start short; one that
        # runs already (exit status 2) serves as well.
        server = subprocess.run([self.env["BRUMALIS_WINESERVER"], "-p"], env=self.env)
        if server.returncode not in (0, 2):
            raise RuntimeError(f"wineserver -p failed ({server.returncode})")
        self.started()

    def stop(self):
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-k"], env=self.env)
        subprocess.run([self.env["BRUMALIS_WINESERVER"], "-w"], env=self.env, timeout=30)

    def restart(self):
        """Ends the server and its programs, and starts a new one: settings
        that Wine reads once, such as the DPI, then apply."""
        self.programs.end_all()
        self.stop()
        self.start()

    def reg(self, *args):
        """Wine's reg command, which must succeed."""
        subprocess.run(self.programs.command("reg", *args), env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def set_dpi(self, dpi):
        """The screen's DPI, as Wine reads it from the user's desktop settings;
        it takes effect with the next wineserver, which this starts."""
        self.reg("add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        self.restart()
