"""The program as the client meets it: the handshake, the framing limits and the ways the link
ends. Until InitializationInfo arrives the program sends nothing after its handshake."""

import time

import pytest

import qvxsim
from instrumented import slack

READY_FOR_DATA = (
    '<?xml version="1.0" encoding="UTF-8"?>\n<ClientToUI>\n\t<ReadyForData>\n'
    "\t\t<ProtocolVersionMin>1</ProtocolVersionMin>\n"
    "\t\t<ProtocolVersionMax>1</ProtocolVersionMax>\n"
    "\t\t<NewProtocolVersionMin>1</NewProtocolVersionMin>\n"
    "\t\t<NewProtocolVersionMax>1</NewProtocolVersionMax>\n"
    "\t\t<ClientUIPid>0</ClientUIPid>\n\t</ReadyForData>\n</ClientToUI>").encode()


def expect_clean_exit(client, since):
    """Status 0, after the link is noticed (one 1 s poll) and the 2 s exit pause, with a small
    margin for a loaded machine."""
    assert client.wait_exit(timeout=10.0 + slack(client.program)) == 0, client.transcript.format()
    assert 2.0 <= client.seconds_from(since) <= 3.25 + slack(client.program)


def expect_still_running(client, seconds):
    with pytest.raises(qvxsim.SimulatorTimeout):
        client.read_frame(timeout=seconds)
    assert client.is_running()


def test_handshake_then_silence_until_the_client_closes(client):
    assert client.read_raw(4 + len(READY_FOR_DATA)) == qvxsim.frame(READY_FOR_DATA)
    expect_still_running(client, 2.5)
    expect_clean_exit(client, client.close_writing())
    assert client.output_ends(timeout=1.0)


def test_length_above_the_limit_ends_the_program_without_eof(client):
    client.read_frame()
    client.send_length(qvxsim.MAXIMUM_MESSAGE_LENGTH + 1)
    expect_clean_exit(client, time.monotonic())


def test_empty_full_size_and_a_burst_of_messages_are_harmless(client):
    client.read_frame()
    client.send_frame(b"")
    head, tail = b"<ClientToUI><Filler>", b"</Filler></ClientToUI>"
    client.send_frame(head + b"x" * (qvxsim.MAXIMUM_MESSAGE_LENGTH - len(head) - len(tail)) + tail)
    client.send_raw(b"".join(qvxsim.frame(qvxsim.build_document(
        "ClientToUI", "RemoveRequest", [("ID", n), ("RemoveType", "Message")]))
        for n in range(5000)), note="5000 framed RemoveRequest documents")
    expect_still_running(client, 2.0)
    expect_clean_exit(client, client.close_writing())


@pytest.mark.parametrize("cut", [b"\x10\x00", qvxsim.LENGTH.pack(100) + b"<ClientToUI>"])
def test_frame_cut_off_at_end_of_file_ends_the_program(client, cut):
    client.read_frame()
    client.send_raw(cut)
    expect_clean_exit(client, client.close_writing())


def test_client_that_closes_its_reading_end_does_not_kill_the_program(client):
    # Usually before the handshake is written: that write fails with EPIPE, not SIGPIPE, and the
    # program ends on its own (a sanitizer build may take over a second to get there).
    client.close_reading()
    try:
        status = client.wait_exit(timeout=10.0)
    except qvxsim.SimulatorTimeout:  # the handshake got into the pipe first: end it by EOF
        return expect_clean_exit(client, client.close_writing())
    assert status == 0, f"ended by signal {-status}" if status < 0 else f"status {status}"
