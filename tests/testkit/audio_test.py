"""The proof a silence check gives first: the recording covers its span."""

import unittest

from testkit.audio import assert_recorded


def steady(start, end, step=0.1):
    """Slices as Recording.stop gives them, one every `step` seconds."""
    return [(0, start + i * step) for i in range(round((end - start) / step) + 1)]


class AssertRecorded(unittest.TestCase):

    def test_a_span_is_covered_or_the_failure_says_what_is_missing(self):
        cases = [  # name, slices, span, what the failure says (None: covered)
            ("steady", steady(0, 10), (1, 9), None),
            ("a pause under a second", steady(0, 3) + steady(3.9, 10), (1, 9), None),
            ("nothing", [], (1, 9), "nothing was recorded"),
            ("recorder died", steady(0, 3), (1, 9), "stops 6.00 s before the end"),
            ("recorder came late", steady(2.5, 10), (1, 9), "no data for 1.50 s from 0.00 s"),
            ("recorder paused", steady(0, 3) + steady(4.5, 10), (1, 9), "no data for 1.50 s from 2.00 s"),
        ]
        for name, heard, (start, end), says in cases:
            with self.subTest(name):
                if says is None:
                    assert_recorded(heard, start, end)
                else:
                    with self.assertRaisesRegex(AssertionError, says):
                        assert_recorded(heard, start, end)


if __name__ == "__main__":
    unittest.main()
