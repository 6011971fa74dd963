"""A minute of the chaos client against the built program: random messages and clicks, every
answer judged. The seed is printed; QVX_CHAOS_SEED replays one, QVX_CHAOS_MINUTES runs longer."""

import io
import os
import time

import pytest

import chaos
from instrumented import sanitized


def test_a_minute_of_chaos_finds_no_fault(program, tmp_path):
    if sanitized(program):
        # The chaos client reads and clicks widgets through editres, which cannot name a
        # sanitizer build's widgets; the plain build and its memcheck run cover the program.
        pytest.skip("this build's widgets cannot be named through editres")
    seed = int(os.environ.get("QVX_CHAOS_SEED", time.time()))
    minutes = float(os.environ.get("QVX_CHAOS_MINUTES", 1.0))
    print(f"chaos seed {seed}")
    report = io.StringIO()
    faults = chaos.Chaos(program, minutes, seed, str(tmp_path), report).run()
    print(report.getvalue())
    assert faults == 0, f"seed {seed}:\n{report.getvalue()}"
