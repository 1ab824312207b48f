"""Takes the README's picture under Wine, on a virtual display of the size of
a small screen: the full-screen run's sky (Brumalis.scr /s, the renderer
filling the screen) and, beside it, the settings dialog (Brumalis.scr /c),
both real screenshots, laid side by side in docs/brumalis.png. Run it after
`make build`; it uses the 64-bit programs, which every host runs.

    python3 -m scripts.readme_pictures      (scripts/readme-pictures.sh)
"""

import os
import shutil
import subprocess
import tempfile
import time

from testkit import ROOT
from testkit.display import Display
from testkit.names import HOST, VK_ESCAPE
from testkit.processes import wait_exit
from testkit.session import WineSession

# A 4:3 screen, small enough for a page (on a wider one the corners reach
# past the sky's edge); seconds into the run when the sky is taken, once the
# first cloud slices have faded in; the gap between the two pictures.
SCREEN = (800, 600)
SKY_AFTER = 6.0
GAP = 24
PICTURE = os.path.join(ROOT, "docs", "brumalis.png")


def main():
    session = WineSession(os.path.join(ROOT, "build", "win64", "bin"), "win64", display=Display(*SCREEN))
    work = tempfile.mkdtemp(prefix="brumalis-pictures-")
    session.start()
    try:
        session.remove_settings()
        proc = session.start_program(HOST, "/s")
        renderer = session.find_renderer()
        time.sleep(SKY_AFTER)
        sky = session.screenshot().save(os.path.join(work, "sky.png"))
        session.probe("key", renderer["hwnd"], str(VK_ESCAPE))
        wait_exit(proc, 20)

        proc = session.start_program(HOST, "/c")
        dialog = session.find_dialog()
        time.sleep(1.5)
        x, y, w, h = (int(dialog[k]) for k in ("x", "y", "w", "h"))
        shot = session.screenshot().save(os.path.join(work, "dialog.png"), crop=(x, y, x + w, y + h))
        session.probe("close", dialog["hwnd"])
        wait_exit(proc, 20)

        subprocess.run(["convert", "-size", f"{SCREEN[0] + GAP + w}x{SCREEN[1]}", "xc:none",
                        sky, "-geometry", "+0+0", "-composite",
                        shot, "-geometry", f"+{SCREEN[0] + GAP}+{(SCREEN[1] - h) // 2}", "-composite",
                        "-strip", PICTURE], check=True)
        print("wrote", os.path.relpath(PICTURE, ROOT))
    finally:
        session.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
