"""The built program run over real pipes by the simulator (tools/ on PYTHONPATH), named by
QVX_PROGRAM, on one private X display with a window manager for the whole test session;
QVX_TIME_FILTER and QVX_OUTGOING_FILTER name the filters of tests/crosscheck/, QVX_XLATCHECK the
translation-file checker, QVX_TAP the tap.

With QVX_MEMCHECK=1 the programs of the tests marked memcheck run under valgrind's memcheck
(tools/memcheck.py); a test whose logs report an error fails with them, and the run ends with a
count of what ran under the checker."""

import os
import subprocess

import pytest

import memcheck
import qvxsim
import xsession as xsession_module

# What ran under memcheck in this session, and the errors it reported.
_memcheck_counts = {"tests": 0, "programs": 0, "errors": 0}


def _memcheck_line():
    counts = _memcheck_counts
    return (f"memcheck: {counts['tests']} tests ran {counts['programs']} programs under "
            f"valgrind: {counts['errors']} errors")


def pytest_configure(config):
    config.addinivalue_line(
        "markers", "memcheck: opens the program's dialogs; run again under valgrind's memcheck")
    config.addinivalue_line(
        "markers", "wm_independent: a dialog or demo test that no window manager changes; "
                   "`make test-wm` leaves it to the run under openbox")


def pytest_terminal_summary(terminalreporter):
    if memcheck.enabled():
        terminalreporter.write_line(_memcheck_line())


@pytest.fixture(scope="session", autouse=True)
def memcheck_report(record_testsuite_property):
    """Puts the memcheck line into the run's XML report too, for scripts/test-summary."""
    yield
    if memcheck.enabled():
        record_testsuite_property("memcheck", _memcheck_line())


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


@pytest.fixture(scope="session")
def tap():
    return _executable("QVX_TAP", "qvxclientui-tap")


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
    """The session's display, with the window manager QVX_WM names (openbox by default)."""
    with xsession_module.XSession() as session:
        yield session


@pytest.fixture
def memcheck_logs(tmp_path):
    """Under QVX_MEMCHECK=1 the folder of this test's memcheck logs, else None. Once the test has
    ended, a log that reports an error fails it."""
    if not memcheck.enabled():
        yield None
        return
    folder = tmp_path / "memcheck"
    folder.mkdir()
    yield str(folder)
    programs, found = len(memcheck.logs(str(folder))), memcheck.findings(str(folder))
    _memcheck_counts["tests"] += 1 if programs else 0
    _memcheck_counts["programs"] += programs
    _memcheck_counts["errors"] += sum(count for count, _ in found)
    assert not found, "memcheck reports errors:\n" + "\n".join(text for _, text in found)


@pytest.fixture
def program_prefix(memcheck_logs):
    """The command the program runs under: without address randomisation, so that xwidgets can
    resolve its widgets, and under memcheck when it is asked for."""
    if memcheck_logs is None:
        return list(xsession_module.NO_RANDOMISATION)
    return memcheck.prefix(memcheck_logs)


@pytest.fixture
def client(program, xsession, program_prefix):
    """A started program; it must write nothing to standard error and is killed if it still runs.
    Under memcheck it is first given the end of its link, so that it exits and the leak check
    runs."""
    simulator = qvxsim.Client(program, env=xsession.env(), prefix=program_prefix).start()
    try:
        yield simulator
    finally:
        if memcheck.enabled() and simulator.is_running():
            memcheck.let_exit(simulator)
        simulator.finish()
        errors = simulator.stderr_bytes().decode("utf-8", errors="replace")
        assert errors == "", f"{errors}\ntranscript:\n{simulator.transcript.format()}"


@pytest.fixture
def client_with(program, xsession, program_prefix):
    """Starts programs with more environment (client_with(TZ="...")), handled as client is."""
    started = []

    def start(**environment):
        simulator = qvxsim.Client(program, env=xsession.env(**environment),
                                  prefix=program_prefix).start()
        simulator.xsession = xsession
        started.append(simulator)
        return simulator
    yield start
    for simulator in started:
        if memcheck.enabled() and simulator.is_running():
            memcheck.let_exit(simulator)
        simulator.finish()
        assert simulator.stderr_bytes() == b""
