"""What make test's summary says of ctest's two rounds, read from JUnit."""

import io
import unittest

from scripts.ctest_runs import judge, read_report
from testkit.suite import second_run_names

# As ctest --output-junit writes them (CMake 3.25).
FIRST = """<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="(empty)" tests="7" failures="5" disabled="0" skipped="1">
  <testcase name="fine" classname="fine" time="3.2" status="run"><system-out>ok</system-out></testcase>
  <testcase name="checked" classname="checked" time="41.5" status="fail"><failure message=""/>
    <system-out>test_a ... FAIL

======================================================================
FAIL: test_a (__main__.Suite.test_a)
----------------------------------------------------------------------
Traceback (most recent call last):
AssertionError: 3 != 4

</system-out></testcase>
  <testcase name="stalled" classname="stalled" time="600.1" status="fail"><failure message=""/>
    <system-out>test_b ... ok
test_c ... </system-out></testcase>
  <testcase name="crashed" classname="crashed" time="0.4" status="fail"><failure message=""/>
    <system-out></system-out></testcase>
  <testcase name="unit_tests" classname="unit_tests" time="5.1" status="fail"><failure message=""/>
    <system-out>[ RUN      ] Panel.Rings
[       OK ] Panel.Rings (1 ms)
[ RUN      ] Panel.Shadow
panel_test.cpp:12: Failure
Expected equality of these values:
  ring
    Which is: 3
  4
[  FAILED  ] Panel.Shadow (2 ms)
[  FAILED  ] 1 test, listed below:
[  FAILED  ] Panel.Shadow
</system-out></testcase>
  <testcase name="unstarted" classname="unstarted" time="0" status="notrun">
    <skipped message="Fixture dependency failed"/><system-out>Failed test dependencies: prefix</system-out></testcase>
  <testcase name="elsewhere" classname="elsewhere" time="2.0" status="notrun">
    <skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/>
    <system-out>setUpClass (Setup) ... skipped 'does not run under win64 Wine here'</system-out></testcase>
</testsuite>
"""
SECOND = """<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="(empty)" tests="5" failures="2" disabled="0" skipped="0">
  <testcase name="checked" classname="checked" time="40.0" status="run"><system-out></system-out></testcase>
  <testcase name="stalled" classname="stalled" time="90.0" status="run"><system-out></system-out></testcase>
  <testcase name="crashed" classname="crashed" time="0.4" status="run"><system-out></system-out></testcase>
  <testcase name="unit_tests" classname="unit_tests" time="5.0" status="fail"><failure message=""/>
    <system-out>[  FAILED  ] Panel.Shadow (2 ms)</system-out></testcase>
  <testcase name="unstarted" classname="unstarted" time="0" status="fail"><failure message=""/>
    <system-out>gone</system-out></testcase>
</testsuite>
"""


def runs(text):
    return read_report(io.StringIO(text))


class Judge(unittest.TestCase):

    def test_every_retried_test_is_named_whatever_ended_its_first_run(self):
        passed, notes = judge(runs(FIRST), runs(SECOND))
        self.assertFalse(passed)
        self.assertEqual(notes, [
            "checked passed only on its second run (first run, 42 s: test_a: AssertionError: 3 != 4)",
            "stalled passed only on its second run (first run, 600 s: test_c ...)",
            "crashed passed only on its second run (first run, 0 s: (no output))",
            "unit_tests FAILED (Panel.Shadow: failed)",
            "unstarted FAILED (gone)",
            "elsewhere not run (does not run under win64 Wine here)",
        ])

    def test_a_googletest_program_names_its_first_failed_case_and_what_it_said(self):
        self.assertEqual(runs(FIRST)["unit_tests"].why,
                         "Panel.Shadow: Expected equality of these values: ring Which is: 3 4")

    def test_a_failure_passes_only_with_a_passing_second_run(self):
        first = runs(FIRST)
        del first["unstarted"], first["unit_tests"]
        for second, passed in ((runs(SECOND), True), ({}, False)):
            with self.subTest(second=sorted(second)):
                self.assertEqual(judge(first, second)[0], passed)


class Suite:
    """A suite's classes, out of this module's own run."""

    class Steps(unittest.TestCase):
        """Numbered: each builds on the one before."""

        def test_1_install(self):
            pass

        def test_2_check(self):
            self.fail()

    class Cases(unittest.TestCase):
        def test_a(self):
            self.fail()

        def test_b(self):
            raise OSError

        def test_c(self):
            pass

    class Unready(unittest.TestCase):
        @classmethod
        def setUpClass(cls):
            raise OSError

        def test_a(self):
            pass

    class Untidy(unittest.TestCase):
        @classmethod
        def tearDownClass(cls):
            raise OSError

        def test_a(self):
            self.fail()


class SecondRun(unittest.TestCase):
    """What a failed end-to-end suite runs again, from a real unittest run."""

    def failed(self, *names):
        result = unittest.TestResult()
        unittest.defaultTestLoader.loadTestsFromNames(names, Suite).run(result)
        return [test for test, _ in result.failures + result.errors]

    def test_the_failed_cases_or_their_whole_class(self):
        for names, again in (
            (("Cases",), ["Cases.test_a", "Cases.test_b"]),
            (("Steps",), ["Steps"]),
            (("Unready",), ["Unready"]),
            (("Untidy",), ["Untidy"]),
            (("Cases", "Steps", "Unready"), ["Steps", "Unready", "Cases.test_a", "Cases.test_b"]),
            (("Cases.test_c",), []),
            (("NoSuchClass",), None),
        ):
            with self.subTest(names=names):
                self.assertEqual(second_run_names(self.failed(*names)), again)


if __name__ == "__main__":
    unittest.main()
