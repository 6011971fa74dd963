"""A stand-in for the client: starts qvxclientui on pipes and talks its framing.

Every frame is a 4-byte length in the machine's own byte order followed by that many bytes of
UTF-8 XML, in both directions. The program speaks first with ReadyForData. This module starts the
program with its standard input, output and error on pipes (standard error kept apart, so a test
can demand that it stays empty), sends framed documents or raw bytes, reads framed replies with
time-outs, waits for the exit with a time-out and keeps a readable transcript of both directions.

Documents are written in the program's own dialect: an element without content is a start tag
followed by its end tag, and a single space separates attributes.

It also speaks the client's side of the message vocabulary: builders for every message the
client sends (fields in their usual order, repeatable, with any value replaced by malformed text
on request), the mail-header date-time and XML duration text forms, and strict parsers that turn
each message the program sends into a dataclass and reject anything off its exact shape.

Standard library only, for Debian's /usr/bin/python3.
"""

import base64
import dataclasses
import datetime
import os
import re
import select
import struct
import subprocess
import threading
import time
import typing
import xml.etree.ElementTree as ET

# The program reads and writes the prefix in its own byte order, and so does the client beside it.
LENGTH = struct.Struct("=I")
MAXIMUM_MESSAGE_LENGTH = 2097152
DECLARATION = b'<?xml version="1.0" encoding="UTF-8"?>'

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




def _escape(text, quote=False):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace('"', "&quot;") if quote else text


def _element_text(element):
    attributes = "".join(f' {name}="{_escape(value, quote=True)}"'
                         for name, value in element.attrib.items())
    inner = _escape(element.text or "") + "".join(
        _element_text(child) + _escape(child.tail or "") for child in element)
    return f"<{element.tag}{attributes}>{inner}</{element.tag}>"


def document_bytes(element):
    """Serialises an element tree with an XML declaration, as UTF-8 bytes. Not ET.tostring:
    that writes an element without content in the short form, which the client never sends."""
    return DECLARATION + _element_text(element).encode("utf-8")


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

    def __init__(self, program, args=(), env=None, prefix=()):
        """prefix: a command the program runs under, such as ("setarch", "-R"); it must exec
        the program, so that the process the simulator ends is the program itself."""
        self.program = program
        self.args = list(args)
        self.env = env
        self.prefix = list(prefix)
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
            self.prefix + [self.program] + self.args,
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

    def send_messages(self, *messages, root="ClientToUI"):
        """Frames one document holding the messages (see client_document)."""
        self.send_frame(client_document(*messages, root=root))

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

    def read_message(self, timeout=5.0):
        """The next frame as the dataclass of its message (see parse_outgoing)."""
        return parse_outgoing(self.read_frame(timeout))

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


# Text forms of times and intervals ----------------------------------------------------------

MICROSECONDS_PER_SECOND = 1_000_000
_EPOCH = datetime.datetime(1970, 1, 1)
_DAY_NAMES = ("Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun")  # datetime.weekday() order
_MONTH_NAMES = ("Jan", "Feb", "Mar", "Apr", "May", "Jun",
                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")


def epoch_microseconds(when):
    """Microseconds since 1970-01-01T00:00:00 UTC of an aware datetime."""
    if when.utcoffset() is None:
        raise ValueError("a point in time needs a UTC offset; naive datetimes are ambiguous")
    delta = when.replace(tzinfo=None) - when.utcoffset() - _EPOCH
    return (delta.days * 86400 + delta.seconds) * MICROSECONDS_PER_SECOND + delta.microseconds


def mail_date_time(when, offset_seconds=None):
    """The mail-header form, "Tue, 05 Mar 2024 07:08:09 +0100".

    when is an aware datetime (written at its own offset unless offset_seconds is given) or an
    int of microseconds since the epoch (written at offset_seconds, default 0). Sub-second parts
    are dropped toward the past.
    """
    if isinstance(when, datetime.datetime):
        if offset_seconds is None:
            if when.utcoffset() is None:
                raise ValueError("a point in time needs a UTC offset; naive datetimes are ambiguous")
            offset_seconds = int(when.utcoffset().total_seconds())
        when = epoch_microseconds(when)
    elif offset_seconds is None:
        offset_seconds = 0
    local_seconds = when // MICROSECONDS_PER_SECOND + offset_seconds
    wall = _EPOCH + datetime.timedelta(seconds=local_seconds)
    sign = "+" if offset_seconds >= 0 else "-"
    minutes = abs(offset_seconds) // 60
    return (f"{_DAY_NAMES[wall.weekday()]}, {wall.day:02d} {_MONTH_NAMES[wall.month - 1]} "
            f"{wall.year:04d} {wall.hour:02d}:{wall.minute:02d}:{wall.second:02d} "
            f"{sign}{minutes // 60:02d}{minutes % 60:02d}")


_MAIL_DATE_TIME = re.compile(
    r"(?P<weekday>[A-Z][a-z]{2}), (?P<day>[0-9]{2}) (?P<month>[A-Z][a-z]{2}) "
    r"(?P<year>[0-9]{4}) (?P<hour>[0-9]{2}):(?P<minute>[0-9]{2}):(?P<second>[0-9]{2}) "
    r"(?P<sign>[+-])(?P<zone_hours>[0-9]{2})(?P<zone_minutes>[0-9]{2})")


def parse_mail_date_time(text):
    """An aware datetime from exactly the form mail_date_time writes (day name, two-digit day,
    four-digit year, seconds, numeric zone). ValueError for anything else, a date that does not
    exist or a day name that does not match the date."""
    match = _MAIL_DATE_TIME.fullmatch(text)
    if match is None or match["month"] not in _MONTH_NAMES:
        raise ValueError(f"not a mail-header date-time: {text!r}")
    zone_minutes = int(match["zone_hours"]) * 60 + int(match["zone_minutes"])
    if int(match["zone_minutes"]) > 59:
        raise ValueError(f"zone minutes out of range: {text!r}")
    offset = datetime.timedelta(minutes=-zone_minutes if match["sign"] == "-" else zone_minutes)
    when = datetime.datetime(int(match["year"]), _MONTH_NAMES.index(match["month"]) + 1,
                             int(match["day"]), int(match["hour"]), int(match["minute"]),
                             int(match["second"]), tzinfo=datetime.timezone(offset))
    if _DAY_NAMES[when.weekday()] != match["weekday"]:
        raise ValueError(f"day name does not match the date: {text!r}")
    return when


def _interval_microseconds(interval):
    if isinstance(interval, datetime.timedelta):
        return ((interval.days * 86400 + interval.seconds) * MICROSECONDS_PER_SECOND
                + interval.microseconds)
    return int(interval)


def xml_duration(interval):
    """The duration form of a timedelta or an int of microseconds: "PT1H30M", "-P1DT1S", "PT0S".

    Days, then hours, minutes and seconds only where present; a fraction of a second is written
    as exactly six digits."""
    microseconds = _interval_microseconds(interval)
    if microseconds == 0:
        return "PT0S"
    text = "-P" if microseconds < 0 else "P"
    days, rest = divmod(abs(microseconds), 86400 * MICROSECONDS_PER_SECOND)
    if days:
        text += f"{days}D"
        if not rest:
            return text
    text += "T"
    hours, rest = divmod(rest, 3600 * MICROSECONDS_PER_SECOND)
    minutes, rest = divmod(rest, 60 * MICROSECONDS_PER_SECOND)
    seconds, fraction = divmod(rest, MICROSECONDS_PER_SECOND)
    if hours:
        text += f"{hours}H"
    if minutes:
        text += f"{minutes}M"
    if rest:
        text += f"{seconds}.{fraction:06d}S" if fraction else f"{seconds}S"
    return text


_XML_DURATION = re.compile(
    r"(?P<negative>-)?P(?:(?P<days>[0-9]+)D)?"
    r"(?P<time>T(?:(?P<hours>[0-9]+)H)?(?:(?P<minutes>[0-9]+)M)?"
    r"(?:(?P<seconds>[0-9]+)(?:\.(?P<fraction>[0-9]+))?S)?)?")
_DURATION_NUMBER_LIMIT = 0xFFFFFFFF


def parse_xml_duration(text):
    """Microseconds from a duration text: days and a time part of hours, minutes and seconds
    with at most six fraction digits, each number within 32 bits. ValueError otherwise."""
    match = _XML_DURATION.fullmatch(text)
    if match is None:
        raise ValueError(f"not an XML duration: {text!r}")
    time_part = match["time"]
    if (time_part == "T" or (time_part is None and match["days"] is None)):
        raise ValueError(f"duration without a value: {text!r}")
    fraction = match["fraction"] or ""
    if len(fraction) > 6:
        raise ValueError(f"more than microsecond precision: {text!r}")
    numbers = [int(match[name] or 0) for name in ("days", "hours", "minutes", "seconds")]
    if max(numbers + [int(fraction or 0)]) > _DURATION_NUMBER_LIMIT:
        raise ValueError(f"duration number beyond 32 bits: {text!r}")
    days, hours, minutes, seconds = numbers
    total = (((days * 24 + hours) * 60 + minutes) * 60 + seconds) * MICROSECONDS_PER_SECOND
    total += int(fraction.ljust(6, "0")) if fraction else 0
    return -total if match["negative"] else total


# Building the client's messages ---------------------------------------------------------------

class Raw(str):
    """Text put into a document exactly as given, unescaped: markup, CDATA sections, entity
    references, broken tags."""


@dataclasses.dataclass
class Message:
    """One message element: its name and its fields as (name, value) pairs in document order.

    A value is a str (escaped), Raw (verbatim), bool ("true"/"false"), int (decimal), an aware
    datetime (mail-header form), a timedelta (duration form), bytes (Base64), None (an empty
    element) or a list of pairs (nested children). A pair may repeat a name.
    """
    name: str
    fields: list = dataclasses.field(default_factory=list)

    def xml(self):
        return _element_xml(self.name, self.fields)


def value_text(value):
    """The element text a field value is written as, escaped unless it is Raw."""
    if isinstance(value, Raw):
        return str(value)
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, datetime.datetime):
        return mail_date_time(value)
    if isinstance(value, datetime.timedelta):
        return xml_duration(value)
    if isinstance(value, (bytes, bytearray)):
        return base64.b64encode(bytes(value)).decode("ascii")
    if isinstance(value, str):
        return _escape(value)
    raise TypeError(f"no element text for a {type(value).__name__}")


def _element_xml(name, value):
    if value is None:
        return f"<{name}></{name}>"
    if isinstance(value, Message):
        return f"<{name}>{value.xml()}</{name}>"
    if isinstance(value, (list, tuple)):
        inner = "".join(_element_xml(child, child_value) for child, child_value in value)
        return f"<{name}>{inner}</{name}>"
    return f"<{name}>{value_text(value)}</{name}>"


def client_document(*messages, root="ClientToUI", declaration=True):
    """One document holding the messages in order, as UTF-8 bytes. A message may also be Raw
    text, placed between the others as it is."""
    head = DECLARATION if declaration else b""
    body = "".join(m if isinstance(m, Raw) else m.xml() for m in messages)
    return head + f"<{root}>{body}</{root}>".encode("utf-8")


ACTION_REQUEST_FIELDS = (
    "ID", "Title", "ShortDescription", "Deadline", "PreActionMessage", "Preview",
    "SourceActionTitle", "MetaData", "Cancellable", "Shutdown", "Restart", "IncludedCommand",
    "ForceRun", "RequestSave", "UseCannedStrings")
MESSAGE_REQUEST_FIELDS = ("ID", "Title", "Message", "ActionState", "Timeout",
                          "IsCompletionMessage")
REMOVE_REQUEST_FIELDS = ("ID", "RemoveType")
REMOVE_TYPES = ("Action", "Offer", "Message", "All")
SUPPORT_FILE_FIELDS = ("FileName", "SubFolder", "Content")
UI_SETTINGS_KEYS = (
    "RemindInterval", "RemindTime", "HistoryMode", "MaxHistoryAge", "TechHistoryMode",
    "MaxTechHistoryAge", "BalloonMode", "TrayMode", "HasMainDialog", "AllowSnooze",
    "AlwaysTopmost", "DisplaySingleActionSummary", "UseLocale", "PersistRunningMessage",
    "TopmostRunningMessage", "IdleThreshold", "UseActivityTracking", "ActionRunningTray",
    "InitialTabID", "HideProgressTab", "MainDialogMinWidth", "MainDialogMinHeight",
    "TorvaneApp", "QSPv2Mode", "QSPv3Enable")
QUIET_MODE_START_FIELDS = ("StartTime", "EndTime")


def _ordered_fields(kind, known, given, extra):
    """The given keyword fields in the order of known, then the extra pairs as they come."""
    unknown = [name for name in given if name not in known]
    if unknown:
        raise TypeError(f"{kind} has no field {', '.join(unknown)} (use extra= for stray ones)")
    return [(name, given[name]) for name in known if name in given] + list(extra)


def action_request(extra=(), **fields):
    """ActionRequest with the named fields (ID=7, Title="...", Deadline=datetime, ...)."""
    return Message("ActionRequest",
                   _ordered_fields("ActionRequest", ACTION_REQUEST_FIELDS, fields, extra))


def message_request(extra=(), **fields):
    return Message("MessageRequest",
                   _ordered_fields("MessageRequest", MESSAGE_REQUEST_FIELDS, fields, extra))


def remove_request(extra=(), **fields):
    return Message("RemoveRequest",
                   _ordered_fields("RemoveRequest", REMOVE_REQUEST_FIELDS, fields, extra))


def support_file(extra=(), **fields):
    """The children of one SupportFiles element; Content given as bytes is Base64-encoded."""
    return _ordered_fields("SupportFiles", SUPPORT_FILE_FIELDS, fields, extra)


def ui_settings(extra=(), **keys):
    """The children of InitialUISettings, in the order the program reads them."""
    return _ordered_fields("InitialUISettings", UI_SETTINGS_KEYS, keys, extra)


def initialization_info(BaseDirectory=None, SupportFiles=(), InitialUISettings=None, extra=()):
    """InitializationInfo: each entry of SupportFiles (from support_file) becomes one SupportFiles
    element; InitialUISettings (from ui_settings) is left out when None."""
    fields = []
    if BaseDirectory is not None:
        fields.append(("BaseDirectory", BaseDirectory))
    fields.extend(("SupportFiles", entry) for entry in SupportFiles)
    if InitialUISettings is not None:
        fields.append(("InitialUISettings", InitialUISettings))
    return Message("InitializationInfo", fields + list(extra))


def quiet_mode_start(extra=(), **fields):
    return Message("QuietModeStart",
                   _ordered_fields("QuietModeStart", QUIET_MODE_START_FIELDS, fields, extra))


def quiet_mode_end(extra=()):
    return Message("QuietModeEnd", list(extra))


def action_running_topmost(extra=(), **fields):
    return Message("ActionRunningTopmost",
                   _ordered_fields("ActionRunningTopmost", ("Enabled",), fields, extra))


# Reading the program's messages ---------------------------------------------------------------

class ProtocolViolation(Exception):
    """A message from the program that is not exactly of the shape its kind requires."""


@dataclasses.dataclass(frozen=True)
class ReadyForData:
    protocol_version_min: int
    protocol_version_max: int
    new_protocol_version_min: int
    new_protocol_version_max: int
    client_ui_pid: int


@dataclasses.dataclass(frozen=True)
class ClientUIErrorMessage:
    debug_string: str
    error_code: int


@dataclasses.dataclass(frozen=True)
class ActionTaken:
    is_cancel: bool
    is_offer: bool
    id: int
    originator: typing.Optional[str]


@dataclasses.dataclass(frozen=True)
class RemindInterval:
    time_interval: int  # microseconds
    originator: typing.Optional[str]


@dataclasses.dataclass(frozen=True)
class RemindTime:
    time_object: datetime.datetime  # always at UTC
    originator: typing.Optional[str]


_CANONICAL_NUMBER = re.compile(r"0|[1-9][0-9]*")


def _read_number(bits):
    def read(text):
        if not _CANONICAL_NUMBER.fullmatch(text):
            raise ValueError(f"not a decimal number without leading zeros: {text!r}")
        value = int(text)
        if value >= 1 << bits:
            raise ValueError(f"{text} does not fit {bits} bits")
        return value
    return read


def _read_boolean(text):
    if text not in ("true", "false"):
        raise ValueError(f"booleans are written true or false, not {text!r}")
    return text == "true"


def _read_interval(text):
    value = parse_xml_duration(text)
    if xml_duration(value) != text:
        raise ValueError(f"duration not in its written form: {text!r} (expected "
                         f"{xml_duration(value)!r})")
    return value


def _read_time(text):
    value = parse_mail_date_time(text)
    if not text.endswith(" +0000"):
        raise ValueError(f"times are sent at offset +0000: {text!r}")
    return value


# Per message: its root and its children in order as (element, reader, optional).
_OUTGOING = {
    "ReadyForData": ("ClientToUI", ReadyForData, (
        ("ProtocolVersionMin", _read_number(32), False),
        ("ProtocolVersionMax", _read_number(32), False),
        ("NewProtocolVersionMin", _read_number(32), False),
        ("NewProtocolVersionMax", _read_number(32), False),
        ("ClientUIPid", _read_number(64), False))),
    "ClientUIErrorMessage": ("ClientToUI", ClientUIErrorMessage, (
        ("DebugString", str, False),
        ("ErrorCode", _read_number(32), False))),
    "ActionTaken": ("UIToClient", ActionTaken, (
        ("IsCancel", _read_boolean, False),
        ("IsOffer", _read_boolean, False),
        ("ID", _read_number(64), False),
        ("Originator", str, True))),
    "RemindInterval": ("UIToClient", RemindInterval, (
        ("TimeInterval", _read_interval, False),
        ("Originator", str, True))),
    "RemindTime": ("UIToClient", RemindTime, (
        ("TimeObject", _read_time, False),
        ("Originator", str, True))),
}


def _is_blank(text):
    return text is None or text.strip(" \t\r\n") == ""


def parse_outgoing(payload):
    """The dataclass of one message from the program; ProtocolViolation unless the document has
    the declaration, no final line break, the message's own root holding just that message, and
    exactly its children in order (an optional one may be left out) with well-formed values."""
    if not payload.startswith(DECLARATION):
        raise ProtocolViolation("the document does not begin with the XML declaration")
    if payload.endswith((b"\n", b"\r")):
        raise ProtocolViolation("a line break follows the root's end tag")
    try:
        root = parse_document(payload)
    except ET.ParseError as error:
        raise ProtocolViolation(f"not well-formed: {error}") from None
    if len(root) != 1 or not _is_blank(root.text) or not _is_blank(root[0].tail):
        raise ProtocolViolation("the root must hold exactly one message element")
    message = root[0]
    if message.tag not in _OUTGOING:
        raise ProtocolViolation(f"unknown message {message.tag}")
    root_name, record, layout = _OUTGOING[message.tag]
    if root.tag != root_name:
        raise ProtocolViolation(f"{message.tag} comes in {root_name}, not {root.tag}")
    if root.attrib or message.attrib or not _is_blank(message.text):
        raise ProtocolViolation(f"{message.tag} carries attributes or stray text")
    children = list(message)
    values = []
    for name, read, optional in layout:
        if children and children[0].tag == name:
            child = children.pop(0)
            if child.attrib or len(child) or not _is_blank(child.tail):
                raise ProtocolViolation(f"{message.tag}/{name} must be plain text")
            try:
                values.append(read(child.text or ""))
            except ValueError as error:
                raise ProtocolViolation(f"{message.tag}/{name}: {error}") from None
        elif optional:
            values.append(None)
        else:
            found = children[0].tag if children else "the end"
            raise ProtocolViolation(f"{message.tag} needs {name} where {found} stands")
    if children:
        raise ProtocolViolation(f"{message.tag} has an unexpected {children[0].tag}")
    return record(*values)
