"""Ending and waiting for processes, and what a crashed program said."""

import os
import subprocess
import sys


TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of a process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


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


def report_faults(log):
    """Prints the faults Wine reported in a program's output (its own, or
    of a program it started), such as "Unhandled page fault": a test that
    then fails on a window that stayed or an exit code says why."""
    if not log:
        return
    try:
        with open(log, "rb") as f:
            lines = f.read().decode("utf-8", "replace").splitlines()
    except OSError:
        return
    for line in lines:
        if "Unhandled" in line:
            print(f"{os.path.basename(log)}: {line}", file=sys.stderr, flush=True)
