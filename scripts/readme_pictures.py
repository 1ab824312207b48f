"""Takes the pictures of the README and of the user guide (docs/guide.md)
under Wine, on a virtual display of the size of a small screen, from the real
programs, so that they never go stale. Run it after `make build`; it uses the
64-bit programs, which every host runs.

    python3 -m scripts.readme_pictures      (scripts/readme-pictures.sh)

docs/brumalis.png        the full-screen run's sky (Brumalis.scr /s) and,
                         beside it, the settings dialog (Brumalis.scr /c)
docs/guide-dialog-cd.png    the dialog with the audio CD chosen, a track repeated
docs/guide-dialog-file.png  the dialog with a music file chosen
docs/guide-setup.png     the setup program's first page, in English
docs/guide-two-monitors.png  a full-screen run on two monitors side by side
docs/three-monitors.png  a full-screen run on three monitors in a row, the
                         last one smaller
"""

import os
import shutil
import subprocess
import tempfile
import time

from testkit import ROOT
from testkit.display import Display
from testkit.names import HOST, VK_ESCAPE
from testkit import runs
from testkit.prefix import fresh_prefix, remove_prefix
from testkit.processes import wait_exit
from testkit.session import WineSession
from testkit.settings import music_settings

# A 4:3 screen, small enough for a page (on a wider one the corners reach
# past the sky's edge); seconds into the run when the sky is taken, once the
# first cloud slices have faded in; the gap between the two pictures.
SCREEN = (800, 600)
SKY_AFTER = 6.0
GAP = 24
DOCS = os.path.join(ROOT, "docs")
BUILD = os.path.join(ROOT, "build", "win64")
VERSION = open(os.path.join(ROOT, "VERSION")).read().split()[0]
# The music file the dialog shows: any file will do, the dialog only names it.
MUSIC_FOLDER = ("Users", "Public", "Music")
MUSIC_FILE = "Rain on the roof.mp3"


def shot_of(session, window, path):
    """A screenshot of one window found by the probe, saved to `path`."""
    x, y, w, h = (int(window[k]) for k in ("x", "y", "w", "h"))
    return session.screen.shot().save(path, crop=(x, y, x + w, y + h)), (w, h)


def dialog_picture(session, settings, path):
    """The settings dialog opened on these settings, after its opening zoom."""
    proc, dialog = runs.open_dialog(session, settings)
    shot = shot_of(session, dialog, path)
    runs.close(session, proc, dialog)
    return shot


def readme_picture(session, work):
    session.files.remove_settings()
    proc, main, renderer = runs.start_run(session, None)
    time.sleep(SKY_AFTER)
    sky = session.screen.shot().save(os.path.join(work, "sky.png"))
    runs.escape(session, proc, renderer, main)

    session.files.remove_settings()
    shot, (w, h) = dialog_picture(session, music_settings(0), os.path.join(work, "dialog.png"))
    picture = os.path.join(DOCS, "brumalis.png")
    subprocess.run(["convert", "-size", f"{SCREEN[0] + GAP + w}x{SCREEN[1]}", "xc:none",
                    sky, "-geometry", "+0+0", "-composite",
                    shot, "-geometry", f"+{SCREEN[0] + GAP}+{(SCREEN[1] - h) // 2}", "-composite",
                    "-strip", picture], check=True)
    return [picture]


def guide_dialog_pictures(session, work):
    cd = os.path.join(DOCS, "guide-dialog-cd.png")
    dialog_picture(session, music_settings(1, 3), os.path.join(work, "cd.png"))
    folder = session.files.fresh_folder(*MUSIC_FOLDER)
    with open(os.path.join(folder, MUSIC_FILE), "wb") as f:
        f.write(b"\0" * 1024)
    file = os.path.join(DOCS, "guide-dialog-file.png")
    dialog_picture(session, music_settings(2, 0, "C:\\" + "\\".join(MUSIC_FOLDER) + "\\" + MUSIC_FILE),
                   os.path.join(work, "file.png"))
    shutil.rmtree(folder)
    for made, picture in ((os.path.join(work, "cd.png"), cd), (os.path.join(work, "file.png"), file)):
        subprocess.run(["convert", made, "-strip", picture], check=True)
    return [cd, file]


def picture_session(name, display=None):
    """A session on a screen of SCREEN's size (or on `display`), in a fresh
    prefix of its own."""
    prefix = fresh_prefix("win64", os.path.join(ROOT, "build", f"wine-win64-pictures-{name}"))
    session = WineSession(os.path.join(BUILD, "bin"), "win64", display=display or Display(*SCREEN), prefix=prefix)
    session.start()
    return session


def monitors_picture(name, sizes, picture):
    """A full-screen run on monitors of these sizes in a row, the primary
    one first; what lies outside every monitor (the row's own backdrop) is
    black."""
    (width, height), others = sizes[0], sizes[1:]
    session = picture_session(name, Display(width, height, others=others))
    try:
        session.files.remove_settings()
        proc = session.programs.start(HOST, "/s")
        renderer = session.probe.find_renderer()
        time.sleep(SKY_AFTER)
        shot = session.screen.shot()
        session.probe("key", renderer["hwnd"], str(VK_ESCAPE))
        wait_exit(proc, 20)
    finally:
        end_session(session)
    left, below = 0, []
    for w, h in sizes:
        below.append((left, h, left + w, shot.height))
        left += w
    shot.blanked(below).save(picture)
    return [picture]


def end_session(session):
    session.stop()
    remove_prefix(session.prefix)


def guide_setup_picture(work):
    """The setup program's first page, in a prefix that it never gets to
    install into, with Windows speaking English."""
    session = picture_session("setup")
    try:
        setup = os.path.join(BUILD, "setup", f"Brumalis-{VERSION}-setup-x64.exe")
        proc = session.programs.start(setup, extra_env={"LC_ALL": "C.UTF-8"})
        page = session.probe.find_window("#32770", "-", visible=True)
        time.sleep(1.0)
        made, _ = shot_of(session, page, os.path.join(work, "setup.png"))
        session.probe("close", page["hwnd"])
        wait_exit(proc, 20)
        picture = os.path.join(DOCS, "guide-setup.png")
        subprocess.run(["convert", made, "-strip", picture], check=True)
        return [picture]
    finally:
        end_session(session)


def main():
    work = tempfile.mkdtemp(prefix="brumalis-pictures-")
    session = picture_session("programs")
    made = []
    try:
        made += readme_picture(session, work)
        made += guide_dialog_pictures(session, work)
    finally:
        end_session(session)
    made += monitors_picture("two", [SCREEN, SCREEN], os.path.join(DOCS, "guide-two-monitors.png"))
    made += monitors_picture("three", [(640, 480), (640, 480), (512, 384)], os.path.join(DOCS, "three-monitors.png"))
    try:
        made += guide_setup_picture(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for picture in made:
        print("wrote", os.path.relpath(picture, ROOT))


if __name__ == "__main__":
    main()
