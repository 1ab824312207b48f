"""Wine on this host: which Windows builds it runs, the environment of
scripts/wine-env.sh, and the prefixes, each architecture's own and copies of
it that scripts running side by side keep to themselves."""

import os
import shutil
import subprocess
import sys

from testkit import ROOT

SCRIPTS = os.path.join(ROOT, "scripts")


def can_run(arch):
    """Empty when this host runs the programs of `arch` (win32 or win64),
    else why not (scripts/host-arch.sh decides)."""
    result = subprocess.run(["bash", "-c", f'. "{SCRIPTS}/host-arch.sh" && brumalis_can_run {arch}'],
                            stdout=subprocess.PIPE, text=True)
    return "" if result.returncode == 0 else result.stdout.strip() or f"{arch} does not run here"


def pick_arch():
    """The one build to run by hand: the 32-bit programs where this host runs
    them, the 64-bit ones otherwise; says which. Raises when neither runs."""
    result = subprocess.run(["bash", "-c", f'. "{SCRIPTS}/host-arch.sh" && brumalis_pick_arch && '
                             'echo "$BRUMALIS_ARCH"'], stdout=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise SystemExit(1)  # the script said why
    *said, arch = result.stdout.strip().splitlines()
    print(*said, sep="\n")
    return arch


def wine_environment(display, arch, prefix=None):
    """The environment of scripts/wine-env.sh for one architecture (win32 or
    win64), plus the display; with `prefix`, in that prefix instead of the
    architecture's own. The prefix is made if it is not there."""
    env = dict(os.environ, BRUMALIS_WINEPREFIX=prefix) if prefix else None
    dump = subprocess.run(["bash", "-c", f'. "{SCRIPTS}/wine-env.sh" {arch} && brumalis_wine_prefix && env -0'],
                          check=True, stdout=subprocess.PIPE, env=env).stdout
    env = dict(item.split("=", 1) for item in dump.decode().split("\0") if "=" in item)
    env["DISPLAY"] = display
    return env


# Wine's own programs and libraries, most of a prefix's size: nothing writes
# them in place, so copies of a prefix share them as hard links.
SHARED_FOLDERS = ("system32", "syswow64")
WINESERVER = "/usr/lib/wine/wineserver"  # as scripts/wine-env.sh runs it


def replace_with_copy(source, copy):
    """Makes the folder `copy` a copy of the prefix `source`; returns it.
    Every file is its own, but those of the system folders, which are linked:
    a copy takes a second and little disk. A wineserver that a program just
    left in `source` writes the registry when it ends (a temporary file, then
    renamed): the copy waits for it, for half a minute at most."""
    try:
        subprocess.run([WINESERVER, "-w"], env=dict(os.environ, WINEPREFIX=source), timeout=30)
    except subprocess.TimeoutExpired:
        pass  # a server kept on purpose: its files are as they were written last
    shutil.rmtree(copy, ignore_errors=True)
    subprocess.run(["cp", "-a", "--link", source, copy], check=True)
    windows = os.path.join(copy, "drive_c", "windows")
    for folder, dirs, files in os.walk(copy):
        if folder == windows:
            dirs[:] = [d for d in dirs if d.lower() not in SHARED_FOLDERS]
        for name in files:
            path = os.path.join(folder, name)
            if not os.path.islink(path):
                shutil.copy2(path, path + ".copying")
                os.replace(path + ".copying", path)
    return copy


def copy_prefix(arch, name):
    """A copy of the architecture's prefix under build/, named after `name`,
    made afresh."""
    source = wine_environment("", arch)["WINEPREFIX"]
    return replace_with_copy(source, f"{source}-{name.lower()}")


def fresh_prefix(arch, path):
    """Makes `path` a prefix in which no program has run yet: a copy of a
    pristine prefix of the architecture, which is made once per build folder
    (as the shared prefix is) and never run in."""
    pristine = os.path.join(ROOT, "build", f"wine-{arch}-pristine")
    wine_environment("", arch, pristine)
    return replace_with_copy(pristine, path)


def remove_prefix(prefix):
    """Removes a copied prefix and the lock file beside it."""
    shutil.rmtree(prefix, ignore_errors=True)
    if os.path.exists(prefix + ".lock"):
        os.remove(prefix + ".lock")


def own_prefix(arch, name):
    """Gives this script a copy of the architecture's prefix, named after it,
    for every session it starts: scripts that run side by side then have
    their own wineservers and never see each other's windows. Returns a
    function that removes the copy."""
    prefix = copy_prefix(arch, name)
    os.environ["BRUMALIS_WINEPREFIX"] = prefix

    def remove():
        os.environ.pop("BRUMALIS_WINEPREFIX", None)
        remove_prefix(prefix)
    return remove


if __name__ == "__main__":
    # python3 -m testkit.prefix SOURCE COPY, for scripts/wine-env.sh
    replace_with_copy(*sys.argv[1:3])
