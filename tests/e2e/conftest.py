"""Fixtures for the end-to-end tests: the built program, run over real pipes by the simulator.

QVX_PROGRAM names the program (CTest sets it); PYTHONPATH must reach tools/ for qvxsim.
"""

import os

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
