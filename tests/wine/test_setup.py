"""End-to-end: what a release ships. Each setup program, in a fresh prefix,
installs its pair silently where it says, chooses it as the screensaver and
registers a complete uninstall entry; the installed screensaver runs; the
silent uninstall takes everything back and keeps the user's settings unless
asked. Each Windows Installer package upgrades an earlier version, installs
the same pair in the same place without choosing it, refuses to go beside
the setup program (and the setup program beside it), and is removed with
every file and entry but the settings. A release signed with a certificate
made here verifies, changes nothing in the programs but their signature,
and installs. Every shipped program carries the version of the file
VERSION."""

import hashlib
import http.server
import os
import shutil
import struct
import subprocess
import tempfile
import threading
import time
import unittest
import zipfile

from testkit import ROOT
from testkit.names import HOST, RATE_TITLE, RENDERER
from testkit.prefix import can_run, fresh_prefix, remove_prefix
from testkit.processes import wait_exit
from testkit.session import WineSession
from testkit.settings import music_settings
from testkit.suite import WineTestCase, main
from tests.wine import sky

VERSION = open(os.path.join(ROOT, "VERSION")).read().split()[0]
EARLIER = "0.9.0"  # the version the packages upgrade from in these tests
DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL_ROOT = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL = UNINSTALL_ROOT + r"\Brumalis"
PRODUCTS = r"HKLM\Software\Classes\Installer\Products"  # packages installed for the machine
PREVIOUS = r"C:\windows\system32\previous.scr"
SETTINGS = music_settings(0)
PAIR = (HOST, RENDERER)
SETUP_REFUSED = 3  # the setup program's exit code beside the package


def builds():
    """The build folder that holds build/win32 and build/win64."""
    return os.path.dirname(os.path.dirname(WineTestCase.bin_dir))


def built(arch, *parts):
    """A file of the build of `arch` (x86 or x64, or win32 or win64)."""
    return os.path.join(builds(), {"x64": "win64", "x86": "win32"}.get(arch, arch), *parts)


def setup_program(arch):
    return built(arch, "setup", f"Brumalis-{VERSION}-setup-{arch}.exe")


def package(arch):
    return built(arch, "setup", f"Brumalis-{VERSION}-{arch}.msi")


def earlier_package(arch):
    """The Windows Installer package of the pair built from these sources as
    EARLIER (installer/earlier.sh, through the compiler cache), and the
    seconds that took."""
    began = time.time()
    result = subprocess.run([os.path.join(ROOT, "installer", "earlier.sh"), built(arch), EARLIER],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise AssertionError(f"building {EARLIER} failed:\n{result.stderr}")
    return result.stdout.strip(), time.time() - began


def msi_rows(msi, table):
    """The rows of a package's table, each a list of fields."""
    out = subprocess.run(["msiinfo", "export", msi, table], check=True, stdout=subprocess.PIPE, text=True).stdout
    return [line.split("\t") for line in out.splitlines()[3:]]


def product_code(msi):
    """The product code of a package, from its Property table."""
    return dict((row[0], row[1]) for row in msi_rows(msi, "Property"))["ProductCode"]


def windows_path(path):
    """A host file as Wine's drive Z: shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def read_once(cls):
    """A class of tests that reads the files of both builds runs with one
    build's tests: the 64-bit build's where this host runs it."""
    if WineTestCase.arch == "win32" and not can_run("win64"):
        raise unittest.SkipTest("both builds' files are read by the 64-bit build's tests here")


class InstallCase(WineTestCase):
    """One package of one pair in a fresh prefix, where the user had another
    screensaver and a settings file. The tests run in the order of their
    names."""

    pair_arch = None        # "x86" or "x64": the pair and its packages
    prefix_arch = None      # the prefix (and Wine) it runs in
    view = None             # the pair's bits: "32" or "64", the registry view of its uninstall entries
    system_windows = None   # the folder the pair belongs in (as the prefix spells it)
    uninstaller_dir = None  # the setup program's uninstaller

    @classmethod
    def setUpClass(cls):
        if cls.pair_arch is None:
            raise unittest.SkipTest("a base class")
        if cls.arch != cls.prefix_arch:
            raise unittest.SkipTest(f"runs with the {cls.prefix_arch} build's tests")
        # A 32-bit program under 64-bit Wine needs the 32-bit loader, which a
        # host without 32-bit code cannot start.
        why = can_run("win32") if cls.pair_arch == "x86" else ""
        if why:
            raise unittest.SkipTest(f"the 32-bit {cls.__name__} does not run under {cls.prefix_arch} Wine here ({why})")
        name = f"wine-{cls.prefix_arch}-{cls.__name__.lower()}"
        cls.prefix = fresh_prefix(cls.prefix_arch, os.path.join(builds(), name))
        cls.wine = WineSession(cls.bin_dir, cls.prefix_arch, prefix=cls.prefix, suite=cls.suite)
        try:
            cls.wine.start()
            cls.pair = {name: read(built(cls.pair_arch, "bin", name)) for name in PAIR}
            cls.wine.server.reg("add", DESKTOP, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", PREVIOUS, "/f")
            cls.wine.files.write_settings(SETTINGS)
            cls.prepare()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def prepare(cls):
        """What the class's tests start from."""

    @classmethod
    def tearDownClass(cls):
        cls.wine.stop()
        remove_prefix(cls.prefix)  # made anew for each run

    def values(self, key, view=None):
        """The values of a registry key as {name: text or number}, or None when
        the key is missing."""
        return self.wine.probe.registry(key, view or self.view)[0]

    def entries(self):
        """The Apps & features entries of the pair's registry view whose name
        starts with Brumalis, as {subkey: values}."""
        found = {}
        for key in self.wine.probe.registry(UNINSTALL_ROOT, self.view)[1]:
            values = self.values(UNINSTALL_ROOT + "\\" + key) or {}
            if str(values.get("DisplayName", "")).startswith("Brumalis"):
                found[key] = values
        return found

    def screensaver(self):
        return (self.values(DESKTOP, "64" if self.prefix_arch == "win64" else "32") or {}).get("SCRNSAVE.EXE")

    def installed(self, name):
        return self.wine.files.drive_c(*self.system_windows.split("\\")[1:], name)

    def uninstaller(self):
        return self.wine.files.drive_c(*self.uninstaller_dir.split("\\")[1:], "Uninstall.exe")

    @classmethod
    def run_quiet(cls, *command):
        """Runs a Windows program with no user interface; its exit code and the
        seconds it took."""
        began = time.time()
        result = subprocess.run(cls.wine.programs.command(*command), env=cls.wine.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=180)
        return result.returncode, time.time() - began

    @classmethod
    def msiexec(cls, *args):
        """msiexec with no user interface; its exit code and seconds taken."""
        return cls.run_quiet("msiexec", *[windows_path(arg) if os.path.isfile(arg) else arg for arg in args], "/qn")

    @classmethod
    def install_setup(cls, program=None):
        """Runs a setup program silently, which must install."""
        code = cls.run_quiet(program or setup_program(cls.pair_arch), "/S")[0]
        if code != 0:
            raise AssertionError(f"setup /S failed ({code})")

    def uninstall_setup(self, *options):
        """Runs the uninstall entry's quiet command, as a package manager
        would, and waits for its end: the uninstaller works on from a copy of
        itself, and removing its own folder is its last step."""
        command = self.values(UNINSTALL)["QuietUninstallString"]
        program = command[1:command.index('"', 1)]
        self.run_quiet(program, *command[len(program) + 3:].split(), *options)
        deadline = time.time() + 120
        while os.path.exists(os.path.dirname(self.uninstaller())):
            self.assertLess(time.time(), deadline, "the uninstaller did not finish")
            time.sleep(0.5)

    def refusal(self, *command):
        """Runs an installer with its user interface, where it refuses with a
        message box: the box's text, once the box is closed, and the
        installer's exit code."""
        proc = self.wine.programs.start(*command)
        box = self.wine.probe.find_window("#32770", "-", visible=True)
        said = " ".join(child["text"] for child in self.wine.probe.children(box["hwnd"]))
        self.wine.probe("close", box["hwnd"])
        return said, wait_exit(proc, 60)

    def assert_pair_installed(self, pair=None):
        for name, data in (pair or self.pair).items():
            self.assertTrue(os.path.isfile(self.installed(name)), f"{name} is not in {self.system_windows}")
            self.assertEqual(read(self.installed(name)), data, name)

    def assert_removed(self, settings=SETTINGS):
        """Neither program of the pair nor any entry is left; the user's
        screensaver and settings are as they were."""
        for name in PAIR:
            self.assertFalse(os.path.exists(self.installed(name)), name)
        self.assertEqual(self.entries(), {})
        self.assertIsNone(self.values(UNINSTALL), "the setup program's entry")
        self.assertEqual(self.screensaver(), PREVIOUS)
        self.assertEqual(read(self.wine.files.settings_path()), settings)


class SetupCase(InstallCase):
    """One setup program: install, run, uninstall, then a second round."""

    @classmethod
    def prepare(cls):
        cls.install_setup()

    def test_1_setup_installs_the_pair_and_chooses_it(self):
        self.assert_pair_installed()
        scr = self.system_windows + "\\" + HOST
        self.assertEqual(self.screensaver().lower(), scr.lower())

        entry = self.values(UNINSTALL)
        self.assertIsNotNone(entry, f"no uninstall entry in the {self.view}-bit registry view")
        quoted = f'"{self.uninstaller_dir}\\Uninstall.exe"'
        expected = {"DisplayName": f"Brumalis ({self.view}-bit)", "DisplayVersion": VERSION, "Publisher": "t-orka",
                    "DisplayIcon": scr + ",0", "InstallLocation": self.system_windows,
                    "URLInfoAbout": "https://www.example.com/brumalis/",
                    "UninstallString": quoted, "QuietUninstallString": quoted + " /S",
                    "NoModify": 1, "NoRepair": 1, "PreviousScreenSaver": PREVIOUS}
        for name, value in expected.items():
            with self.subTest(value=name):
                self.assertEqual(str(entry.get(name)).lower(), str(value).lower())
        size_kb = sum(len(data) for data in self.pair.values()) / 1024
        self.assertAlmostEqual(entry["EstimatedSize"], size_kb, delta=2)
        if self.prefix_arch == "win64":
            other = "32" if self.view == "64" else "64"
            self.assertIsNone(self.values(UNINSTALL, other), f"an uninstall entry in the {other}-bit view too")
        else:
            # 32-bit Windows has one registry view, which a request for the
            # 64-bit view reads too, and no SysWOW64: one entry, one folder.
            self.assertEqual(self.values(UNINSTALL, "64"), entry)
            self.assertFalse(os.path.isdir(self.wine.files.drive_c("windows", "syswow64")), "a 64-bit Windows prefix")

    def test_2_the_installed_screensaver_shows_the_sky(self):
        proc, main, renderer = self.start_run(None, program=self.system_windows + "\\" + HOST)
        size = (self.wine.display.width, self.wine.display.height)
        self.assertEqual((renderer["w"], renderer["h"]), size)
        # Frames are drawn once the title gives their rate; the first cloud
        # slices fade in over the seconds after.
        self.wine.probe("wait-title", renderer["hwnd"], RATE_TITLE, "20000")
        sky.wait_for_sky(self, self.wine.screen, *size, f"installed-{type(self).__name__}.png")
        self.escape(proc, renderer, main)

    def test_3_uninstall_takes_it_back_and_keeps_the_settings(self):
        settings = read(self.wine.files.settings_path())
        self.uninstall_setup()
        self.assert_removed(settings)

    def test_4_setup_run_twice_then_uninstall_leaves_no_screensaver_and_can_remove_settings(self):
        # No screensaver before: setup remembers none, also when run again
        # over itself, and the uninstall leaves none chosen.
        self.wine.server.reg("delete", DESKTOP, "/v", "SCRNSAVE.EXE", "/f")
        self.install_setup()
        self.install_setup()
        self.assertNotIn("PreviousScreenSaver", self.values(UNINSTALL))
        self.uninstall_setup("/REMOVESETTINGS")
        self.assertIsNone(self.screensaver())
        self.assertFalse(os.path.exists(os.path.dirname(self.wine.files.settings_path())))
        self.assertEqual([name for name in PAIR if os.path.exists(self.installed(name))], [])

    def test_5_removing_the_settings_never_deletes_through_a_folder_swapped_for_a_link(self):
        # Another user emptied the settings folder and made it a link to a
        # folder of someone else's; the uninstaller runs as an administrator.
        self.install_setup()
        folder = os.path.dirname(self.wine.files.settings_path())
        elsewhere = self.wine.files.fresh_folder("someone else's")
        target = os.path.join(elsewhere, os.path.basename(self.wine.files.settings_path()))
        with open(target, "wb") as f:
            f.write(SETTINGS)
        shutil.rmtree(folder, ignore_errors=True)
        os.symlink(elsewhere, folder)
        try:
            self.uninstall_setup("/REMOVESETTINGS")
            self.assertTrue(os.path.isfile(target), "the uninstaller deleted through the link")
        finally:
            if os.path.islink(folder):
                os.remove(folder)

    def test_6_the_last_page_says_where_the_settings_are_and_starts_nothing(self):
        # Setup runs with an administrator's rights: whatever it started would
        # too. Here through its pages, in English and in Japanese.
        for language, told in (("C.UTF-8", "Settings, Personalization, Lock screen, Screen saver"),
                               ("ja_JP.UTF-8", "[\u8a2d\u5b9a]\u3001[\u500b\u4eba\u7528\u8a2d\u5b9a]")):
            with self.subTest(language):
                proc = self.wine.programs.start(setup_program(self.pair_arch), extra_env={"LC_ALL": language})
                wizard = self.wine.probe.find_window("#32770", "-", visible=True)
                self.wine.probe("send", wizard["hwnd"], "0x111", "1", "0")  # WM_COMMAND, IDOK: Install
                deadline = time.time() + 120
                while not any(told in c["text"] for c in self.wine.probe.children(wizard["hwnd"])):
                    self.assertLess(time.time(), deadline, "no last page")
                    self.assertIsNone(proc.poll(), "setup ended before its last page")
                    time.sleep(0.5)
                texts = [c["text"] for c in self.wine.probe.children(wizard["hwnd"]) if c["visible"]]
                self.wine.screen.shot(f"setup-last-page-{language[:2]}-{type(self).__name__}.png")
                # The offer it once made, a box to tick, in either language.
                for offer in ("Open the screen saver settings",
                              "\u30b9\u30af\u30ea\u30fc\u30f3\u30bb\u30fc\u30d0\u30fc\u306e\u8a2d\u5b9a\u3092\u958b\u304f"):
                    self.assertNotIn(offer, texts, "the last page offers to open the settings")
                self.wine.probe("send", wizard["hwnd"], "0x111", "1", "0")  # Finish
                self.assertEqual(wait_exit(proc, 60), 0)
        self.assert_pair_installed()


class PackageCase(InstallCase):
    """One Windows Installer package, over the package of the same sources
    built as 0.9.0: upgrade, beside the setup program, downgrade, removal.
    It installs the same files in the same place as the setup program, whose
    tests run them."""

    @classmethod
    def prepare(cls):
        cls.msi = package(cls.pair_arch)
        cls.icon = built(cls.pair_arch, "dialog", "pictures", "icon.ico")  # as the build drew it
        cls.earlier, took = earlier_package(cls.pair_arch)
        cls.figures = [f"{EARLIER} built: {took:.1f} s"]
        code, took = cls.msiexec("/i", cls.earlier)
        if code != 0:
            raise AssertionError(f"installing {EARLIER} failed ({code})")
        cls.figures.append(f"install of {EARLIER}: {took:.1f} s")

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "figures", None):
            # The figures go with the suite's output and into a file to read.
            text = "".join(f"{cls.__name__}: {line}\n" for line in cls.figures)
            print(text, end="")
            with open(cls.wine.out.file(f"package-figures-{cls.__name__}.txt"), "w") as f:
                f.write(text)
        super().tearDownClass()

    def product_icon(self):
        """The host path of the icon Apps & features shows for the installed
        package (the product's registration, not its uninstall entry, names
        it)."""
        code = product_code(self.msi).strip("{}").replace("-", "")
        # The registry spells a product code with each group's digits
        # reversed, and the bytes of the last two groups nibble by nibble.
        packed = code[7::-1] + code[11:7:-1] + code[15:11:-1] + "".join(
            code[i + 1] + code[i] for i in range(16, 32, 2))
        products = self.values(PRODUCTS + "\\" + packed, "64") or {}
        self.assertIn("ProductIcon", products, "no icon registered")
        return self.wine.files.drive_c(*products["ProductIcon"].split("\\")[1:])

    def test_1_upgrades_the_earlier_version_and_installs_the_pair_without_choosing_it(self):
        self.assertEqual(self.values(UNINSTALL_ROOT + "\\" + product_code(self.earlier))["DisplayVersion"], EARLIER)
        # The installed pair's version resources say so too.
        for name in PAIR:
            info = self.wine.probe.version(self.system_windows + "\\" + name)
            with self.subTest(installed=name):
                self.assertEqual((info["file_version"], info["040904b0.FileVersion"], info["041104b0.ProductVersion"]),
                                 (EARLIER + ".0", EARLIER, EARLIER))
        code, took = self.msiexec("/i", self.msi)
        self.assertEqual(code, 0, "the upgrade failed")
        self.figures.append(f"upgrade from {EARLIER}: {took:.1f} s")
        self.assertNotEqual(product_code(self.msi), product_code(self.earlier))

        self.assert_pair_installed()
        # One entry, this version's: the earlier one went with the upgrade.
        entries = self.entries()
        self.assertEqual(list(entries), [product_code(self.msi)], "not one entry in Apps & features")
        entry = entries[product_code(self.msi)]
        for name, value in {"DisplayName": f"Brumalis ({self.view}-bit)", "DisplayVersion": VERSION,
                            "Publisher": "t-orka", "NoModify": 1}.items():
            with self.subTest(value=name):
                self.assertEqual(entry.get(name), value)
        # Windows works out the entry's EstimatedSize itself (Wine writes 0);
        # the size the package gives is the pair's.
        size_kb = sum(len(data) for data in self.pair.values()) / 1024
        self.assertAlmostEqual(int(entry["Size"]), size_kb, delta=1)
        self.assertEqual(read(self.product_icon()), read(self.icon), "the entry's icon")
        # The user's screensaver and settings are the user's.
        self.assertEqual(self.screensaver(), PREVIOUS)
        self.assertEqual(read(self.wine.files.settings_path()), SETTINGS)
        self.figures.append(f"installed: {len(PAIR)} files in {self.system_windows}, {len(entries)} entry")

    def test_3_the_setup_program_refuses_to_install_beside_it(self):
        self.assertEqual(self.run_quiet(setup_program(self.pair_arch), "/S")[0], SETUP_REFUSED)
        self.assertIsNone(self.values(UNINSTALL), "the setup program registered itself")
        self.assertEqual(self.screensaver(), PREVIOUS)
        self.assert_pair_installed()
        # Shown, it names the package that is installed (in the language of
        # Windows, Japanese here).
        said, code = self.refusal(setup_program(self.pair_arch))
        self.assertIn(f"Brumalis ({self.view}-bit)", said)
        self.assertIn(f"Brumalis-...-{self.pair_arch}.msi", said)
        self.assertEqual(code, SETUP_REFUSED)

    def test_4_the_earlier_version_does_not_go_over_it(self):
        code, _ = self.msiexec("/i", self.earlier)
        self.assertNotEqual(code, 0)
        self.assertEqual(list(self.entries()), [product_code(self.msi)])
        self.assert_pair_installed()

    def test_5_removal_takes_every_file_and_entry_and_keeps_the_settings(self):
        icon = self.product_icon()
        code, took = self.msiexec("/x", self.msi)
        self.assertEqual(code, 0, "the removal failed")
        self.figures.append(f"removal: {took:.1f} s")
        self.assert_removed()
        self.assertFalse(os.path.exists(icon), "the entry's icon stayed")

    def test_6_it_refuses_to_install_beside_the_setup_program(self):
        self.install_setup()
        code, _ = self.msiexec("/i", self.msi)
        self.assertNotEqual(code, 0)
        # Shown, it names the setup program that installed the pair.
        said, code = self.refusal(r"C:\windows\system32\msiexec.exe", "/i", windows_path(self.msi))
        self.assertIn(f"Brumalis ({self.view}-bit) is already installed by its setup program", said)
        self.assertIn(f"setup-{self.pair_arch}.exe", said)
        self.assertNotEqual(code, 0)
        self.assertEqual(list(self.entries()), ["Brumalis"], "the package registered itself")


# Each pair on each Windows it installs on, as InstallCase's attributes: the
# 32-bit pair on 64-bit Windows goes in SysWOW64, its entries in the 32-bit
# registry view; 32-bit Windows has one registry view and no SysWOW64.
PAIRS = {"X64": ("x64", "win64", "64", r"C:\windows\system32", r"C:\Program Files\Brumalis"),
         "X86OnWin64": ("x86", "win64", "32", r"C:\windows\syswow64", r"C:\Program Files (x86)\Brumalis"),
         "X86": ("x86", "win32", "32", r"C:\windows\system32", r"C:\Program Files\Brumalis")}
PAIR_ATTRIBUTES = ("pair_arch", "prefix_arch", "view", "system_windows", "uninstaller_dir")
for _pair, _values in PAIRS.items():
    for _case in (SetupCase, PackageCase):
        _name = _case.__name__[:-4] + _pair
        globals()[_name] = type(_name, (_case,), dict(zip(PAIR_ATTRIBUTES, _values), __module__=__name__))


class Packages(unittest.TestCase):
    """Both builds' Windows Installer packages, read here without Wine, so
    that a host that runs no 32-bit code checks the 32-bit one too: each
    holds its build's pair, for the system folder of its Windows, with the
    version the programs carry (Versions reads it from them), so that
    Windows Installer compares them as programs, not as documents."""

    setUpClass = classmethod(read_once)

    def test_each_package_holds_its_pair_for_its_windows(self):
        for arch, template, folder, attributes in (("x86", "Intel;1033", "SystemFolder", "0"),
                                                   ("x64", "x64;1033", "System64Folder", "256")):
            with self.subTest(package=arch), tempfile.TemporaryDirectory() as out:
                msi = package(arch)
                summary = subprocess.check_output(["msiinfo", "suminfo", msi], text=True)
                self.assertIn(f"Template: {template}\n", summary)
                subprocess.run(["msiextract", "-C", out, msi], check=True, stdout=subprocess.DEVNULL)
                for name in PAIR:
                    self.assertEqual(read(os.path.join(out, name)), read(built(arch, "bin", name)), name)
                self.assertEqual({tuple(row[2:4]) for row in msi_rows(msi, "Component")}, {(folder, attributes)})
                self.assertEqual({row[2]: row[4] for row in msi_rows(msi, "File")},
                                 {name: VERSION + ".0" for name in PAIR})


def authenticode_digest(program):
    """The SHA-256 digest an Authenticode signature signs: the whole file but
    its checksum, its certificate table's entry and the table itself."""
    pe = struct.unpack_from("<I", program, 0x3C)[0]
    optional = pe + 24
    plus = struct.unpack_from("<H", program, optional)[0] == 0x20B
    checksum = optional + 64
    entry = optional + (112 if plus else 96) + 4 * 8
    table, size = struct.unpack_from("<II", program, entry)
    end = table if size else len(program)
    return hashlib.sha256(program[:checksum] + program[checksum + 4:entry] + program[entry + 8:end]).hexdigest()


def make_certificate(folder, name, usage):
    """A self-signed certificate and its key for `usage` (an extended key
    usage), made by openssl in `folder`: (certificate, key)."""
    cert, key = os.path.join(folder, f"{name}.pem"), os.path.join(folder, f"{name}.key")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", f"/CN=Brumalis test {name}", "-addext", f"extendedKeyUsage={usage}",
                    "-keyout", key, "-out", cert], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


class TimeStampServer(http.server.HTTPServer):
    """An RFC 3161 time stamp server on this machine's loopback address,
    which openssl answers for: what a signature asks of a real one."""

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers["Content-Length"]))
            reply = subprocess.run(["openssl", "ts", "-reply", "-config", self.server.config,
                                    "-queryfile", "/dev/stdin"], input=query, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL).stdout
            self.send_response(200 if reply else 500)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.end_headers()
            self.wfile.write(reply)

        def log_message(self, *args):
            pass

    def __init__(self, folder):
        super().__init__(("127.0.0.1", 0), self.Handler)
        self.cert, key = make_certificate(folder, "time-stamps", "critical,timeStamping")
        self.config = os.path.join(folder, "tsa.cnf")
        with open(os.path.join(folder, "tsa-serial"), "w") as f:
            f.write("01\n")
        with open(self.config, "w") as f:
            f.write(f"[tsa]\ndefault_tsa = stamps\n[stamps]\nserial = {folder}/tsa-serial\n"
                    f"signer_cert = {self.cert}\nsigner_key = {key}\nsigner_digest = sha256\n"
                    "default_policy = 1.2.3.4.1\ndigests = sha256\ness_cert_id_alg = sha256\n")
        self.address = f"http://127.0.0.1:{self.server_address[1]}"
        threading.Thread(target=self.serve_forever, daemon=True).start()


class SignedRelease(InstallCase):
    """The release signed with a certificate made here (openssl) and time
    stamped by a server of this test's own: every program, setup program,
    uninstaller and package verifies against both, signing changed nothing
    in the programs but their signature, and the signed setup program and
    package install and go."""

    pair_arch, prefix_arch, view, system_windows, uninstaller_dir = PAIRS["X64"]

    @classmethod
    def prepare(cls):
        cls.work = tempfile.mkdtemp(prefix="brumalis-signed-")
        cls.cert, key = make_certificate(cls.work, "signer", "codeSigning")
        cls.stamps = TimeStampServer(cls.work)
        cls.dist = os.path.join(cls.work, "dist")
        began = time.time()
        subprocess.run([os.path.join(ROOT, "scripts", "dist.sh")], check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, SIGN_CERT=cls.cert, SIGN_KEY=key, SIGN_TIMESTAMP=cls.stamps.address,
                                BRUMALIS_DIST=cls.dist))
        print(f"{cls.__name__}: the signed release made in {time.time() - began:.1f} s")
        cls.programs = {}
        for arch in ("win32", "win64"):
            with zipfile.ZipFile(os.path.join(cls.dist, f"Brumalis-{VERSION}-{arch}.zip")) as z:
                for name in PAIR:
                    cls.programs[arch, name] = z.read(f"Brumalis-{VERSION}-{arch}/{name}")

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "stamps", None):
            cls.stamps.shutdown()
            cls.stamps.server_close()
        shutil.rmtree(getattr(cls, "work", ""), ignore_errors=True)
        super().tearDownClass()

    def verify(self, path):
        """osslsigncode's verdict on a file against the test certificate and
        time stamps; the digest it found signed."""
        result = subprocess.run(["osslsigncode", "verify", "-CAfile", self.cert, "-TSA-CAfile", self.stamps.cert,
                                 "-in", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(result.returncode, 0, f"{os.path.basename(path)} does not verify:\n{result.stdout}")
        self.assertIn("Signature verification: ok", result.stdout)
        self.assertIn("Timestamp Server Signature verification: ok", result.stdout)
        for line in result.stdout.splitlines():
            if line.startswith("Current message digest"):
                return line.split(":", 1)[1].strip().lower()
        return None

    def test_1_every_file_verifies_and_signing_changed_nothing_else(self):
        for name in sorted(os.listdir(self.dist)):
            if name.endswith((".exe", ".msi")):
                with self.subTest(file=name):
                    self.verify(os.path.join(self.dist, name))
        for (arch, name), signed in self.programs.items():
            with self.subTest(program=f"{arch}/{name}"):
                path = os.path.join(self.work, f"{arch}-{name}")
                with open(path, "wb") as f:
                    f.write(signed)
                unsigned = authenticode_digest(read(built(arch, "bin", name)))
                self.assertEqual(self.verify(path), unsigned)

    def test_2_the_signed_setup_program_installs_with_a_signed_uninstaller(self):
        self.install_setup(os.path.join(self.dist, f"Brumalis-{VERSION}-setup-x64.exe"))
        self.assert_pair_installed({name: self.programs["win64", name] for name in PAIR})
        self.verify(self.uninstaller())
        self.uninstall_setup()
        self.assert_removed()

    def test_3_the_signed_package_installs(self):
        msi = os.path.join(self.dist, f"Brumalis-{VERSION}-x64.msi")
        self.assertEqual(self.msiexec("/i", msi)[0], 0, "/i")
        self.assert_pair_installed({name: self.programs["win64", name] for name in PAIR})
        self.assertEqual(self.msiexec("/x", msi)[0], 0, "/x")
        self.assert_removed()


class Versions(WineTestCase):
    """File properties of every shipped program of both builds, read with
    GetFileVersionInfo (a resource is data: any build's probe reads both)."""

    @classmethod
    def setUpClass(cls):
        read_once(cls)
        super().setUpClass()

    def test_each_program_says_what_it_is_and_its_version(self):
        numbers = VERSION + ".0"
        for build in ("win32", "win64"):
            for name in PAIR:
                with self.subTest(build=build, program=name):
                    info = self.wine.probe.version(windows_path(built(build, "bin", name)))
                    self.assertEqual((info["file_version"], info["product_version"]), (numbers, numbers))
                    self.assertEqual(info["file_type"], 1)  # an application, the renderer too
                    for block in ("041104b0", "040904b0"):
                        self.assertEqual([info[f"{block}.{key}"] for key in
                                          ("FileVersion", "ProductVersion", "ProductName", "OriginalFilename")],
                                         [VERSION, VERSION, "Brumalis", name])
                        self.assertTrue(info[f"{block}.FileDescription"].startswith("Brumalis "))
        for arch in ("x86", "x64"):
            with self.subTest(setup=arch):
                self.assertEqual(self.wine.probe.version(windows_path(setup_program(arch)))["file_version"], numbers)

    def test_the_screensaver_shows_the_sky_icon(self):
        for build in ("win32", "win64"):
            with self.subTest(build=build):
                icons, pixels = self.wine.probe.icon(windows_path(built(build, "bin", HOST)))
                self.assertGreaterEqual(icons, 1)
                # Deep blue at the top, pale sky and cloud at the bottom.
                top, bottom = pixels[1], pixels[30]
                self.assertGreater(top[2], top[0] + 60, top)
                self.assertGreater(sum(bottom), sum(top) + 150, (top, bottom))


if __name__ == "__main__":
    main()
