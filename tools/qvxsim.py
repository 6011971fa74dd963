"""A stand-in for the client: starts qvxclientui on pipes and talks its framing.

Every frame is a 4-byte little-endian length followed by that many bytes of UTF-8 XML, in both
directions. The program speaks first with ReadyForData. This module starts the program with its
standard input, output and error on pipes (standard error kept apart, so a test can demand that
it stays empty), sends framed documents or raw bytes, reads framed replies with time-outs, waits
for the exit with a time-out and keeps a readable transcript of both directions.

Standard library only, for Debian's /usr/bin/python3.
"""

import os
import select
import struct
import subprocess
import threading
import time
import xml.etree.ElementTree as ET

LENGTH = struct.Struct("<I")
MAXIMUM_MESSAGE_LENGTH = 2097152

TO_PROGRAM = "client->program"
FROM_PROGRAM = "program->client"


class SimulatorTimeout(Exception):
    """The program did not answer or end within the allowed time."""


class ProgramClosedOutput(Exception):
    """The program's standard output ended (before a whole frame, if partial is set)."""

    def __init__(self, partial=b""):
        super().__init__("end of file on the program's output"
                         + (f" after {len(partial)} bytes of a frame" if partial else ""))
        self.partial = partial


def frame(payload):
    """The wire form of one message."""
    if isinstance(payload, str):
        payload = payload.encode("utf-8")
    return LENGTH.pack(len(payload)) + payload


def build_document(root, message, fields=()):
    """A document holding one message element with text children, in the given order.

    fields is a sequence of (name, value) pairs; a value may be a str, a bool (written "true" or
    "false"), an int, None (an empty element) or a list of pairs for nested children.
    """
    root_element = ET.Element(root)
    _add_children(ET.SubElement(root_element, message), fields)
    return document_bytes(root_element)


def _add_children(parent, fields):
    for name, value in fields:
        child = ET.SubElement(parent, name)
        if isinstance(value, bool):
            child.text = "true" if value else "false"
        elif isinstance(value, (list, tuple)):
            _add_children(child, value)
        elif value is not None:
            child.text = str(value)


def document_bytes(element):
    """Serialises an element tree with an XML declaration, as UTF-8 bytes."""
    return ET.tostring(element, encoding="UTF-8", xml_declaration=True)


def parse_document(payload):
    """Parses one received message with Python's own XML parser."""
    return ET.fromstring(payload)


def message_fields(message_element):
    """The text of each direct child of a message element, by name (the last one wins)."""
    return {child.tag: (child.text or "") for child in message_element}


def describe(payload, limit=300):
    """A printable form of a payload: its text, cut short when long."""
    text = payload.decode("utf-8", errors="replace")
    if len(text) > limit:
        return text[:limit] + f"... ({len(payload)} bytes in all)"
    return text


class Transcript:
    """What passed in each direction, in order, with the time since the start."""

    def __init__(self):
        self.entries = []  # (seconds, direction, length, payload or note)
        self._start = time.monotonic()

    def add(self, direction, length, content):
        self.entries.append((time.monotonic() - self._start, direction, length, content))

    def format(self):
        lines = []
        for seconds, direction, length, content in self.entries:
            shown = describe(content) if isinstance(content, bytes) else content
            size = "" if length is None else f" [{length} bytes]"
            lines.append(f"{seconds:8.3f}s {direction}{size}: {shown}")
        return "\n".join(lines)


class Client:
    """One run of the program with the simulator as its client.

    Use as a context manager, or call start() and finish(); finish() kills the program only if it
    is still running, and only that one process.
    """

    def __init__(self, program, args=(), env=None):
        self.program = program
        self.args = list(args)
        self.env = env
        self.process = None
        self.transcript = Transcript()
        self.closed_writing_at = None
        self.exited_at = None
        self._output = bytearray()
        self._output_ended = False
        self._stderr = bytearray()
        self._stderr_thread = None

    # Starting and ending ---------------------------------------------------------------------

    def start(self):
        self.process = subprocess.Popen(
            [self.program] + self.args,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            bufsize=0, close_fds=True, env=self.env)
        # Drained all along so that a chatty program cannot block on a full pipe.
        self._stderr_thread = threading.Thread(target=self._drain_stderr, daemon=True)
        self._stderr_thread.start()
        self.transcript.add("start", None, f"{self.program} (pid {self.process.pid})")
        return self

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.finish()
        return False

    def finish(self):
        """Ends the run: kills the program if it still runs, closes every pipe."""
        if self.process is None:
            return
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
            self.transcript.add("killed", None, "the simulator ended the program")
        for stream in (self.process.stdin, self.process.stdout):
            if stream is not None and not stream.closed:
                stream.close()
        if self._stderr_thread is not None:
            self._stderr_thread.join(timeout=5)

    def _drain_stderr(self):
        fd = self.process.stderr.fileno()
        while True:
            chunk = os.read(fd, 65536)
            if not chunk:
                break
            self._stderr.extend(chunk)
        self.process.stderr.close()

    def stderr_bytes(self):
        """What the program wrote to standard error; final once it has exited."""
        if self.process is not None and self.process.poll() is not None and self._stderr_thread:
            self._stderr_thread.join(timeout=5)
        return bytes(self._stderr)

    # Sending ---------------------------------------------------------------------------------

    def send_raw(self, data, note=None):
        """Writes bytes as they are: a partial frame, a bare length prefix, several frames."""
        view = memoryview(data)
        while view:
            written = os.write(self.process.stdin.fileno(), view)
            view = view[written:]
        self.transcript.add(TO_PROGRAM, None, note or f"raw {len(data)} bytes")

    def send_length(self, length):
        """Writes only a length prefix, which may announce more than will ever follow."""
        self.send_raw(LENGTH.pack(length), note=f"length prefix {length}")

    def send_frame(self, payload):
        """Writes one framed message (bytes or str)."""
        if isinstance(payload, str):
            payload = payload.encode("utf-8")
        data = frame(payload)
        view = memoryview(data)
        while view:
            written = os.write(self.process.stdin.fileno(), view)
            view = view[written:]
        self.transcript.add(TO_PROGRAM, len(payload), payload)

    def send_document(self, document):
        """Frames a document: bytes, str or an ElementTree element (given a declaration)."""
        if isinstance(document, ET.Element):
            document = document_bytes(document)
        self.send_frame(document)

    def close_writing(self):
        """Closes the client's writing end; the program sees end of file. Returns the time."""
        self.process.stdin.close()
        self.closed_writing_at = time.monotonic()
        self.transcript.add(TO_PROGRAM, None, "closed (end of file)")
        return self.closed_writing_at

    def close_reading(self):
        """Closes the client's reading end; the program's next write fails."""
        self.process.stdout.close()
        self.transcript.add(FROM_PROGRAM, None, "reading end closed by the client")

    # Receiving -------------------------------------------------------------------------------

    def _fill(self, wanted, deadline):
        """Reads until the buffer holds wanted bytes; False on end of file."""
        fd = self.process.stdout.fileno()
        while len(self._output) < wanted:
            if self._output_ended:
                return False
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise SimulatorTimeout(f"no reply within the time-out ({len(self._output)} of "
                                       f"{wanted} bytes arrived)")
            ready, _, _ = select.select([fd], [], [], remaining)
            if not ready:
                continue
            chunk = os.read(fd, 1 << 20)
            if not chunk:
                self._output_ended = True
                self.transcript.add(FROM_PROGRAM, None, "end of file")
                return False
            self._output.extend(chunk)
        return True

    def read_frame(self, timeout=5.0):
        """The payload of the next frame from the program.

        Raises SimulatorTimeout when it does not arrive in time and ProgramClosedOutput when the
        program's output ends first.
        """
        deadline = time.monotonic() + timeout
        if not self._fill(LENGTH.size, deadline):
            raise ProgramClosedOutput(bytes(self._output))
        (length,) = LENGTH.unpack_from(self._output)
        if not self._fill(LENGTH.size + length, deadline):
            raise ProgramClosedOutput(bytes(self._output))
        payload = bytes(self._output[LENGTH.size:LENGTH.size + length])
        del self._output[:LENGTH.size + length]
        self.transcript.add(FROM_PROGRAM, length, payload)
        return payload

    def read_document(self, timeout=5.0):
        """The next frame, parsed: the root element."""
        return parse_document(self.read_frame(timeout))

    def read_raw(self, count, timeout=5.0):
        """Exactly count bytes of the program's output, framing ignored."""
        deadline = time.monotonic() + timeout
        if not self._fill(count, deadline):
            raise ProgramClosedOutput(bytes(self._output))
        data = bytes(self._output[:count])
        del self._output[:count]
        return data

    def output_ends(self, timeout=5.0):
        """True when the program's output reaches end of file within the time-out with nothing
        further in it; False when more bytes arrive instead."""
        deadline = time.monotonic() + timeout
        try:
            return not self._fill(len(self._output) + 1, deadline) and not self._output
        except SimulatorTimeout:
            return False

    # Exit ------------------------------------------------------------------------------------

    def wait_exit(self, timeout=10.0):
        """The exit status; raises SimulatorTimeout if the program still runs after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            status = self.process.poll()
            if status is not None:
                if self.exited_at is None:
                    self.exited_at = time.monotonic()
                    self.transcript.add("exit", None, f"status {status}")
                return status
            if time.monotonic() > deadline:
                raise SimulatorTimeout(f"the program still runs after {timeout} s")
            time.sleep(0.005)

    def is_running(self):
        return self.process is not None and self.process.poll() is None

    def seconds_from(self, event_time):
        """How long after event_time (a time.monotonic value) the program was seen to exit."""
        if self.exited_at is None:
            raise ValueError("the program has not been seen to exit")
        return self.exited_at - event_time
