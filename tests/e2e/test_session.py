"""The session without a display: InitializationInfo fills the client's folder, and a forced
request whose deadline has passed comes back as taken, so the program is initialised and ticking."""

import base64
import datetime
import os
import pathlib
import time

import qvxsim
from test_link import expect_clean_exit

PAST = datetime.datetime(2001, 2, 3, 4, 5, 6, tzinfo=datetime.timezone.utc)
FILES = {"bytes.bin": bytes(range(256)) * 5, os.path.join("sub", "nested.xlat"): b"A\tB\n"}


def initialization(base, files):
    # encodebytes breaks lines, which the program must skip when decoding.
    entries = [qvxsim.support_file(FileName=os.path.basename(path), SubFolder=os.path.dirname(path),
                                   Content=qvxsim.Raw(base64.encodebytes(data).decode()))
               for path, data in files.items()]
    return qvxsim.initialization_info(BaseDirectory=str(base), SupportFiles=entries,
                                      InitialUISettings=qvxsim.ui_settings())


def forced_request(identifier):
    return qvxsim.action_request(ID=identifier, ForceRun=True, Deadline=PAST)


def expect_taken(client, identifier, send=True):
    if send:
        client.send_messages(forced_request(identifier))
    taken = qvxsim.parse_outgoing(client.read_frame(timeout=4.0))
    assert taken == qvxsim.ActionTaken(False, False, identifier, "ClientUI")


def folder_contents(base):
    return {os.path.relpath(os.path.join(folder, name), base):
            pathlib.Path(folder, name).read_bytes()
            for folder, _, names in os.walk(base) for name in names}


def test_initialization_writes_the_support_files_and_nothing_else(client, tmp_path):
    base = tmp_path / "missing" / "parents" / "base"
    client.read_frame()
    client.send_messages(initialization(base, FILES))
    expect_taken(client, 1)
    assert folder_contents(base) == FILES and sorted(os.listdir(base)) == ["bytes.bin", "sub"]
    # Only the first InitializationInfo counts; what follows it is still applied.
    client.send_messages(initialization(base, {"other.bin": b"x"}))
    expect_taken(client, 2)
    assert folder_contents(base) == FILES
    expect_clean_exit(client, client.close_writing())


def test_folder_that_cannot_be_made_keeps_the_program_waiting(client, tmp_path):
    (tmp_path / "a-file").write_bytes(b"")
    client.read_frame()
    # The request before the failing InitializationInfo stays applied.
    client.send_messages(forced_request(3), initialization(tmp_path / "a-file" / "base", FILES))
    time.sleep(2.5)
    assert client.is_running()
    client.send_messages(initialization(tmp_path / "base", FILES))
    expect_taken(client, 3, send=False)
    assert folder_contents(tmp_path / "base") == FILES
