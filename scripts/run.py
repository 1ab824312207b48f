"""Runs the screensaver as Windows starts it (Brumalis.scr /s): the 32-bit
programs where this host runs them, the 64-bit ones otherwise. With a
DISPLAY it runs there until Escape; without one it runs on a virtual display
for a few seconds, keeps screenshots under out/<arch>/ and ends itself with
Escape.

    python3 -m scripts.run      (scripts/run.sh, `make run`)
"""

import os
import time

from testkit import ROOT
from testkit.names import HOST, VK_ESCAPE
from testkit.prefix import pick_arch, wine_environment
from testkit.processes import wait_exit
from testkit.session import WineSession

SHOTS = 3  # screenshots, one every SHOT_EVERY seconds
SHOT_EVERY = 2.0


def main():
    arch = pick_arch()
    programs = os.path.join(ROOT, "build", arch, "bin")
    if os.environ.get("DISPLAY"):
        env = wine_environment(os.environ["DISPLAY"], arch)
        os.execve(env["BRUMALIS_WINE"], [env["BRUMALIS_WINE"], os.path.join(programs, HOST), "/s"], env)

    session = WineSession(programs, arch, audio=True)
    session.start()
    try:
        proc = session.programs.start(HOST, "/s")
        window = session.probe.find_renderer()
        shots = []
        for i in range(SHOTS):
            time.sleep(SHOT_EVERY)
            name = f"run-{i + 1}.png"
            session.screen.shot(name)
            shots.append(session.out.file(name))
        title = session.probe("info", window["hwnd"])["title"]
        session.probe("key", window["hwnd"], str(VK_ESCAPE))
        code = wait_exit(proc, 20)
        print(f"ran {HOST} /s on a virtual display; renderer title: {title}; the screensaver ended with code {code}")
        print("screenshots:")
        for shot in shots:
            print("  " + shot)
    finally:
        session.stop()


if __name__ == "__main__":
    main()
