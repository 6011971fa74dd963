"""Scenarios played by `clientsim`, each on a display of its own as `make demo` does without
DISPLAY: the built-in one to the end, and files whose expectations fail or cannot be read."""

import json
import os
import subprocess

import pytest

TOOLS = os.path.join(os.path.dirname(__file__), "..", "..", "tools")
BUILT_IN = os.path.join(TOOLS, "scenarios", "demo.json")


def play(program, *arguments):
    return subprocess.run(["/usr/bin/python3", os.path.join(TOOLS, "clientsim"), *arguments,
                           "--program", program, "--own-display"],
                          capture_output=True, text=True, timeout=120)


def sanitized(program):
    """True for an ASan or TSan build: editres names widgets by 32 bits of their address, and a
    sanitizer's heap lies higher, so the scenario's clicks cannot find their widgets."""
    libraries = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    return "libasan" in libraries or "libtsan" in libraries


def test_built_in_scenario_ends_with_status_0_and_one_picture_per_screenshot_step(
        program, tmp_path):
    if sanitized(program):
        pytest.skip("this build's widgets cannot be named through editres")
    result = play(program, "demo", "--output", str(tmp_path))
    assert (result.returncode, result.stderr) == (0, ""), result.stdout + result.stderr
    with open(BUILT_IN, encoding="utf-8") as file:
        steps = json.load(file)["steps"]
    assert sorted(os.listdir(tmp_path)) == sorted(
        step["screenshot"] + ".png" for step in steps if "screenshot" in step)


@pytest.mark.parametrize("steps, status, shown", [
    ([{"expect": "ReadyForData", "fields": {"ProtocolVersionMin": 2}}], 1, "FAILED"),
    ([{"expect": "ActionTaken", "within": 0.5}], 1, "FAILED: no ActionTaken"),
    ([{"close": "link"}, {"exit": 1}], 1, "exit status 0, expected 1"),
    ([{"send": "NoSuchMessage"}], 1, "no message NoSuchMessage"),
    ([{"pause": 0, "close": "link"}], 2, "exactly one of"),
])
def test_scenario_that_fails_or_cannot_be_read(program, tmp_path, steps, status, shown):
    path = tmp_path / "scenario.json"
    path.write_text(json.dumps({"steps": steps}))
    result = play(program, "play", str(path))
    assert result.returncode == status and shown in result.stdout + result.stderr, \
        result.stdout + result.stderr
