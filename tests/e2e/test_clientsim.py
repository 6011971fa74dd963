"""The client simulator's own command, as `make demo` runs it."""

import os
import subprocess

CLIENTSIM = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "clientsim")


def run(*arguments):
    result = subprocess.run(["/usr/bin/python3", CLIENTSIM, *arguments], capture_output=True,
                            text=True, timeout=60)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stderr == ""
    return result.stdout


def test_demo_shows_the_handshake_and_send_frames_each_file(program, tmp_path):
    shown = run("demo", "--program", program)
    for expected in ("ReadyForData", "ProtocolVersionMin     1", "ClientUIPid            0",
                     "exit: status 0"):
        assert expected in shown, shown
    paths = []
    for n in range(2):
        path = tmp_path / f"doc{n}.xml"
        path.write_text(f"<ClientToUI><RemoveRequest><ID>{n}</ID></RemoveRequest></ClientToUI>")
        paths.append(str(path))
    sent = run("send", "--program", program, "--wait", "0.2", *paths)
    assert sent.count("client->program [") == 2, sent
