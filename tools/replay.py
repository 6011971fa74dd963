"""Replay: one session of a tap's transcript played again from the client's side against the
program, and the program's answers compared with the recorded ones.

A user's recorded session thus becomes a bug report a developer can run. The client's frames go
out as recorded, except that the points in time they carry are moved by as much as the replay is
later than the recording (a deadline two hours ahead stays two hours ahead). The user's clicks are
not in a transcript: an answer that only a click brings (a request taken or cancelled from the
dialog, a snooze) is asked of the person at the display, or clicked by the replay with auto.

Answers are compared as messages, parsed with Python's own XML parser: kind, fields and order.
Points in time in answers are compared relative to the moment each answer came, within
TIME_TOLERANCE; the program's process id is not compared.
"""

import base64
import binascii
import dataclasses
import datetime
import difflib
import re
import time
import xml.etree.ElementTree as ET

import qvxsim
import scenario
from chaos import SNOOZE_MINUTES
import xsession
import xwidgets

HEADER = re.compile(r"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{6}Z) (\d+) (.*)")
FRAME = re.compile(r"(client|program) -> (program|client) frame (\d+) bytes (xml|binary|empty)")
EXITED = re.compile(r"program exited with status (\d+)")
KILLED = re.compile(r"program killed by signal (\d+).*")
# What the tap relayed but could not record whole; the client's side is sent as it was.
OVERSIZED = re.compile(r"client -> program oversized frame (\d+) bytes.*")
CUT = re.compile(r"client -> program partial (?:length prefix|frame (?:\d+) of (\d+) bytes).*")
UNRECORDED = re.compile(r"(?:client|program) -> (?:program|client) "
                        r"(?:oversized frame|partial|relay failed).*")
# Each answer comes later than the recording by a replay's own delays; a snooze's time also
# moves by the second it is rounded to.
TIME_TOLERANCE = 10.0
TIME_ELEMENTS = ("Deadline", "StartTime", "EndTime", "RemindTime")
_CLIENT_TIME = re.compile(rb"<(" + b"|".join(name.encode() for name in TIME_ELEMENTS)
                          + rb")>([^<]*)</\1>")
NOT_COMPARED = frozenset(("ClientUIPid",))
COMPARED_AS_TIME = frozenset(("TimeObject",))
# How long --fast waits for an answer the recording has before it goes on without it.
ANSWER_WAIT = 5.0
ACTIONS_WINDOW = "form.takeActions"
CONFIRMATION_TITLE = "Confirmation Required"


class TranscriptError(Exception):
    """The file is not a transcript a replay can read."""


@dataclasses.dataclass
class Entry:
    time: datetime.datetime
    tap: int
    event: str
    lines: dict


@dataclasses.dataclass
class Event:
    """One thing of the recorded session: kind is "send", "raw" (bytes sent as they are, not a
    frame), "answer", "close", "exit" (status negative for a signal, as Popen gives it), or
    "gap" (what the tap could not record of the program's side)."""
    kind: str
    offset: float  # seconds after the program started
    payload: bytes = b""
    at: datetime.datetime = None
    status: int = None


def read_entries(path):
    """The transcript's entries in file order; TranscriptError when it cannot be read."""
    try:
        with open(path, encoding="utf-8") as file:
            text = file.read()
    except (OSError, UnicodeError) as error:
        raise TranscriptError(f"{path}: {error}") from None
    entries = []
    # Not splitlines(): that also breaks at U+2028 and the like, which a frame's text may hold.
    for number, line in enumerate(text.split("\n"), 1):
        match = HEADER.fullmatch(line)
        if match:
            when = datetime.datetime.strptime(match.group(1), "%Y-%m-%dT%H:%M:%S.%fZ")
            entries.append(Entry(when.replace(tzinfo=datetime.timezone.utc),
                                 int(match.group(2)), match.group(3), {}))
        elif line.startswith("  ") and entries:
            word, _, rest = line[2:].partition(" ")
            entries[-1].lines.setdefault(word, []).append(rest)
        elif line:
            raise TranscriptError(f"{path}:{number}: neither an entry nor a line of one")
    return entries


def sessions(entries):
    """Each session's entries, in the order the sessions started: a session is what one tap
    wrote from its "program started" on."""
    found, open_by_tap = [], {}
    for entry in entries:
        if entry.event.startswith("program started"):
            open_by_tap[entry.tap] = []
            found.append(open_by_tap[entry.tap])
        if entry.tap in open_by_tap:
            open_by_tap[entry.tap].append(entry)
    return found


def session_events(entries):
    """The session's frames, the client's end of input and the program's exit, as Events."""
    start = entries[0].time
    events = []
    for entry in entries:
        offset = (entry.time - start).total_seconds()
        match = FRAME.fullmatch(entry.event)
        if match:
            size = int(match.group(3))
            try:
                payload = base64.b64decode(entry.lines["base64"][0], validate=True) if size else b""
            except (KeyError, binascii.Error) as error:
                raise TranscriptError(f"frame at {entry.time}: no readable base64 ({error})") \
                    from None
            if len(payload) != size:
                raise TranscriptError(f"frame at {entry.time}: {len(payload)} bytes, not {size}")
            kind = "send" if match.group(1) == "client" else "answer"
            events.append(Event(kind, offset, payload, entry.time))
        elif entry.event == "client -> program end of input":
            events.append(Event("close", offset, at=entry.time))
        elif (exited := EXITED.fullmatch(entry.event)):
            events.append(Event("exit", offset, at=entry.time, status=int(exited.group(1))))
        elif (killed := KILLED.fullmatch(entry.event)):
            events.append(Event("exit", offset, at=entry.time, status=-int(killed.group(1))))
        elif (oversized := OVERSIZED.fullmatch(entry.event)):
            # The length alone: the program gives up on the link at it, as it did then.
            length = int(oversized.group(1)).to_bytes(4, "big")
            events.append(Event("raw", offset, length, entry.time))
        elif (cut := CUT.fullmatch(entry.event)):
            recorded = b"".join(base64.b64decode(line) for line in entry.lines.get("base64", []))
            prefix = int(cut.group(1)).to_bytes(4, "big") if cut.group(1) else b""
            events.append(Event("raw", offset, prefix + recorded, entry.time))
        elif UNRECORDED.fullmatch(entry.event):
            events.append(Event("gap", offset, entry.event.encode(), entry.time))
    return events


def load(path, number=1):
    """The events of the transcript's session number (1 for the first); TranscriptError."""
    found = sessions(read_entries(path))
    if not found:
        raise TranscriptError(f"{path}: no \"program started\" entry")
    if not 1 <= number <= len(found):
        raise TranscriptError(f"{path}: {len(found)} session(s), no session {number}")
    return session_events(found[number - 1])


def moved_times(payload, shift):
    """A client's frame with every point in time moved by shift; other bytes stay as they are,
    and a frame that is not XML or a time that is not one stays whole."""
    try:
        ET.fromstring(payload)
    except ET.ParseError:
        return payload

    def move(match):
        try:
            when = qvxsim.parse_mail_date_time(match.group(2).decode("utf-8"))
        except (ValueError, UnicodeError):
            return match.group(0)
        text = qvxsim.mail_date_time(when + shift).encode("ascii")
        return b"<%s>%s</%s>" % (match.group(1), text, match.group(1))
    return _CLIENT_TIME.sub(move, payload)


# Answers as messages ----------------------------------------------------------------------------

@dataclasses.dataclass
class Answer:
    """One answer of the program: its message, or its bytes when it is not XML."""
    payload: bytes
    at: datetime.datetime
    kind: str = None
    fields: dict = None

    def __post_init__(self):
        try:
            root = ET.fromstring(self.payload)
        except ET.ParseError:
            return
        message = root[0] if len(root) else root
        self.kind = f"{root.tag}/{message.tag}" if len(root) != 1 else message.tag
        self.fields = qvxsim.message_fields(message) if len(root) else {}

    def key(self):
        """What must be equal for two answers to be the same message (times aside)."""
        if self.kind is None:
            return ("bytes", self.payload)
        return (self.kind, tuple(sorted((name, value) for name, value in self.fields.items()
                                        if name not in NOT_COMPARED | COMPARED_AS_TIME)))

    def time_fields(self):
        """Each point-in-time field as seconds after the answer came."""
        found = {}
        for name in COMPARED_AS_TIME & set(self.fields or ()):
            try:
                when = qvxsim.parse_mail_date_time(self.fields[name])
                found[name] = (when - self.at).total_seconds()
            except ValueError:
                found[name] = self.fields[name]
        return found

    def describe(self):
        if self.kind is None:
            return f"a frame that is not XML ({qvxsim.describe(self.payload, 60)!r})"
        return " ".join([self.kind] + [f"{name}={scenario.shown(value)}"
                                       for name, value in self.fields.items()])


def _field_differences(received, recorded):
    lines = []
    names = list(recorded.fields) + [n for n in received.fields if n not in recorded.fields]
    for name in names:
        if name in NOT_COMPARED or name in COMPARED_AS_TIME:
            continue
        mine, theirs = received.fields.get(name), recorded.fields.get(name)
        if mine != theirs:
            lines.append(f"{name} is {_value(mine)}, the recording has {_value(theirs)}")
    return lines


def _value(text):
    return "missing" if text is None else scenario.shown(text)


def _time_differences(received, recorded):
    lines = []
    mine, theirs = received.time_fields(), recorded.time_fields()
    for name in theirs:
        a, b = mine.get(name), theirs[name]
        if isinstance(a, float) and isinstance(b, float):
            if abs(a - b) > TIME_TOLERANCE:
                lines.append(f"{name} is {a:+.0f} s from its coming, the recording has {b:+.0f} s")
        elif a != b:
            lines.append(f"{name} is {_value(a)}, the recording has {_value(b)}")
    return lines


def compare(recorded, received):
    """The differences between the recorded and the received answers, as readable lines."""
    differences = []
    matcher = difflib.SequenceMatcher(None, [a.key() for a in recorded],
                                      [a.key() for a in received], autojunk=False)
    missing, extra = [], []
    for tag, first, last, mine_first, mine_last in matcher.get_opcodes():
        theirs, mine = recorded[first:last], received[mine_first:mine_last]
        if tag == "equal":
            for offset, (a, b) in enumerate(zip(mine, theirs)):
                for line in _time_differences(a, b):
                    differences.append(f"answer {mine_first + offset + 1} ({a.kind}): {line}")
            continue
        pairs = 0
        if tag == "replace":
            # Answers of the same kind in the same place are one message with other fields.
            while (pairs < min(len(theirs), len(mine)) and theirs[pairs].kind is not None
                   and theirs[pairs].kind == mine[pairs].kind):
                number = mine_first + pairs + 1
                for line in _field_differences(mine[pairs], theirs[pairs]) + \
                        _time_differences(mine[pairs], theirs[pairs]):
                    differences.append(f"answer {number} ({mine[pairs].kind}): {line}")
                pairs += 1
        missing += [(first + i + 1, a) for i, a in enumerate(theirs[pairs:], pairs)]
        extra += [(mine_first + i + 1, a) for i, a in enumerate(mine[pairs:], pairs)]
    for number, answer in missing:
        moved = next((item for item in extra if item[1].key() == answer.key()), None)
        if moved is not None:
            extra.remove(moved)
            differences.append(f"order: {answer.describe()} came as answer {moved[0]}, the "
                               f"recording has it as answer {number}")
        else:
            differences.append(f"missing: the recording's answer {number}, {answer.describe()}, "
                               "did not come")
    for number, answer in extra:
        differences.append(f"unexpected: answer {number}, {answer.describe()}, is not in the "
                           "recording")
    return differences


# What a recorded answer asks of the user --------------------------------------------------------

def _text_of(document, name):
    element = document.find(".//" + name)
    return None if element is None else (element.text or "")


class Requests:
    """The action requests the client has sent, in the order the program lists them, with what
    tells a forced answer from a clicked one."""

    def __init__(self):
        self.listed = []  # IDs, first sent first
        self.forced_deadline = {}  # ID: the recorded deadline of a ForceRun request
        self.titles = {}

    def sent(self, payload):
        try:
            root = ET.fromstring(payload)
        except ET.ParseError:
            return
        for message in root:
            identifier = _text_of(message, "ID")
            if message.tag == "ActionRequest" and identifier is not None:
                if identifier not in self.listed:
                    self.listed.append(identifier)
                self.titles[identifier] = _text_of(message, "Title") or ""
                deadline = _text_of(message, "Deadline")
                self.forced_deadline.pop(identifier, None)
                if _text_of(message, "ForceRun") == "true" and deadline:
                    try:
                        self.forced_deadline[identifier] = qvxsim.parse_mail_date_time(deadline)
                    except ValueError:
                        pass
            elif message.tag == "RemoveRequest" and identifier in self.listed:
                self.listed.remove(identifier)

    def answered(self, answer):
        if answer.kind == "ActionTaken" and answer.fields.get("ID") in self.listed:
            self.listed.remove(answer.fields["ID"])

    def any_deadline(self):
        return bool(self.forced_deadline)


def needed_click(answer, requests):
    """What a user clicked for a recorded answer: ("take"|"cancel", ID), ("snooze", minutes)
    or None for an answer the program sends by itself."""
    if answer.kind == "ActionTaken" and answer.fields.get("Originator") == "ClientUI":
        identifier = answer.fields.get("ID")
        deadline = requests.forced_deadline.get(identifier)
        if deadline is not None and deadline <= answer.at:
            return None  # a forced request whose deadline passed: the program takes it
        return ("cancel" if answer.fields.get("IsCancel") == "true" else "take", identifier)
    if answer.kind in ("RemindTime", "RemindInterval") and \
            answer.fields.get("Originator", "ClientUI") == "ClientUI":
        return ("snooze", None)
    return None


def snooze_minutes(answer):
    try:
        return qvxsim.parse_xml_duration(answer.fields.get("TimeInterval", "")) // 60000000
    except ValueError:
        return None


class Replayer:
    """Plays a session's events with a scenario.Player's program and clicks; fast: each frame
    goes out once the answers recorded before it came (or ANSWER_WAIT passed), not at its
    recorded moment. auto: the replay clicks; otherwise it asks the person at the display."""

    def __init__(self, events, player, out, fast=False, auto=False):
        self.events, self.player, self.out = events, player, out
        self.fast, self.auto = fast, auto
        self.received = []
        self.recorded = []
        self.requests = Requests()
        self.pending = []  # clicks whose request's line is not there yet
        self.notes = []
        self.exit_status = None

    def run(self):
        """Plays the events and returns the differences, as lines."""
        begun = time.monotonic()
        for self.position, event in enumerate(self.events):
            if not self.fast:
                self._read_until(begun + event.offset)
            if event.kind == "send":
                self._wait_for_answers(len(self.recorded))
                shift = datetime.datetime.now(datetime.timezone.utc) - event.at
                self.player.client.send_frame(moved_times(event.payload, shift))
                self.requests.sent(event.payload)
                self._say(f"→ {Answer(event.payload, event.at).describe()}")
                self._retry_pending()
            elif event.kind == "answer":
                answer = Answer(event.payload, event.at)
                click = needed_click(answer, self.requests)
                self.recorded.append(answer)
                if click is not None and not (click[0] == "snooze" and self._follows_snooze()):
                    self._wait_for_answers(len(self.recorded) - 1)
                    self.pending.append((click, answer))
                    self._retry_pending()
            elif event.kind == "raw":
                self._wait_for_answers(len(self.recorded))
                self.player.client.send_raw(event.payload)
                self._say(f"→ {len(event.payload)} bytes that are not a whole frame")
            elif event.kind == "gap":
                self.notes.append(f"not compared: the recording has \"{event.payload.decode()}\"")
            elif event.kind == "close":
                self._wait_for_answers(len(self.recorded))
                self.player.client.close_writing()
                self._say("→ the link closes")
            elif event.kind == "exit":
                self._finish(event.status)
        for click, answer in self.pending:
            self.notes.append(f"not clicked: {answer.describe()} needs a click on request "
                              f"{click[1]}'s line, which the action list does not hold")
        differences = compare(self.recorded, self.received)
        return self.notes + differences

    def _follows_snooze(self):
        # One click on Snooze brings RemindTime and RemindInterval.
        return len(self.recorded) >= 2 and self.recorded[-2].kind in ("RemindTime",
                                                                      "RemindInterval")

    def _say(self, text):
        print(f"  {text}", file=self.out, flush=True)

    def _read(self, timeout):
        try:
            payload = self.player.client.read_frame(timeout=timeout)
        except (qvxsim.SimulatorTimeout, qvxsim.ProgramClosedOutput):
            return False
        answer = Answer(payload, datetime.datetime.now(datetime.timezone.utc))
        self.received.append(answer)
        self.requests.answered(answer)
        self._say(f"← {answer.describe()}")
        return True

    def _read_until(self, moment):
        while (left := moment - time.monotonic()) > 0:
            if not self._read(left):
                time.sleep(min(left, 0.01))

    def _wait_for_answers(self, count, wait=ANSWER_WAIT):
        deadline = time.monotonic() + (wait if self.fast else 0.05)
        while len(self.received) < count and time.monotonic() < deadline:
            self._read(deadline - time.monotonic())
        while self._read(0.01):
            pass

    def _finish(self, recorded_status):
        try:
            self.exit_status = self.player.client.wait_exit(15.0)
        except qvxsim.SimulatorTimeout:
            self.notes.append("the program did not exit; the replay ended it")
            return
        while self._read(0.01):
            pass
        if self.exit_status != recorded_status:
            self.notes.append(f"exit status {self.exit_status}, the recording has "
                              f"{recorded_status}")

    # Clicks ------------------------------------------------------------------------------

    def _retry_pending(self):
        for item in list(self.pending):
            click, answer = item
            if click[0] in ("take", "cancel") and click[1] not in self.requests.listed:
                continue
            self.pending.remove(item)
            before = len(self.received)
            if self.auto:
                self._click(click, answer)
            else:
                self._say(f"your turn: {_instruction(click, self.requests, answer)}")
            self._wait_for_answers(before + 1, ANSWER_WAIT if self.auto
                                   else scenario.INTERACTIVE_TIMEOUT)

    def _click(self, click, answer):
        try:
            title = self._actions_title()
            if click[0] == "snooze":
                self._snooze(title, answer)
                return
            row = self.requests.listed.index(click[1]) + 1
            self._step({"click": "form.viewport.", "row": row, "in": title})
            # The program ignores a second press at the same spot within the multi-click time.
            time.sleep(0.25)
            button = "form.takeActions" if click[0] == "take" else "form.cancelAction"
            self._step({"click": button, "in": title})
            self._confirm()
        except (scenario.StepFailed, scenario.ClickCovered, xsession.XSessionError,
                xwidgets.EditresError, KeyError) as error:
            self.notes.append(f"could not click for {answer.describe()}: {error}")

    def _step(self, step):
        self.player.run_step(step)

    def _actions_title(self):
        """The action request dialog's title; the hidden window opens it when it is closed."""
        session = self.player.session
        for attempt in range(2):
            deadline = time.monotonic() + 3.0
            while time.monotonic() < deadline:
                for window in session.find_windows("."):
                    tree = xwidgets.WidgetTree.fetch(session.x, window)
                    try:
                        tree.find(ACTIONS_WINDOW)
                        return session.title(window)
                    except KeyError:
                        pass
                    finally:
                        tree.close()
                time.sleep(0.1)
            if attempt == 0:
                self._step({"hidden": "open"})
        raise scenario.StepFailed("no action request dialog")

    def _confirm(self):
        """Accepts a confirmation, if one opens before the answer comes."""
        before = len(self.received)
        deadline = time.monotonic() + 2.0
        while time.monotonic() < deadline and len(self.received) == before:
            if self.player.session.find_windows("^" + re.escape(CONFIRMATION_TITLE) + "$"):
                time.sleep(0.25)
                self._step({"click": "form.ok", "in": CONFIRMATION_TITLE})
                return
            self._read(0.1)

    def _snooze(self, title, answer):
        later = (Answer(e.payload, e.at) for e in self.events[self.position:] if e.kind == "answer")
        interval = next((a for a in later if a.kind == "RemindInterval"), None)
        minutes = snooze_minutes(interval) if interval else None
        choices = ((-15, -5) if self.requests.any_deadline() else ()) + SNOOZE_MINUTES
        if minutes in choices:
            self._step({"click": "form.snoozeViewport.", "row": choices.index(minutes) + 1,
                        "in": title})
            time.sleep(0.25)
        self._step({"click": "snoozeButton", "in": title})


def _instruction(click, requests, answer):
    if click[0] == "snooze":
        return "pick the snooze time in the action request dialog and click its snooze button"
    button = "Take Action" if click[0] == "take" else "Cancel Action"
    return (f"select request {click[1]} (“{requests.titles.get(click[1], '')}”) in the action "
            f"list and click {button}, accepting a confirmation (the recording's answer: "
            f"{answer.describe()})")
