"""The client simulator's own command, as `make demo` runs it."""

import os
import subprocess

CLIENTSIM = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "clientsim")


def run(xsession, *arguments):
    result = subprocess.run(["/usr/bin/python3", CLIENTSIM, *arguments], capture_output=True,
                            text=True, timeout=60, env=xsession.env())
    assert (result.returncode, result.stderr) == (0, ""), result.stdout + result.stderr
    return result.stdout


def test_demo_shows_the_handshake_and_send_frames_each_file(program, xsession, tmp_path):
    shown = run(xsession, "demo", "--program", program)
    for expected in ("ProtocolVersionMin     1", "ClientUIPid            0", "exit: status 0"):
        assert expected in shown, shown
    paths = [tmp_path / f"doc{n}.xml" for n in range(2)]
    for n, path in enumerate(paths):
        path.write_text(f"<ClientToUI><RemoveRequest><ID>{n}</ID></RemoveRequest></ClientToUI>")
    sent = run(xsession, "send", "--program", program, "--wait", "0.2", *map(str, paths))
    assert sent.count("client->program [") == 2, sent
