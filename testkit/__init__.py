"""What the end-to-end tests, the soak, the frame-rate benchmark, `make run`
and the README's picture share to run the Windows programs under Wine on
virtual X displays: the programs' names, the settings file's text, the X
servers, the prefixes, the processes, the screenshots, and a session that
ties them together.

Every script that uses it runs as a module from the project's root
(`python3 -m tests.wine.test_host`, `python3 -m bench.frame_rate`), so that
`import testkit` finds this folder."""

import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def out_dir(arch):
    """Where a run of one architecture's programs keeps screenshots, traces
    and logs: out/<arch>."""
    return os.path.join(ROOT, "out", arch)
