#!/usr/bin/env bash
# Takes the README's picture under Wine, on a virtual display of the size of a
# small screen: the full-screen run's sky (Brumalis.scr /s, the renderer
# filling the screen) and, beside it, the settings dialog (Brumalis.scr /c),
# both real screenshots, laid side by side in docs/brumalis.png. Run it after
# `make build`; it uses the 64-bit programs, which every host runs.
#
#   scripts/readme-pictures.sh
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-env.sh win64
brumalis_wine_prefix

python3 - "$PWD" <<'PY'
import os, subprocess, sys, tempfile, time
root = sys.argv[1]
sys.path.insert(0, os.path.join(root, "tests", "wine"))
import harness

# A 4:3 screen, small enough for a page (on a wider one the corners reach
# past the sky's edge); seconds into the run when the sky is taken, once the
# first cloud slices have faded in; the gap between the two pictures.
SCREEN = (800, 600)
SKY_AFTER = 6.0
GAP = 24

session = harness.WineSession(os.path.join(root, "build", "win64", "bin"), "", arch="win64")
session.display = harness.Display(*SCREEN)
work = tempfile.mkdtemp(prefix="brumalis-pictures-")
session.start()
try:
    session.remove_settings()
    proc = session.start_program("Brumalis.scr", "/s")
    renderer = session.find_window("Caliguna", "-", 30000, visible=True)
    time.sleep(SKY_AFTER)
    sky = os.path.join(work, "sky.png")
    subprocess.run(["import", "-display", session.env["DISPLAY"], "-window", "root", sky], check=True)
    session.probe("key", renderer["hwnd"], str(harness.VK_ESCAPE))
    harness.wait_exit(proc, 20)

    proc = session.start_program("Brumalis.scr", "/c")
    dialog = session.find_window("-", "■Brumalis■", 30000, visible=True)
    time.sleep(1.5)
    x, y, w, h = (int(dialog[k]) for k in ("x", "y", "w", "h"))
    shot = os.path.join(work, "dialog.png")
    subprocess.run(["import", "-display", session.env["DISPLAY"], "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                    "+repage", shot], check=True)
    session.probe("close", dialog["hwnd"])
    harness.wait_exit(proc, 20)

    out = os.path.join(root, "docs", "brumalis.png")
    subprocess.run(["convert", "-size", f"{SCREEN[0] + GAP + w}x{SCREEN[1]}", "xc:none",
                    sky, "-geometry", "+0+0", "-composite",
                    shot, "-geometry", f"+{SCREEN[0] + GAP}+{(SCREEN[1] - h) // 2}", "-composite",
                    "-strip", out], check=True)
    print("wrote", os.path.relpath(out, root))
finally:
    session.stop()
    subprocess.run(["rm", "-rf", work])
PY
