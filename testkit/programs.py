"""Windows programs started in a prefix: those of a build folder, Wine's own
and any by its Windows path; each one's output kept, and a crash in any of
them reported."""

import itertools
import os
import subprocess

from testkit.processes import ProgramCrashed, crash_lines

STARTED = itertools.count(1)  # programs started by this script, numbering their logs


class Programs:
    """The programs of `bin_dir` in the prefix of `env`; what they print goes
    to the log folder of `outputs`."""

    def __init__(self, env, bin_dir, outputs):
        self.env = env
        self.bin = bin_dir
        self.outputs = outputs
        self.children = []

    def command(self, *command):
        """The command line that runs a Windows program with this
        architecture's loader."""
        return [self.env["BRUMALIS_WINE"], *command]

    def path(self, name):
        """A program of the build folder, on this host."""
        return os.path.join(self.bin, name)

    def start(self, name, *args, trace=None, log=None, extra_env=None):
        """Starts a program of the build folder, or a Windows path; `trace`
        sets WINEDEBUG channels whose output goes to the file `log`."""
        path = name if "\\" in name else self.path(name)
        env = dict(self.env, **(extra_env or {}))
        if trace:
            env["WINEDEBUG"] = trace
        if not log:
            # Kept, so that a crash fails the test and says where (see end_all).
            log = self.outputs.log(f"{next(STARTED):03d}-{os.path.basename(path.replace(chr(92), '/'))}.txt")
        with open(log, "wb") as out:
            proc = subprocess.Popen(self.command(path, *args), env=env, stdout=out, stderr=out)
        proc.log = log
        return self.adopt(proc)

    def host_pid(self, name):
        """The process id on this host of the one program called `name` (its
        file's name) that runs in this prefix: a Windows process of Wine is
        one of the host's, whose command line names its program."""
        prefix = f"WINEPREFIX={self.env['WINEPREFIX']}".encode()
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    if prefix not in f.read().split(b"\0"):
                        continue
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    program = f.read().split(b"\0")[0].decode("utf-8", "replace")
            except OSError:
                continue  # ended meanwhile, or another user's
            if program.replace("\\", "/").rsplit("/", 1)[-1] == name:
                found.append(int(pid))
        if len(found) != 1:
            raise AssertionError(f"{len(found)} processes of {name} run in the prefix")
        return found[0]

    def adopt(self, proc):
        """Ends `proc`, started otherwise, with the test (end_all)."""
        self.children.append(proc)
        return proc

    def end_all(self):
        """Ends every program a test left running, so the next test starts
        clean; raises ProgramCrashed, naming the faults, when Wine reported
        an unhandled exception in any program started since the last call
        (the renderer's show in the host's log)."""
        crashes = []
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()
                proc.wait(10)
            if proc.stdout:
                proc.stdout.close()
            crashes += crash_lines(getattr(proc, "log", None))
        self.children = []
        if crashes:
            raise ProgramCrashed("a program crashed:\n" + "\n".join(crashes))

    def kill_all(self):
        """Ends whatever still runs, without a word: the session is ending."""
        for proc in self.children:
            if proc.poll() is None:
                proc.kill()

    def backtrace(self, pid):
        """The stacks of the threads of the Windows process `pid`, as the
        debugger prints them: what a program that does not answer is doing."""
        try:
            result = subprocess.run(self.command("winedbg", str(pid)), input=b"bt all\ndetach\nquit\n", env=self.env,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        except subprocess.TimeoutExpired:
            return "(the debugger did not answer)"
        ours, keep = [], False
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            if line.startswith("Backtracing for thread"):
                keep = f" in process {int(pid):04x} " in line
            if keep:
                ours.append(line)
        return "\n".join(ours) or "(no stacks for this process)"
