#!/usr/bin/env bash
# Runs the screensaver. With a DISPLAY it runs there until Escape; without one
# it runs on a virtual display for a few seconds, keeps screenshots under out/
# and ends itself with Escape.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
brumalis_wine_prefix

program=build/win32/bin/Brumalis.scr

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$program" /s
fi

python3 - "$PWD" <<'PY'
import os, sys, time
root = sys.argv[1]
sys.path.insert(0, os.path.join(root, "tests", "wine"))
import harness

session = harness.WineSession(os.path.join(root, "build", "win32", "bin"), "", audio=True)
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
