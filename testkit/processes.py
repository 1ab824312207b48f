"""Ending and waiting for processes, and what a crashed program said."""

import os
import subprocess


TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of a process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def threads_cpu_seconds(pid, name_prefix):
    """User plus system time so far of those threads of a process whose names
    begin with `name_prefix`."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                name, fields = f.read().split("(", 1)[1].rsplit(")", 1)
        except OSError:
            continue  # ended meanwhile
        if name.startswith(name_prefix):
            fields = fields.split()
            total += (int(fields[11]) + int(fields[12])) / TICKS
    return total


def stop_process(proc):
    """Ends a process of ours, politely first."""
    if proc and proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def wait_exit(proc, timeout):
    """The exit code, or None when the process runs on after `timeout` seconds."""
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


class ProgramCrashed(AssertionError):
    """A program of ours crashed: Wine reported an unhandled exception in it.
    An AssertionError, so that a test it ends fails rather than errs."""


def crash_lines(log):
    """The lines in which Wine reported an unhandled exception in a program's
    output (its own, or of a program it started and that inherited it, as
    the renderer does the host's): "wine: Unhandled page fault on ..." from
    the process that crashed, "Unhandled exception: ..." from the debugger
    it starts. Each line is prefixed with the log's name."""
    if not log:
        return []
    try:
        with open(log, "rb") as f:
            lines = f.read().decode("utf-8", "replace").splitlines()
    except OSError:
        return []
    return [f"{os.path.basename(log)}: {line}" for line in lines
            if line.startswith(("wine: Unhandled", "Unhandled exception"))]
