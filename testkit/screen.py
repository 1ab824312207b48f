"""The screen of a session's display as a person sees and uses it: what it
shows, and the pointer and keys of X."""

import subprocess
import time

from testkit.screenshots import screenshot


class Screen:
    def __init__(self, env, outputs):
        self.env = env
        self.outputs = outputs

    def shot(self, save_as=None):
        """The whole screen; with `save_as`, also kept under out/<arch>."""
        picture = screenshot(self.env["DISPLAY"])
        if save_as:
            picture.save(self.outputs.file(save_as))
        return picture

    def wait_for(self, looks_right, timeout=10, what="the screen"):
        """Screenshots until one satisfies `looks_right(picture)` and returns
        it; fails after `timeout` seconds, naming `what` it waited for."""
        deadline = time.monotonic() + timeout
        while not looks_right(picture := self.shot()):
            if time.monotonic() > deadline:
                raise AssertionError(f"{what} did not show in {timeout} s")
        return picture

    def xdotool(self, *args):
        """Moves the pointer, clicks and presses keys as a person would."""
        subprocess.run(["xdotool", *args], env=self.env, check=True)
