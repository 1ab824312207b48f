"""End-to-end: what a release ships. Each setup program, in a fresh prefix,
installs its pair silently where it says, chooses it as the screensaver and
registers a complete uninstall entry; the installed screensaver runs; the
silent uninstall takes everything back and keeps the user's settings unless
asked. Every shipped program carries the version of the file VERSION."""

import os
import subprocess
import time
import unittest

from testkit import ROOT
from testkit.names import HOST, RENDERER, VK_ESCAPE
from testkit.prefix import can_run, fresh_prefix, remove_prefix
from testkit.processes import wait_exit
from testkit.session import WineSession
from testkit.settings import music_settings
from testkit.suite import WineTestCase, main

VERSION = open(os.path.join(ROOT, "VERSION")).read().split()[0]
DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brumalis"
PREVIOUS = r"C:\windows\system32\previous.scr"
SETTINGS = music_settings(0)
PAIR = (HOST, RENDERER)


def builds():
    """The build folder that holds build/win32 and build/win64."""
    return os.path.dirname(os.path.dirname(WineTestCase.bin_dir))


def setup_program(arch):
    build = "win64" if arch == "x64" else "win32"
    return os.path.join(builds(), build, "setup", f"Brumalis-{VERSION}-setup-{arch}.exe")


def windows_path(path):
    """A host file as Wine's drive Z: shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class SetupCase(WineTestCase):
    """One setup program in a fresh prefix. The tests run in the order of
    their names: install, run, uninstall, then a second round."""

    setup = None          # "x86" or "x64"
    prefix_arch = None    # the prefix (and Wine) it runs in
    system = None         # the folder the pair belongs in, relative to drive_c
    system_windows = None  # the same as setup writes it into the registry
    view = None           # the registry view of its uninstall entry
    uninstaller_dir = None

    @classmethod
    def setUpClass(cls):
        if cls.setup is None:
            raise unittest.SkipTest("a base class")
        if cls.arch != cls.prefix_arch:
            raise unittest.SkipTest(f"runs with the {cls.prefix_arch} build's tests")
        cls.prefix = fresh_prefix(cls.prefix_arch, os.path.join(builds(), f"wine-{cls.prefix_arch}-setup-{cls.setup}"))
        cls.wine = WineSession(cls.bin_dir, cls.prefix_arch, prefix=cls.prefix, suite=cls.suite)
        try:
            cls.wine.start()
            cls.pair = cls.built_pair()
            # What the user had: another screensaver and a settings file.
            cls.wine.reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", PREVIOUS, "/f")
            cls.wine.write_settings(SETTINGS)
            cls.install()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.wine.stop()
        remove_prefix(cls.prefix)  # made anew for each run

    @classmethod
    def built_pair(cls):
        build = "win64" if cls.setup == "x64" else "win32"
        pair = {}
        for name in PAIR:
            with open(os.path.join(builds(), build, "bin", name), "rb") as f:
                pair[name] = f.read()
        return pair

    @classmethod
    def install(cls):
        """Runs the setup program silently; on a host that cannot run it,
        skips the class and says why."""
        result = subprocess.run(cls.wine.wine(setup_program(cls.setup), "/S"), env=cls.wine.env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=180)
        if result.returncode != 0 and cls.setup == "x86":
            why = can_run("win32")
            if why:
                lines = result.stdout.decode("cp932", errors="replace").strip().splitlines()
                raise unittest.SkipTest(f"the 32-bit setup program does not run under {cls.prefix_arch} Wine here "
                                        f"({why}; Wine says: {' '.join(lines) or 'nothing'})")
        if result.returncode != 0:
            raise AssertionError(f"setup /S failed ({result.returncode})")

    def values(self, key, view=None):
        """The values of a registry key as {name: text or number}, or None when
        the key is missing."""
        code, lines = self.wine.probe_lines("reg", key, view or self.view)
        if code != 0:
            return None
        values = {}
        for field, value in lines:
            if field == "value":
                name, kind, data = value.split(":", 2)
                name = bytes.fromhex(name).decode()
                values[name] = int(data) if kind == "4" else bytes.fromhex(data).decode()
        return values

    def screensaver(self):
        return (self.values(DESKTOP, "64" if self.prefix_arch == "win64" else "32") or {}).get("SCRNSAVE.EXE")

    def installed(self, name):
        return self.wine.drive_c(*self.system.split("/"), name)

    def uninstaller(self):
        return self.wine.drive_c(*self.uninstaller_dir.split("\\")[1:], "Uninstall.exe")

    def uninstall(self, *options):
        """Runs the uninstall entry's quiet command, as a package manager
        would, and waits for its end: the uninstaller works on from a copy of
        itself, and removing its own folder is its last step."""
        command = self.values(UNINSTALL)["QuietUninstallString"]
        program = command[1:command.index('"', 1)]
        subprocess.run(self.wine.wine(program, *command[len(program) + 3:].split(), *options), env=self.wine.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        deadline = time.time() + 120
        while os.path.exists(os.path.dirname(self.uninstaller())):
            self.assertLess(time.time(), deadline, "the uninstaller did not finish")
            time.sleep(0.5)

    def test_1_setup_installs_the_pair_and_chooses_it(self):
        for name in PAIR:
            with open(self.installed(name), "rb") as f:
                self.assertEqual(f.read(), self.pair[name], name)
        scr = self.system_windows + "\\" + HOST
        self.assertEqual(self.screensaver().lower(), scr.lower())

        entry = self.values(UNINSTALL)
        self.assertIsNotNone(entry, f"no uninstall entry in the {self.view}-bit registry view")
        quoted = f'"{self.uninstaller_dir}\\Uninstall.exe"'
        bits = "64" if self.setup == "x64" else "32"
        expected = {"DisplayName": f"Brumalis ({bits}-bit)", "DisplayVersion": VERSION, "Publisher": "t-orka",
                    "DisplayIcon": scr + ",0", "InstallLocation": self.system_windows,
                    "UninstallString": quoted, "QuietUninstallString": quoted + " /S",
                    "NoModify": 1, "NoRepair": 1, "PreviousScreenSaver": PREVIOUS}
        for name, value in expected.items():
            with self.subTest(value=name):
                self.assertEqual(str(entry.get(name)).lower(), str(value).lower())
        size_kb = sum(len(data) for data in self.pair.values()) / 1024
        self.assertAlmostEqual(entry["EstimatedSize"], size_kb, delta=2)
        self.assertTrue(os.path.isfile(self.uninstaller()))
        if self.prefix_arch == "win64":
            other = "32" if self.view == "64" else "64"
            self.assertIsNone(self.values(UNINSTALL, other), f"an uninstall entry in the {other}-bit view too")
        else:
            # 32-bit Windows has one registry view, which a request for the
            # 64-bit view reads too, and no SysWOW64: one entry, one folder.
            self.assertEqual(self.values(UNINSTALL, "64"), entry)
            self.assertFalse(os.path.isdir(self.wine.drive_c("windows", "syswow64")), "a 64-bit Windows prefix")

    def test_2_the_installed_screensaver_runs_until_escape(self):
        proc = self.wine.start_program(self.system_windows + "\\" + HOST, "/s")
        renderer = self.wine.find_renderer()
        self.assertEqual((int(renderer["w"]), int(renderer["h"])), (self.wine.display.width, self.wine.display.height))
        self.wine.probe("key", renderer["hwnd"], str(VK_ESCAPE))
        self.assertGone(renderer, 20000, "Escape did not close the renderer")
        self.assertEqual(wait_exit(proc, 20), 0)

    def test_3_uninstall_takes_it_back_and_keeps_the_settings(self):
        with open(self.wine.settings_path(), "rb") as f:
            settings = f.read()
        self.uninstall()
        for name in PAIR:
            self.assertFalse(os.path.exists(self.installed(name)), name)
        self.assertIsNone(self.values(UNINSTALL))
        self.assertEqual(self.screensaver(), PREVIOUS)
        with open(self.wine.settings_path(), "rb") as f:
            self.assertEqual(f.read(), settings)

    def test_4_setup_run_twice_then_uninstall_leaves_no_screensaver_and_can_remove_settings(self):
        # No screensaver before: setup remembers none, also when run again
        # over itself, and the uninstall leaves none chosen.
        self.wine.reg("delete", DESKTOP, "/v", "SCRNSAVE.EXE", "/f")
        self.install()
        self.install()
        entry = self.values(UNINSTALL)
        self.assertIsNotNone(entry)
        self.assertNotIn("PreviousScreenSaver", entry)
        self.uninstall("/REMOVESETTINGS")
        self.assertIsNone(self.screensaver())
        self.assertFalse(os.path.exists(os.path.dirname(self.wine.settings_path())))
        for name in PAIR:
            self.assertFalse(os.path.exists(self.installed(name)), name)


class SetupX64(SetupCase):
    setup, prefix_arch, view = "x64", "win64", "64"
    system, system_windows = "windows/system32", r"C:\windows\system32"
    uninstaller_dir = r"C:\Program Files\Brumalis"


class SetupX86OnWin64(SetupCase):
    """The 32-bit setup on 64-bit Windows: the pair in SysWOW64, the entry in
    the 32-bit registry view."""
    setup, prefix_arch, view = "x86", "win64", "32"
    system, system_windows = "windows/syswow64", r"C:\windows\SysWOW64"
    uninstaller_dir = r"C:\Program Files (x86)\Brumalis"


class SetupX86(SetupCase):
    setup, prefix_arch, view = "x86", "win32", "32"
    system, system_windows = "windows/system32", r"C:\windows\system32"
    uninstaller_dir = r"C:\Program Files\Brumalis"


class Versions(WineTestCase):
    """File properties of every shipped program of both builds, read with
    GetFileVersionInfo (a resource is data: any build's probe reads both)."""

    def version(self, path):
        info = self.wine.probe("version", windows_path(path))
        return {k: (bytes.fromhex(v).decode() if "." in k and k[0].isdigit() else v) for k, v in info.items()
                if k not in ("children", "ok")}

    def test_each_program_says_what_it_is_and_its_version(self):
        numbers = VERSION + ".0"
        for build in ("win32", "win64"):
            for name in PAIR:
                with self.subTest(build=build, program=name):
                    info = self.version(os.path.join(builds(), build, "bin", name))
                    self.assertEqual((info["file_version"], info["product_version"]), (numbers, numbers))
                    self.assertEqual(info["file_type"], "1")  # an application, the renderer too
                    for block in ("041104b0", "040904b0"):
                        self.assertEqual(info[f"{block}.FileVersion"], VERSION)
                        self.assertEqual(info[f"{block}.ProductVersion"], VERSION)
                        self.assertEqual(info[f"{block}.ProductName"], "Brumalis")
                        self.assertEqual(info[f"{block}.OriginalFilename"], name)
                        self.assertTrue(info[f"{block}.FileDescription"].startswith("Brumalis "))
        for arch in ("x86", "x64"):
            with self.subTest(setup=arch):
                info = self.version(setup_program(arch))
                self.assertEqual(info["file_version"], numbers)

    def test_the_screensaver_shows_the_sky_icon(self):
        for build in ("win32", "win64"):
            with self.subTest(build=build):
                info = self.wine.probe("icon", windows_path(os.path.join(builds(), build, "bin", HOST)))
                self.assertGreaterEqual(int(info["icons"]), 1)
                # Deep blue at the top, pale sky and cloud at the bottom.
                top = [int(c) for c in info["pixel_1"].split(",")]
                bottom = [int(c) for c in info["pixel_30"].split(",")]
                self.assertGreater(top[2], top[0] + 60, top)
                self.assertGreater(sum(bottom), sum(top) + 150, (top, bottom))


if __name__ == "__main__":
    main()
