"""The client simulator's own command, as `make demo` runs it."""

import os
import subprocess

CLIENTSIM = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "clientsim")


def test_demo_shows_the_handshake_and_a_clean_exit(program):
    result = subprocess.run(["/usr/bin/python3", CLIENTSIM, "demo", "--program", program],
                            capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stderr == ""
    for expected in ("ReadyForData", "ProtocolVersionMin     1", "ClientUIPid            0",
                     "exit: status 0"):
        assert expected in result.stdout, result.stdout


def test_send_frames_each_file(program, tmp_path):
    paths = []
    for n in range(2):
        path = tmp_path / f"doc{n}.xml"
        path.write_text(f"<ClientToUI><RemoveRequest><ID>{n}</ID></RemoveRequest></ClientToUI>")
        paths.append(str(path))
    result = subprocess.run(
        ["/usr/bin/python3", CLIENTSIM, "send", "--program", program, "--wait", "0.2"] + paths,
        capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stdout.count("client->program [") == 2, result.stdout

