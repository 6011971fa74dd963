"""Fixtures for the end-to-end tests: the built program, run over real pipes by the simulator.

QVX_PROGRAM names the program (CTest sets it); PYTHONPATH must reach tools/ for qvxsim.
QVX_TIME_FILTER and QVX_OUTGOING_FILTER name the cross-check filters of tests/crosscheck/.
"""

import os
import subprocess

import pytest

import qvxsim


@pytest.fixture(scope="session")
def program():
    path = os.environ.get("QVX_PROGRAM")
    if not path:
        pytest.fail("QVX_PROGRAM must name the built qvxclientui")
    if not os.access(path, os.X_OK):
        pytest.fail(f"QVX_PROGRAM={path} is not an executable program")
    return path


def _line_filter(variable, target):
    """A function that feeds lines to a built filter and returns its standard output, which
    must come with an empty standard error."""
    path = os.environ.get(variable)
    if not path or not os.access(path, os.X_OK):
        pytest.fail(f"{variable} must name the built {target}")

    def run(lines):
        done = subprocess.run([path], input="".join(line + "\n" for line in lines).encode(),
                              capture_output=True, timeout=120, check=True)
        assert done.stderr == b""
        return done.stdout
    return run


@pytest.fixture(scope="session")
def time_filter():
    return _line_filter("QVX_TIME_FILTER", "time_text_filter")


@pytest.fixture(scope="session")
def outgoing_filter():
    return _line_filter("QVX_OUTGOING_FILTER", "outgoing_message_filter")


@pytest.fixture
def client(program):
    """A started program with the simulator as its client. Whatever the test does, the program
    must write nothing to standard error; it is killed at the end if it still runs."""
    simulator = qvxsim.Client(program).start()
    try:
        yield simulator
    finally:
        simulator.finish()
        errors = simulator.stderr_bytes()
        assert errors == b"", ("standard error must stay empty; got:\n"
                               + errors.decode("utf-8", errors="replace")
                               + "\ntranscript:\n" + simulator.transcript.format())
