"""The client simulator's send command: each file goes to the program as one frame."""

import os
import subprocess

CLIENTSIM = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "clientsim")


def test_send_frames_each_file(program, xsession, tmp_path):
    paths = [tmp_path / f"doc{n}.xml" for n in range(2)]
    for n, path in enumerate(paths):
        path.write_text(f"<ClientToUI><RemoveRequest><ID>{n}</ID></RemoveRequest></ClientToUI>")
    result = subprocess.run(
        ["/usr/bin/python3", CLIENTSIM, "send", "--program", program, "--wait", "0.2",
         *map(str, paths)], capture_output=True, text=True, timeout=60, env=xsession.env())
    assert (result.returncode, result.stderr) == (0, ""), result.stdout + result.stderr
    for expected in ("ProtocolVersionMin     1", "ClientUIPid            0", "exit: status 0"):
        assert expected in result.stdout, result.stdout
    assert result.stdout.count("client->program [") == 2, result.stdout
