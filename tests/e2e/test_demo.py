"""Scenarios played by `clientsim`, each on a display of its own as `make demo` does without
DISPLAY: the built-in one to the end, and files whose expectations fail or cannot be read."""

import json
import os
import subprocess

import pytest

import memcheck
from instrumented import sanitized

pytestmark = pytest.mark.memcheck

TOOLS = os.path.join(os.path.dirname(__file__), "..", "..", "tools")
BUILT_IN = os.path.join(TOOLS, "scenarios", "demo.json")


def play(program, *arguments, memcheck_logs=None, display_flag="--own-display", **variables):
    """clientsim's result; under memcheck its program writes its logs into memcheck_logs, which
    the fixture of that name checks."""
    environment = dict(os.environ, **variables)
    if memcheck_logs is not None:
        environment[memcheck.LOG_FOLDER_VARIABLE] = memcheck_logs
    return subprocess.run(["/usr/bin/python3", os.path.join(TOOLS, "clientsim"), *arguments,
                           "--program", program, *([display_flag] if display_flag else [])],
                          capture_output=True, text=True, timeout=300, env=environment)


def test_built_in_scenario_ends_with_status_0_and_one_picture_per_screenshot_step(
        program, tmp_path, memcheck_logs):
    if sanitized(program):
        pytest.skip("this build's widgets cannot be named through editres")
    shots = tmp_path / "shots"
    result = play(program, "demo", "--output", str(shots), memcheck_logs=memcheck_logs)
    assert (result.returncode, result.stderr) == (0, ""), result.stdout + result.stderr
    with open(BUILT_IN, encoding="utf-8") as file:
        steps = json.load(file)["steps"]
    assert sorted(os.listdir(shots)) == sorted(
        step["screenshot"] + ".png" for step in steps if "screenshot" in step)


@pytest.mark.wm_independent
@pytest.mark.parametrize("steps, status, shown", [
    ([{"expect": "ReadyForData", "fields": {"ProtocolVersionMin": 2}}], 1, "FAILED"),
    ([{"expect": "ActionTaken", "within": 0.5}], 1, "FAILED: no ActionTaken"),
    ([{"close": "link"}, {"exit": 1}], 1, "exit status 0, expected 1"),
    ([{"send": "NoSuchMessage"}], 1, "no message NoSuchMessage"),
    ([{"pause": 0, "close": "link"}], 2, "exactly one of"),
])
def test_scenario_that_fails_or_cannot_be_read(program, tmp_path, memcheck_logs, steps, status,
                                               shown):
    path = tmp_path / "scenario.json"
    path.write_text(json.dumps({"steps": steps}))
    result = play(program, "play", str(path), memcheck_logs=memcheck_logs)
    assert result.returncode == status and shown in result.stdout + result.stderr, \
        result.stdout + result.stderr


@pytest.mark.wm_independent
def test_window_manager_option_names_the_private_display_s_manager(program, tmp_path,
                                                                    memcheck_logs):
    path = tmp_path / "scenario.json"
    path.write_text(json.dumps({"steps": [{"close": "link"}, {"exit": 0}]}))
    result = play(program, "play", str(path), "--window-manager", "none",
                  memcheck_logs=memcheck_logs, QVX_WM="twm")
    assert result.returncode == 0 and " with none\n" in result.stdout, \
        result.stdout + result.stderr
    # On the user's own display there is no manager to choose.
    refused = play(program, "play", str(path), "--window-manager", "twm", display_flag=None,
                   DISPLAY=":0")
    assert refused.returncode == 2 and "--window-manager chooses" in refused.stderr
