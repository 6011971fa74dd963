"""A minute of the chaos client against the built program: random messages and clicks, every
answer judged. The seed is printed; QVX_CHAOS_SEED replays one, QVX_CHAOS_MINUTES runs longer."""

import io
import os
import time

import chaos


def test_a_minute_of_chaos_finds_no_fault(program, tmp_path):
    seed = int(os.environ.get("QVX_CHAOS_SEED", time.time()))
    minutes = float(os.environ.get("QVX_CHAOS_MINUTES", 1.0))
    print(f"chaos seed {seed}")
    report = io.StringIO()
    faults = chaos.Chaos(program, minutes, seed, str(tmp_path), report).run()
    print(report.getvalue())
    assert faults == 0, f"seed {seed}:\n{report.getvalue()}"
