"""The session as the client meets it without a display: InitializationInfo fills the client's
folder, and a forced request whose deadline has passed comes back as taken, which shows that the
program is initialised and ticking."""

import base64
import datetime
import os
import time

import qvxsim

PAST = datetime.datetime(2001, 2, 3, 4, 5, 6, tzinfo=datetime.timezone.utc)
FILES = {"bytes.bin": bytes(range(256)) * 5, os.path.join("sub", "nested.xlat"): b"A\tB\n"}


def initialization(base, files):
    entries = [qvxsim.support_file(FileName=os.path.basename(path),
                                   SubFolder=os.path.dirname(path),
                                   # Line breaks in the Base64 text are skipped when decoding.
                                   Content=qvxsim.Raw(base64.encodebytes(data).decode()))
               for path, data in files.items()]
    return qvxsim.initialization_info(BaseDirectory=str(base), SupportFiles=entries,
                                      InitialUISettings=qvxsim.ui_settings())


def forced_request(identifier):
    return qvxsim.action_request(ID=identifier, ForceRun=True, Deadline=PAST)


def expect_taken(client, identifier):
    """The forced request is reported by the program itself, within a tick or two."""
    client.send_messages(forced_request(identifier))
    taken = qvxsim.parse_outgoing(client.read_frame(timeout=4.0))
    assert taken == qvxsim.ActionTaken(False, False, identifier, "ClientUI")


def folder_contents(base):
    found = {}
    for folder, _, names in os.walk(base):
        for name in names:
            with open(os.path.join(folder, name), "rb") as file:
                found[os.path.relpath(os.path.join(folder, name), base)] = file.read()
    return found


def test_initialization_writes_the_support_files_and_nothing_else(client, tmp_path):
    base = tmp_path / "missing" / "parents" / "base"
    client.read_frame()
    client.send_messages(initialization(base, FILES))
    expect_taken(client, 1)
    assert folder_contents(base) == FILES
    assert sorted(os.listdir(base)) == ["bytes.bin", "sub"]
    # Only the first InitializationInfo counts; what follows it is still applied.
    client.send_messages(initialization(base, {"other.bin": b"x"}))
    expect_taken(client, 2)
    assert folder_contents(base) == FILES
    closed_at = client.close_writing()
    assert client.wait_exit(timeout=10.0) == 0
    assert 2.0 <= client.seconds_from(closed_at) <= 3.25


def test_folder_that_cannot_be_made_keeps_the_program_waiting(client, tmp_path):
    blocker = tmp_path / "a-file"
    blocker.write_bytes(b"")
    client.read_frame()
    # The request before the failing InitializationInfo stays applied.
    client.send_messages(forced_request(3), initialization(blocker / "base", FILES))
    time.sleep(2.5)
    assert client.is_running()
    client.send_messages(initialization(tmp_path / "base", FILES))
    taken = qvxsim.parse_outgoing(client.read_frame(timeout=4.0))
    assert taken == qvxsim.ActionTaken(False, False, 3, "ClientUI")
    assert folder_contents(tmp_path / "base") == FILES
