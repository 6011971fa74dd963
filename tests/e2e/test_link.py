"""The program as the client meets it: the handshake, the framing limits and the ways the link
ends. Until InitializationInfo arrives the program sends nothing after its handshake."""

import time

import pytest

import qvxsim

READY_FOR_DATA = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    "<ClientToUI>\n"
    "\t<ReadyForData>\n"
    "\t\t<ProtocolVersionMin>1</ProtocolVersionMin>\n"
    "\t\t<ProtocolVersionMax>1</ProtocolVersionMax>\n"
    "\t\t<NewProtocolVersionMin>1</NewProtocolVersionMin>\n"
    "\t\t<NewProtocolVersionMax>1</NewProtocolVersionMax>\n"
    "\t\t<ClientUIPid>0</ClientUIPid>\n"
    "\t</ReadyForData>\n"
    "</ClientToUI>"
).encode("utf-8")

# The link is noticed within one start-up poll (1 s), then the exit pauses 2 s. The small margin
# above 3 s absorbs scheduling on a loaded machine and the simulator's 5 ms exit polling.
EARLIEST_EXIT = 2.0
LATEST_EXIT = 3.25


def expect_clean_exit(client, since, timeout=10.0):
    status = client.wait_exit(timeout=timeout)
    elapsed = client.seconds_from(since)
    assert status == 0, client.transcript.format()
    assert EARLIEST_EXIT <= elapsed <= LATEST_EXIT, f"exited {elapsed:.3f} s after the event"


def expect_still_running(client, seconds):
    """The program stays up, sending nothing, for the given time."""
    with pytest.raises(qvxsim.SimulatorTimeout):
        client.read_frame(timeout=seconds)
    assert client.is_running()


def test_first_bytes_are_the_framed_ready_for_data(client):
    assert client.read_raw(4 + len(READY_FOR_DATA)) == qvxsim.frame(READY_FOR_DATA)
    # Nothing follows, and the program waits, for as long as the client says nothing.
    expect_still_running(client, 2.5)


def test_client_closing_its_writing_end_ends_the_program(client):
    client.read_frame()
    expect_clean_exit(client, client.close_writing())
    assert client.output_ends(timeout=1.0)


def test_length_above_the_limit_ends_the_program_without_eof(client):
    client.read_frame()
    client.send_length(qvxsim.MAXIMUM_MESSAGE_LENGTH + 1)
    sent_at = time.monotonic()
    # The link closes on the length alone; the client's writing end stays open.
    expect_clean_exit(client, sent_at)


def test_message_of_exactly_the_limit_is_accepted(client):
    client.read_frame()
    head, tail = b"<ClientToUI><Filler>", b"</Filler></ClientToUI>"
    body = head + b"x" * (qvxsim.MAXIMUM_MESSAGE_LENGTH - len(head) - len(tail)) + tail
    assert len(body) == qvxsim.MAXIMUM_MESSAGE_LENGTH
    client.send_frame(body)
    expect_still_running(client, 2.0)
    expect_clean_exit(client, client.close_writing())


def test_zero_length_message_is_harmless(client):
    client.read_frame()
    client.send_frame(b"")
    client.send_document(qvxsim.build_document("ClientToUI", "QuietModeEnd"))
    expect_still_running(client, 1.5)
    expect_clean_exit(client, client.close_writing())


@pytest.mark.parametrize("cut", ["inside the length", "inside the bytes"])
def test_frame_cut_off_at_end_of_file_ends_the_program(client, cut):
    client.read_frame()
    if cut == "inside the length":
        client.send_raw(b"\x10\x00")
    else:
        client.send_raw(qvxsim.LENGTH.pack(100) + b"<ClientToUI>")
    expect_clean_exit(client, client.close_writing())


def test_client_that_closes_its_reading_end_does_not_kill_the_program(client):
    # Closed at once, usually before the handshake is written: that write then fails with EPIPE
    # instead of raising SIGPIPE, the link closes and the program ends on its own.
    client.close_reading()
    try:
        # Generous: a sanitizer build can take more than a second to reach that first write, and
        # the exit then pauses 2 s; ending it early by EOF would make the timing check fail.
        status = client.wait_exit(timeout=10.0)
    except qvxsim.SimulatorTimeout:
        # The handshake got into the pipe first; nothing else is written, so end it by EOF.
        since = client.close_writing()
        expect_clean_exit(client, since)
        return
    assert status == 0, f"ended by signal {-status}" if status < 0 else f"status {status}"


def test_many_messages_in_one_burst(client):
    client.read_frame()
    burst = b"".join(
        qvxsim.frame(qvxsim.build_document("ClientToUI", "RemoveRequest",
                                           [("ID", n), ("RemoveType", "Message")]))
        for n in range(5000))
    client.send_raw(burst, note="5000 framed RemoveRequest documents")
    expect_still_running(client, 1.5)
    expect_clean_exit(client, client.close_writing())
