#!/usr/bin/env bash
# Runs the screensaver: the 32-bit programs where this host runs them, the
# 64-bit ones otherwise. With a DISPLAY it runs there until Escape; without
# one it runs on a virtual display for a few seconds, keeps screenshots under
# out/ and ends itself with Escape.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
brumalis_pick_arch
arch=$BRUMALIS_ARCH
. scripts/wine-env.sh "$arch"
brumalis_wine_prefix

program=build/$arch/bin/Brumalis.scr

if [ -n "${DISPLAY:-}" ]; then
  exec "$BRUMALIS_WINE" "$program" /s
fi

python3 - "$PWD" "$arch" <<'PY'
import os, sys, time
root, arch = sys.argv[1], sys.argv[2]
sys.path.insert(0, os.path.join(root, "tests", "wine"))
import harness

harness.OUT = os.path.join(root, "out", arch)
session = harness.WineSession(os.path.join(root, "build", arch, "bin"), "", audio=True, arch=arch)
session.start()
try:
    proc = session.start_program("Brumalis.scr", "/s")
    window = session.find_window("Caliguna", "-", 30000, visible=True)
    shots = []
    for i in range(3):
        time.sleep(2.0)
        name = f"run-{i + 1}.png"
        session.screenshot(name)
        shots.append(os.path.join(harness.OUT, name))
    title = session.probe("info", window["hwnd"])["title"]
    session.probe("key", window["hwnd"], str(harness.VK_ESCAPE))
    code = harness.wait_exit(proc, 20)
    print(f"ran Brumalis.scr /s on a virtual display; renderer title: {title}; "
          f"the screensaver ended with code {code}")
    print("screenshots:")
    for s in shots:
        print("  " + s)
finally:
    session.stop()
PY
