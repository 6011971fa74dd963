"""Scenarios: one session between the client and qvxclientui written down as a JSON file of
steps, played by the simulator against the built program on a real X display.

An administrator writes one to preview branding and translations, an agent's developer to script
an integration run; `clientsim play FILE` plays any of them and `make demo` plays
tools/scenarios/demo.json. The README documents the format; in short, a file holds

    {"title": "...", "locale": "de_DE.UTF-8", "steps": [{"send": "ActionRequest", ...}, ...]}

and each step has one key naming its kind (see STEP_KINDS) and prints one transcript line.

Besides the standard library it needs the X rig: xsession (the display, windows, screenshots)
and xwidgets (widgets by name through editres), with python3-xlib, xdotool and imagemagick.
"""

import contextlib
import datetime
import json
import os
import re
import tempfile
import time

import Xlib.X
import Xlib.error

import memcheck
import qvxsim
import xsession
import xwidgets

STEP_KINDS = ("send", "frames", "expect", "window", "window_gone", "click", "key", "pause",
              "screenshot", "hidden", "close", "exit")
# Points in time may be written relative to the start of the play, so a scenario stays valid.
TIME_FIELDS = frozenset(("Deadline", "StartTime", "EndTime", "RemindTime"))
_RELATIVE_TIME = re.compile(r"([+-])([0-9]+)([smhd])")
_UNIT_SECONDS = {"s": 1, "m": 60, "h": 3600, "d": 86400}
# The program's per-language resources, found by the toolkit as an installed program finds its
# app-defaults: by the full locale name, then by its language.
_APP_DEFAULTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "share",
                             "app-defaults")
_RESOURCE_PATH = ":".join(os.path.join(_APP_DEFAULTS, part, "%N") for part in ("%L", "%l"))
_BUILDERS = {
    "ActionRequest": qvxsim.action_request,
    "MessageRequest": qvxsim.message_request,
    "RemoveRequest": qvxsim.remove_request,
    "QuietModeStart": qvxsim.quiet_mode_start,
    "QuietModeEnd": lambda: qvxsim.quiet_mode_end(),
    "ActionRunningTopmost": qvxsim.action_running_topmost,
}
# A person playing the clicks needs longer than any program would.
INTERACTIVE_TIMEOUT = 600.0


class ScenarioError(Exception):
    """The file is not a scenario this player can play."""


class ClickCovered(Exception):
    """A click meant to land anyway found another window over its widget, and was not made."""


class StepFailed(Exception):
    """A step did not get what it expected in time."""


def load(path):
    """The scenario in the file, checked for shape; ScenarioError otherwise."""
    try:
        with open(path, encoding="utf-8") as file:
            scenario = json.load(file)
    except (OSError, ValueError) as error:
        raise ScenarioError(f"{path}: {error}") from None
    if not isinstance(scenario, dict) or not isinstance(scenario.get("steps"), list):
        raise ScenarioError(f"{path}: a scenario is an object with a list of steps")
    unknown = set(scenario) - {"title", "locale", "steps"}
    if unknown:
        raise ScenarioError(f"{path}: unknown keys {sorted(unknown)}")
    for number, step in enumerate(scenario["steps"], 1):
        kinds = [kind for kind in STEP_KINDS if kind in step] if isinstance(step, dict) else []
        if len(kinds) != 1:
            raise ScenarioError(f"{path}: step {number} needs exactly one of {STEP_KINDS}")
        if kinds[0] in ("click", "key") and "in" not in step:
            raise ScenarioError(f"{path}: step {number} needs the title of its window, \"in\"")
    scenario["folder"] = os.path.dirname(os.path.abspath(path))
    return scenario


def point_in_time(text, start):
    """A time field's value: "now", "+2h", "-30s" (s, m, h, d) from start; any other text is
    sent as it is written, a mail-header date-time or a malformed one on purpose."""
    if text == "now":
        return start
    match = _RELATIVE_TIME.fullmatch(text)
    if match is None:
        return text
    sign, count, unit = match.groups()
    seconds = int(count) * _UNIT_SECONDS[unit]
    return start + datetime.timedelta(seconds=-seconds if sign == "-" else seconds)


def _values(fields, start):
    return {name: point_in_time(value, start) if name in TIME_FIELDS and isinstance(value, str)
            else value for name, value in fields.items()}


def _support_file(entry, folder):
    entry = dict(entry)
    if "File" in entry:
        with open(os.path.join(folder, entry.pop("File")), "rb") as file:
            content = file.read()
    else:
        content = entry.pop("Content", "").encode("utf-8")
    return qvxsim.support_file(Content=content, **entry)


def build_message(kind, fields, start, folder, scratch):
    """The message a send step describes; InitializationInfo reads its support files relative
    to the scenario's folder and gets a scratch BaseDirectory unless it names one."""
    try:
        if kind == "InitializationInfo":
            settings = fields.get("InitialUISettings")
            return qvxsim.initialization_info(
                BaseDirectory=fields.get("BaseDirectory", os.path.join(scratch, "ui")),
                SupportFiles=[_support_file(entry, folder)
                              for entry in fields.get("SupportFiles", ())],
                InitialUISettings=None if settings is None
                else qvxsim.ui_settings(**_values(settings, start)))
        if kind not in _BUILDERS:
            raise ScenarioError(f"no message {kind} to send; known: InitializationInfo, "
                                + ", ".join(_BUILDERS))
        return _BUILDERS[kind](**_values(fields, start))
    except (TypeError, OSError) as error:
        raise ScenarioError(f"{kind}: {error}") from None


def shown(value, limit=70):
    """A field value as the transcript shows it."""
    if isinstance(value, (list, tuple)):
        return "{" + " ".join(f"{name}={shown(item)}" for name, item in value) + "}"
    if isinstance(value, (bytes, bytearray)):
        return f"({len(value)} bytes)"
    if isinstance(value, (bool, int, datetime.datetime, datetime.timedelta)):
        return qvxsim.value_text(value)
    text = str(value)
    # Quoted only where a bare word would mislead: empty, spaced, escaped or cut short.
    if text and len(text) <= limit and re.fullmatch(r"[^\s\"\\]+", text):
        return text
    text = json.dumps(text, ensure_ascii=False)
    return text if len(text) <= limit else text[:limit - 4] + '..."'


def describe_message(message):
    return " ".join([message.name] + [f"{name}={shown(value)}" for name, value in message.fields])


def describe_received(payload):
    """A message from the program as kind and fields; the text itself when it is not XML."""
    try:
        root = qvxsim.parse_document(payload)
    except Exception:  # noqa: BLE001 - a transcript shows whatever came
        return qvxsim.describe(payload)
    return " ".join(f"{element.tag} " + " ".join(
        f"{name}={shown(text)}" for name, text in qvxsim.message_fields(element).items())
        for element in root)


def _kind(payload):
    """The name of the first message in a document from the program, None if it has none."""
    try:
        root = qvxsim.parse_document(payload)
    except Exception:  # noqa: BLE001 - not XML: no kind to match
        return None
    return root[0].tag if len(root) else None


def _wire_text(value):
    return qvxsim.value_text(value) if isinstance(value, (bool, int)) else str(value)


class Player:
    """Plays one scenario: the program runs on session's display (an xsession.XSession) and
    the transcript goes to out. pace: seconds between pointing at a widget and clicking it."""

    def __init__(self, scenario, program, session, out, output=None, pace=0.0,
                 interactive=False, raw=False, locale=None):
        self.scenario, self.program, self.session, self.out = scenario, program, session, out
        self.output, self.pace, self.interactive, self.raw = output, pace, interactive, raw
        self.locale = locale or scenario.get("locale")
        self.client = None
        self.inbox = []
        self.started = time.monotonic()
        self.start = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
        self.number = 0
        self.scratch = None

    @contextlib.contextmanager
    def running(self, memcheck_logs=None):
        """The program started on the session's display with a scratch folder, ended on leaving;
        steps may be run one by one with run_step meanwhile. With memcheck_logs, it runs under
        valgrind's memcheck, writing its logs there."""
        environment = {"LC_ALL": self.locale, "LANG": self.locale} if self.locale else {}
        environment["XUSERFILESEARCHPATH"] = os.environ.get("XUSERFILESEARCHPATH", _RESOURCE_PATH)
        prefix = (memcheck.prefix(memcheck_logs) if memcheck_logs
                  else list(xsession.NO_RANDOMISATION))
        with tempfile.TemporaryDirectory(prefix="qvxscenario-") as self.scratch, \
                qvxsim.Client(self.program, env=self.session.env(**environment),
                              prefix=prefix) as self.client:
            yield self

    def run_step(self, step):
        """Plays one step; StepFailed, ScenarioError and the X rig's errors pass through."""
        self.number += 1
        self._run(step)

    def play(self):
        """Plays every step in order; 0 when all passed and the program wrote nothing to
        standard error, 1 otherwise."""
        if self.scenario.get("title"):
            print(self.scenario["title"], file=self.out)
        with tempfile.TemporaryDirectory(prefix="qvxmemcheck-") as own_logs:
            logs = None
            if memcheck.enabled():
                logs = os.environ.get(memcheck.LOG_FOLDER_VARIABLE) or own_logs
            failed = self._play_steps(logs)
            errors = self.client.stderr_bytes()
            if errors:
                print("standard error:\n" + errors.decode("utf-8", errors="replace"),
                      file=self.out)
            found = memcheck.findings(logs) if logs else []
        if logs:
            errors_found = sum(count for count, _ in found)
            print(f"memcheck: the program ran under valgrind: {errors_found} errors", file=self.out)
            for _, text in found:
                print(text, file=self.out)
        return 1 if failed or errors or found else 0

    def _play_steps(self, memcheck_logs):
        """Runs the program and plays the steps; True when one failed."""
        failed = False
        with self.running(memcheck_logs):
            try:
                for self.number, step in enumerate(self.scenario["steps"], 1):
                    try:
                        self._run(step)
                    except ClickCovered:
                        pass  # as a user would not click a widget they cannot see
                    self._collect()
            except (StepFailed, ScenarioError, xsession.XSessionError, xwidgets.EditresError,
                    KeyError) as error:
                self._line(f"FAILED: {error}")
                failed = True
            if self.client.is_running() and memcheck_logs:
                # Ended by its link rather than killed, the program gets its leak check.
                memcheck.let_exit(self.client)
            if self.client.is_running():
                self._line("the program still runs: the simulator ends it")
        return failed

    def _line(self, text):
        print(f"{time.monotonic() - self.started:6.2f}s {self.number:>3}  {text}", file=self.out,
              flush=True)

    def _raw(self, payload):
        if self.raw:
            print("        " + payload.decode("utf-8", errors="replace"), file=self.out)

    def _run(self, step):
        kind = next(kind for kind in STEP_KINDS if kind in step)
        getattr(self, "_" + kind)(step)

    def _timeout(self, step, default):
        within = float(step.get("within", default))
        if memcheck.enabled():
            within += memcheck.SLACK_SECONDS
        return max(within, INTERACTIVE_TIMEOUT) if self.interactive else within

    # Messages ------------------------------------------------------------------------------

    def _send(self, step):
        message = build_message(step["send"], step.get("fields", {}), self.start,
                                self.scenario["folder"], self.scratch)
        document = qvxsim.client_document(message)
        self.client.send_frame(document)
        self._line("→ " + describe_message(message))
        self._raw(document)

    def _frames(self, step):
        """Sends each text as one frame, back to back, padded with blanks after the document
        to pad_to bytes when that is given (the largest frame the program accepts, for one);
        with announce, only a length prefix of that many bytes."""
        size = int(step.get("pad_to", 0))
        if "announce" in step:
            # A length the program refuses: it reads no further, so nothing follows it.
            self.client.send_length(int(step["announce"]))
            self._line(f"→ a length prefix of {step['announce']} bytes")
            return
        for text in step["frames"]:
            payload = text.encode("utf-8")
            self.client.send_frame(payload + b" " * max(0, size - len(payload)))
        count = len(step["frames"])
        self._line(f"→ {count} raw frame{'s' if count != 1 else ''}"
                   + (f" of {size} bytes" if size else ""))
        for text in step["frames"]:
            self._raw(text.encode("utf-8"))

    def _receive(self, timeout):
        payload = self.client.read_frame(timeout=timeout)
        self._line("← " + describe_received(payload))
        self._raw(payload)
        return payload

    def _collect(self):
        """Shows what the program sent meanwhile; an expect step may still take it."""
        while True:
            try:
                self.inbox.append(self._receive(timeout=0.01))
            except (qvxsim.SimulatorTimeout, qvxsim.ProgramClosedOutput):
                return

    def _expect(self, step):
        """Waits for the next message of the kind, showing any other kind as it passes; its
        fields must have the texts given and its document the exact outgoing shape."""
        kind, wanted = step["expect"], step.get("fields", {})
        deadline = time.monotonic() + self._timeout(step, 5.0)
        while True:
            if self.inbox:
                payload = self.inbox.pop(0)
            else:
                try:
                    payload = self._receive(max(0.0, deadline - time.monotonic()))
                except (qvxsim.SimulatorTimeout, qvxsim.ProgramClosedOutput) as error:
                    raise StepFailed(f"no {kind}: {error}") from None
            if _kind(payload) == kind:
                break
        try:
            qvxsim.parse_outgoing(payload)
        except qvxsim.ProtocolViolation as error:
            raise StepFailed(f"{kind} is malformed: {error}") from None
        fields = qvxsim.message_fields(qvxsim.parse_document(payload)[0])
        differing = {name: fields.get(name) for name, value in wanted.items()
                     if fields.get(name) != _wire_text(value)}
        if differing:
            raise StepFailed(f"{kind} has {differing}, expected {wanted}")
        self._line(f"  the awaited {kind}")

    def _close(self, step):
        self.client.close_writing()
        self._line("→ the link closes (end of file on the program's input)")

    def _exit(self, step):
        try:
            status = self.client.wait_exit(self._timeout(step, 10.0))
        except qvxsim.SimulatorTimeout as error:
            raise StepFailed(str(error)) from None
        after = ""
        if self.client.closed_writing_at is not None:
            after = f", {self.client.seconds_from(self.client.closed_writing_at):.2f} s after " \
                    "the link closed"
        self._line(f"the program exited with status {status}{after}")
        if status != step["exit"]:
            raise StepFailed(f"exit status {status}, expected {step['exit']}")

    # Windows ------------------------------------------------------------------------------

    def _window_id(self, title, timeout=5.0):
        return self.session.find_window("^" + re.escape(title) + "$", timeout)

    def _window(self, step):
        window = self._window_id(step["window"], self._timeout(step, 5.0))
        self._line(f"window “{step['window']}” is shown ({window:#x})")

    def _window_gone(self, step):
        title = step["window_gone"]
        deadline = time.monotonic() + self._timeout(step, 5.0)
        for window in self.session.find_windows("^" + re.escape(title) + "$"):
            self.session.wait_gone(window, max(0.0, deadline - time.monotonic()))
        self._line(f"window “{title}” is gone")

    def _click(self, step):
        title, path = step["in"], step["click"]
        # A dialog the program re-enables on its next timer tick may still be insensitive.
        deadline = time.monotonic() + self._timeout(step, 5.0)
        while (target := self._click_target(title, path, step.get("row"),
                                            step.get("anyway", False))) is None:
            if time.monotonic() >= deadline:
                raise StepFailed(f"{path} in “{title}” is insensitive")
            time.sleep(0.05)
        what, x, y = target
        if self.interactive:
            self._line(f"your turn: click {what} in “{title}”")
            return
        anyway = step.get("anyway", False)
        if anyway:
            # Another of the program's windows may cover this one where the click lands, and the
            # click would then answer that window: the target is brought to the top first, as a
            # user's click on its visible part would.
            self.session.xdotool("windowactivate", self._window_id(title), check=False)
            time.sleep(0.1)
        self.session.xdotool("mousemove", x, y)
        time.sleep(max(0.05, self.pace))
        # A window that opened meanwhile (a confirmation after a tick) may lie over the widget.
        if anyway and not self.session.on_top_at_pointer(self._window_id(title)):
            self._line(f"not clicked: {what} in “{title}” is covered")
            raise ClickCovered(f"{what} in “{title}” is covered")
        self.session.xdotool("click", 1)
        self._line(f"click {what} in “{title}”")

    def _click_target(self, title, path, row, anyway=False):
        """What the click names and where it lands, or None while the widget is insensitive
        (unless the click is meant to land anyway, as a user's may)."""
        tree = xwidgets.WidgetTree.fetch(self.session.x, self._window_id(title))
        try:
            node = tree.find(path)
            if not anyway and xwidgets.get_value(node, "sensitive") != "true":
                return None
            if row is None:
                what = f"“{_label(node)}” ({path})" if node.wclass == "Command" else path
                return (what,) + tuple(xwidgets.widget_center(node))
            return (f"row {row} of {path}",) + tuple(list_row_center(node, row))
        finally:
            tree.close()

    def _key(self, step):
        title = step["in"]
        if self.interactive:
            self._line(f"your turn: press {step['key']} in “{title}”")
            return
        time.sleep(self.pace)
        # A manager without EWMH takes no activation request; the focus is set directly there.
        focus = "windowactivate" if self.session.ewmh else "windowfocus"
        self.session.xdotool(focus, "--sync", self._window_id(title), "key", "--clearmodifiers",
                             step["key"])
        self._line(f"press {step['key']} in “{title}”")

    def _hidden(self, step):
        """Sends the hidden window a request ("open" asks for the action request dialog)."""
        window = self.session.find_unmapped_by_name("QVXClientUIHiddenWindow")
        self.session.send_client_message(window, step["hidden"].encode("ascii"))
        self._line(f"→ “{step['hidden']}” to the hidden window")

    def _pause(self, step):
        time.sleep(float(step["pause"]))
        self._line(f"pause {step['pause']} s")

    def _screenshot(self, step):
        if self.output is None:
            self._line(f"screenshot {step['screenshot']} skipped (no output folder)")
            return
        os.makedirs(self.output, exist_ok=True)
        path = os.path.join(self.output, step["screenshot"] + ".png")
        title = step.get("of")
        root = self.session.x.screen().root
        window = root.id if title is None else self._frame(self._window_id(title))
        self.session.screenshot(window, path)
        self._line(f"screenshot {path}" + (f" of “{title}”" if title else " of the screen"))

    def _frame(self, window):
        """The window manager's frame around a shell's window, so a picture has its title."""
        root = self.session.x.screen().root.id
        current = self.session.x.create_resource_object("window", window)
        while True:
            parent = current.query_tree().parent
            if parent.id == root:
                return current.id
            current = parent


def _label(node):
    """A button's label: editres hands over the locale's bytes, read here as UTF-8 where they
    are that."""
    label = xwidgets.get_value(node, "label")
    try:
        return label.encode("latin-1").decode("utf-8")
    except UnicodeError:
        return label


def list_row_center(node, row):
    """Root position of the middle of a List's row (1 for the first), in its first column.

    A List stretched to fill its viewport keeps its rows at the top, so the rows are found in
    its picture as the runs of pixel rows that differ from the background; should they not
    number as many as its items, the rows are taken to share its height, less the margins."""
    count = int(xwidgets.get_value(node, "numberStrings"))
    if not 1 <= row <= count:
        raise StepFailed(f"{node.path} has {count} rows, not a row {row}")
    x = node.tree.link.x
    window = x.create_resource_object("window", node.window)
    corner = x.screen().root.translate_coords(window, 0, 0)
    shape = window.get_geometry()
    # A long list's picture is large and its rows share its height evenly anyway.
    bands = _text_bands(window, shape.width, shape.height) if count <= 40 else []
    if len(bands) == count:
        middle = sum(bands[row - 1]) // 2
    else:
        margin = int(xwidgets.get_value(node, "internalHeight"))
        middle = int(margin + (row - 0.5) * (shape.height - 2 * margin) / count)
    return corner.x + min(shape.width // 2, 40), corner.y + middle


def _text_bands(window, width, height):
    """(first, last) pixel row of each run of rows that are not all background, taking the
    bottom right pixel as the background; none unless the image has 4 bytes a pixel, or when
    the list is not on the screen just then (the program unmaps it while it refills it)."""
    try:
        data = window.get_image(0, 0, width, height, Xlib.X.ZPixmap, 0xFFFFFFFF).data
    except Xlib.error.XError:
        return []
    if len(data) != 4 * width * height:
        return []
    blank = data[-4:] * width
    bands, top = [], None
    for y in range(height + 1):
        inked = y < height and data[4 * width * y:4 * width * (y + 1)] != blank
        if inked and top is None:
            top = y
        elif not inked and top is not None:
            bands.append((top, y - 1))
            top = None
    return bands
