"""The built program run over real pipes by the simulator (tools/ on PYTHONPATH), named by
QVX_PROGRAM, on one private X display with a window manager for the whole test session;
QVX_TIME_FILTER and QVX_OUTGOING_FILTER name the filters of tests/crosscheck/, QVX_XLATCHECK the
translation-file checker."""

import os
import subprocess

import pytest

import qvxsim
import xsession as xsession_module


def _executable(variable, target):
    path = os.environ.get(variable)
    if not path or not os.access(path, os.X_OK):
        pytest.fail(f"{variable} must name the built {target}")
    return path


@pytest.fixture(scope="session")
def program():
    return _executable("QVX_PROGRAM", "qvxclientui")


@pytest.fixture(scope="session")
def xlatcheck():
    return _executable("QVX_XLATCHECK", "qvxclientui-xlatcheck")


def _line_filter(variable, target):
    """Feeds lines to a built filter; returns its output, its standard error must stay empty."""
    path = _executable(variable, target)

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


@pytest.fixture(scope="session")
def xsession():
    with xsession_module.XSession() as session:
        yield session


@pytest.fixture
def client(program, xsession):
    """A started program; it must write nothing to standard error and is killed if it still runs.
    It starts without address randomisation so that xwidgets can resolve its widgets."""
    simulator = qvxsim.Client(program, env=xsession.env(),
                              prefix=xsession_module.NO_RANDOMISATION).start()
    try:
        yield simulator
    finally:
        simulator.finish()
        errors = simulator.stderr_bytes().decode("utf-8", errors="replace")
        assert errors == "", f"{errors}\ntranscript:\n{simulator.transcript.format()}"
