"""scripts/test-summary on a build folder made up for it: the cases inside each entry of the
last ctest run, counted from the entries' XML reports."""

import os
import subprocess

import pytest

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "test-summary")
GTEST = """<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="4" failures="0" disabled="1" errors="0" name="AllTests">
  <testsuite name="LineMaker" tests="4">
    <testcase name="A" status="run" result="completed" classname="LineMaker" />
    <testcase name="B" status="run" result="completed" classname="LineMaker" />
    <testcase name="C" status="run" result="skipped" classname="LineMaker"><skipped/></testcase>
    <testcase name="DISABLED_D" status="notrun" result="suppressed" classname="LineMaker" />
  </testsuite>
</testsuites>"""
MEMCHECK = "memcheck: 2 tests ran 2 programs under valgrind: 0 errors"
PYTEST = f"""<?xml version="1.0" encoding="utf-8"?><testsuites><testsuite name="pytest" tests="4">
<properties><property name="memcheck" value="{MEMCHECK}"/></properties>
<testcase classname="t" name="a"/><testcase classname="t" name="b"><failure message="x"/></testcase>
<testcase classname="t" name="c"><skipped message="y"/></testcase>
<testcase classname="t" name="d"><error message="teardown"/></testcase>
</testsuite></testsuites>"""


def ctest_log(*entries):
    """A LastTest.log in ctest's layout, for (name, passed) entries."""
    rule, count = "-" * 58, len(entries)
    blocks = [f"{number}/{count} Testing: {name}\n{number}/{count} Test: {name}\n"
              f'Command: "/b/{name}"\nOutput:\n{rule}\n[  PASSED  ] 1 test.\n<end of output>\n'
              f"Test time =   0.01 sec\n{rule}\nTest {'Passed' if passed else 'Failed'}.\n"
              f'"{name}" time elapsed: 00:00:00\n{rule}\n\n'
              for number, (name, passed) in enumerate(entries, 1)]
    return f"Start testing: Dec 08 09:00 UTC\n{rule}\n" + "".join(blocks)


@pytest.mark.parametrize("entries, reports, status, expected", [
    ([("unit_tests", True)], {"unit_tests": GTEST}, 0,
     ["  unit_tests  2 passed, 1 skipped",
      "  total       2 passed, 1 skipped, 0 failed in 1 ctest entries"]),
    ([("unit_tests", True), ("e2e_memcheck", False)],
     {"unit_tests": GTEST, "e2e_memcheck": PYTEST}, 1,
     ["  e2e_memcheck  1 passed, 1 skipped, 2 failed", "                " + MEMCHECK,
      "  total         3 passed, 2 skipped, 2 failed in 2 ctest entries"]),
    ([("unit_tests", False)], {}, 1,
     ["  unit_tests  no report: the entry failed before writing one"]),
])
def test_counts_per_entry_and_in_all(tmp_path, entries, reports, status, expected):
    (tmp_path / "Testing" / "Temporary").mkdir(parents=True)
    (tmp_path / "Testing" / "Temporary" / "LastTest.log").write_text(ctest_log(*entries))
    (tmp_path / "test-results").mkdir()
    for name, text in reports.items():
        (tmp_path / "test-results" / f"{name}.xml").write_text(text)
    done = subprocess.run(["/usr/bin/python3", SCRIPT, str(tmp_path)], capture_output=True,
                          text=True)
    assert (done.returncode, done.stderr) == (status, "")
    lines = done.stdout.splitlines()
    assert lines[0] == "Test cases of the last run:"
    assert all(line in lines for line in expected), done.stdout
