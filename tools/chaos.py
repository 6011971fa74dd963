"""The chaos client: drives qvxclientui for a while with random interleavings of every message
the client sends (valid, malformed, with unknown elements, with texts the locale cannot hold,
duplicate IDs, bursts, empty and largest frames) and of clicks on any widget of any open window,
and checks after each step what chaosmodel.Model says the program may answer, that it still
runs (or ended as its design says it must), that it writes nothing to standard error, and that
its memory and descriptors stay flat.

Every step is a scenario step (tools/scenario.py) played by a Player, so a failing session is
written out as a scenario file that `clientsim play FILE` replays.
"""

import collections
import copy
import datetime
import json
import os
import random
import statistics
import re
import time

import Xlib.error

import chaosmodel
import qvxsim
import scenario
import xsession
import xwidgets

ACTIONS, CONFIRMATION = "Vantrel Action Requests", "Confirmation Required"
PREVIEW, NOTICE = "Action Script Preview", "Not Currently Available"
# After a step, a message has been applied and a click answered once the next tick has run.
SETTLE_SECONDS = 1.3
WARM_UP_SECONDS = 120.0
# Resident memory may grow this share per ten minutes after the warm-up.
GROWTH_LIMIT = 0.01
# What the toolkit keeps of each editres request it answers (see _sample).
EDITRES_KB_PER_REQUEST = 0.55
# Shorter spans after the warm-up are reported, not judged: a heap settles slowly.
JUDGED_SPAN_SECONDS = 300.0
SNOOZE_MINUTES = (1, 5, 10, 15, 30, 45, 60, 120, 240, 360, 480, 960, 1440, 2880, 4320, 5760,
                  7200)
UNHOLDABLE = ("Don\u2019t switch off", "Caf\u00e9 \u2013 r\u00e9sum\u00e9", "\u66f4\u65b0")
# Lines of a brand file that the format engine rejects, with the dialog that then cannot show
# its text; the others are harmless.
BROKEN_LINES = (
    ("There are {x} pending actions.", "Es gibt {x ausstehende Aktionen.", ACTIONS),
    ("in 2 hours", "in {hours} Stunden", ACTIONS),
    ("There is at least one action you must take now.", "Jetzt {jetzt}.", ACTIONS),
    ("You must take this action within {DeadlineText}.", "Bis {DeadlineText} {x}.", ACTIONS),
    ("Snooze", "Sp{", ACTIONS),
    ("OK", "O{K", "message"),
    ("Vantrel notification:", "Hinweis {title}:", "message"),
    ("Your administrator has disabled this feature between {start} and {end}.",
     "Gesperrt {start}.", None),
)
HARMLESS_LINES = ("# a comment line", "no tab on this line", "Cancel Action\tCancel Action",
                  "\tan empty key", "Take All Actions\tTake\tAll Actions")
FAILURE_DIALOGS = {"ActionRequestDialog": ACTIONS, "MessageDialog": "message"}


class Out:
    """Keeps the session's transcript, for a failure report and the file beside its steps:
    the steps alone do not say what the program answered, and a replay's timing differs."""

    def __init__(self):
        self.lines = []
        self.partial = ""

    def write(self, text):
        self.partial += text
        *done, self.partial = self.partial.split("\n")
        self.lines.extend(done)

    def flush(self):
        pass


class Totals:
    def __init__(self):
        self.counts = collections.Counter()
        self.faults = []


class ChaosSession:
    """One run of the program: its settings, the steps played, the model and the samples."""

    def __init__(self, chaos, number):
        self.chaos, self.rng, self.number = chaos, chaos.rng, number
        self.model = chaosmodel.Model()
        self.utf8 = self.rng.random() < 0.5
        self.broken = self._broken_lines()
        self.steps, self.samples = [], []
        self.peak_rss, self.editres_at_start = 0, xwidgets.EditresLink.requests_made
        self.serial = 0
        self.link_closed = self.ended = False
        self.last_send = self.last_removal = self.settle_until = 0.0
        self.last_confirm_event = 0.0
        self.snooze_choice = None  # (minutes, whether a request had a deadline) as clicked
        self.ended_by_fault = self.judging_resources = False
        self.error_dialog = None
        self.hidden_window = None
        self.out = Out()
        locale = "en_US.UTF-8" if self.utf8 else "C"
        self.player = scenario.Player({"title": "", "steps": [], "folder": os.getcwd()},
                                      chaos.program, chaos.session, self.out, locale=locale)
        self.epoch = self.player.start.timestamp()

    def _broken_lines(self):
        if self.rng.random() < 0.75:
            return []
        return self.rng.sample(BROKEN_LINES, self.rng.randint(1, 3))

    # Running ---------------------------------------------------------------------------------

    def run(self, until):
        with self.player.running():
            try:
                self._begin()
                while not self.ended and time.monotonic() < until:
                    try:
                        self._one_step()
                    except (Xlib.error.XError, xwidgets.EditresError):
                        # A window of the program went or changed while it was being read: the
                        # step is lost, not the session.
                        self.chaos.totals.counts["steps lost to a changing window"] += 1
                    self._check()
                if not self.ended:
                    self._finish()
            except (scenario.StepFailed, xsession.XSessionError, OSError) as error:
                if not self.ended:
                    self._check()
                if not self.ended:
                    self._fault(f"the simulator could not go on: {error}")
        self._report_resources()

    def _begin(self):
        payload = self.player.client.read_frame(timeout=10.0)
        if not payload.startswith(qvxsim.DECLARATION) or b"ReadyForData" not in payload:
            self._fault("no ReadyForData first")
        settings = {"RemindInterval": f"PT{self.rng.choice((0, 1, 5, 60, 90))}M",
                    "AllowSnooze": self.rng.random() < 0.9,
                    "PersistRunningMessage": self.rng.random() < 0.3,
                    "TopmostRunningMessage": self.rng.random() < 0.3}
        if self.utf8:
            settings["UseLocale"] = True
        fields = {"InitialUISettings": settings}
        if self.broken or self.rng.random() < 0.3:
            fields["SupportFiles"] = [{"FileName": "_brand.xlat", "Content": self._brand_file()}]
        self._send({"send": "InitializationInfo", "fields": fields})
        # The largest state a session reaches comes first, inside the warm-up: a heap keeps its
        # high-water mark, so later growth is judged against the same peak.
        self._largest_frame()
        self._burst()
        self._burst_removal(everything=True)

    def _brand_file(self):
        lines = [f"{key}\t{value}" for key, value, _ in self.broken]
        lines += self.rng.sample(HARMLESS_LINES, 2)
        self.rng.shuffle(lines)
        return self.rng.choice(("\n", "\r\n")).join(lines) + "\n"

    def _one_step(self):
        actions = ((self._click, 30), (self._tactic, 15), (self._action_request, 18),
                   (self._message_request, 7), (self._remove_request, 8), (self._quiet_mode, 4),
                   (self._malformed, 3), (self._unknown, 2), (self._topmost, 1),
                   (self._hidden_open, 2),
                   (self._largest_frame, 0.3), (self._burst, 0.25), (self._burst_removal, 1),
                   (self._end_link, 0.15))
        action = self.rng.choices([a for a, _ in actions], [w for _, w in actions])[0]
        action()
        pause = self.rng.choice((0.0, self.rng.uniform(0, 0.3), self.rng.uniform(0, 2.0)))
        if pause:
            self._play({"pause": round(pause, 2)})

    def _play(self, step):
        """Plays a step and takes in what the program answered meanwhile: an answer is judged
        at the moment it arrives, and a pause is spent listening."""
        self.steps.append(step)
        self.chaos.totals.counts["steps"] += 1
        if "pause" not in step:
            self.player.run_step(step)
            return self._read_answers(0.0)
        self.player.number += 1
        self.out.write(f"pause {step['pause']} s\n")
        self._read_answers(step["pause"])

    def _send(self, step, failing=False):
        """Plays a send or frames step; after one the program drops, and whenever a dialog's
        refresh may fail, waits until a tick has taken it alone, since a failing text drops
        the rest of its batch."""
        self._play(step)
        self.last_send = time.monotonic()
        self.chaos.totals.counts["messages sent"] += len(step.get("frames", [None]))
        if failing or self._fragile():
            self._drain()

    def _drain(self):
        self._play({"pause": SETTLE_SECONDS})
        self._ping()
        self._play({"pause": 1.1})

    def _ping(self):
        """Returns once the program's event loop answers: a long tick is over."""
        try:
            if self.hidden_window is None:
                self.hidden_window = self.chaos.session.find_unmapped_by_name(
                    "QVXClientUIHiddenWindow", timeout=0.5)
            xwidgets.WidgetTree.fetch(self.chaos.session.x, self.hidden_window, 30.0).close()
        except (xsession.XSessionError, xwidgets.EditresError):
            self.hidden_window = None

    def _fragile(self):
        """A refresh of the action request dialog may fail: a text it shows has a broken
        override, or a pending title the locale cannot hold."""
        return any(dialog == ACTIONS for _, _, dialog in self.broken) or any(
            not self._holdable(r.title + r.short) for r in self.model.pending)

    def _holdable(self, text):
        return self.utf8 or text.isascii()

    def _settled(self):
        now = time.monotonic()
        wall = time.time()
        forced_near = any(r.forced and r.deadline is not None and abs(r.deadline - wall) < 3
                          for r in self.model.pending)
        return (now - self.last_send > SETTLE_SECONDS and now > self.settle_until
                and not forced_near and not self._fragile())

    # Messages --------------------------------------------------------------------------------

    def _next_serial(self):
        self.serial += 1
        return self.serial

    def _text(self, plain):
        """A text for a dialog: now and then one the locale may not hold."""
        if self.rng.random() < 0.08:
            return f"{plain} {self.rng.choice(UNHOLDABLE)}"
        return plain

    def _relative(self, seconds):
        return f"{'+' if seconds >= 0 else '-'}{abs(int(seconds))}s"

    def _new_record(self, identifier=None):
        serial = self._next_serial()
        pending_ids = [r.id for r in self.model.pending]
        if identifier is None:
            duplicate = pending_ids and self.rng.random() < 0.3
            identifier = self.rng.choice(pending_ids) if duplicate else self.rng.randint(1, 60)
        record = chaosmodel.Record(serial, identifier, self._text(f"R{serial} update"))
        record.short = self._text(f"About R{serial}")
        return record

    def _action_request(self, extra_children=None, identifier=None, consent=False):
        """Sends one request; returns its record, or None when a removal went instead."""
        if len([r for r in self.model.pending if not r.title.endswith(" burst")]) >= 40:
            # Enough is pending; the state stays within what the warm-up reached.
            self._remove_request()
            return None
        record = self._new_record(identifier)
        fields = {"ID": record.id, "Title": record.title, "ShortDescription": record.short}
        if consent or self.rng.random() < 0.35:
            record.pam = self._text(f"Confirm R{record.serial}: save your files.")
            fields["PreActionMessage"] = record.pam
        if self.rng.random() < 0.3:
            fields["Preview"] = self._text(f"echo R{record.serial}\n" * self.rng.randint(1, 30))
            record.has_preview, record.short = True, record.short + fields["Preview"]
        self._deadline(record, fields)
        for name in ("Cancellable", "Restart", "Shutdown", "RequestSave"):
            if self.rng.random() < 0.3:
                fields[name] = self.rng.choice((True, False, "maybe", ""))
        # The program drops a request with a text it cannot show, and what came with it.
        shown = record.title + record.short + (record.pam or "")
        if extra_children is not None:
            if record.deadline is not None:
                # A raw frame is sent as written: its time must be absolute.
                fields["Deadline"] = datetime.datetime.fromtimestamp(record.deadline,
                                                                     datetime.timezone.utc)
            message = qvxsim.action_request(extra=extra_children, **fields)
            self._send({"frames": [qvxsim.client_document(message).decode("utf-8")]},
                       failing=not self._holdable(shown))
        else:
            self._send({"send": "ActionRequest", "fields": fields},
                       failing=not self._holdable(shown))
        if self._holdable(shown):
            self.model.arrive(record, time.time())
        return record

    def _deadline(self, record, fields):
        roll = self.rng.random()
        if roll < 0.15:
            offset, record.forced = self.rng.uniform(2, 20), True
            fields["ForceRun"] = True
        elif roll < 0.45:
            offset = self.rng.choice((-60, 90, 240, 900, 5400, 90000))
        else:
            return
        # Relative times count from the start of the session.
        since_start = int(time.time() - self.epoch + offset)
        fields["Deadline"] = self._relative(since_start)
        record.deadline = self.epoch + since_start

    def _message_request(self):
        serial = self._next_serial()
        identifier = self.rng.randint(1, 12)
        fields = {"ID": identifier, "Title": self._text(f"M{serial} running"),
                  "Message": self._text(f"Message {serial}")}
        if self.rng.random() < 0.4:
            fields["Timeout"] = f"PT{self.rng.randint(1, 20)}S"
        completion = self.rng.random() < 0.2
        if completion:
            fields["IsCompletionMessage"] = True
        self._send({"send": "MessageRequest", "fields": fields},
                   failing=not self._holdable(fields["Title"] + fields["Message"]))

    def _remove_request(self):
        pending = self.model.pending
        needing = [r for r in pending if r.pam is not None]
        if needing and self.rng.random() < 0.4:
            identifier = self.rng.choice(needing).id  # perhaps the one being confirmed
        elif pending and self.rng.random() < 0.8:
            identifier = self.rng.choice(pending).id
        else:
            identifier = self.rng.randint(1, 60)
        kind = self.rng.choice(("Action", "All", "Message", "Offer", None, "action"))
        fields = {"ID": identifier} if kind is None else {"ID": identifier, "RemoveType": kind}
        self._send({"send": "RemoveRequest", "fields": fields})
        if kind in ("Action", "All", None, "action"):
            self.model.remove(identifier, time.time())
            self.last_removal = time.monotonic()

    def _quiet_mode(self):
        # The model changes first: answers are read while a send waits for its tick, and a
        # forced run held by quiet mode is answered as soon as the program applies its end.
        if self.model.quiet_since is None:
            self.model.set_quiet(True, time.time())
            self._send({"send": "QuietModeStart",
                        "fields": {"StartTime": "-1m", "EndTime": "+1h"}})
        else:
            self.model.set_quiet(False, time.time())
            self._send({"send": "QuietModeEnd"})

    def _malformed(self):
        # A document need not close its elements: the one cut off is refused for its time.
        texts = ("", "<ClientToUI><ActionRequest><ID>5</ID><Deadline>yesterday</Deadline>",
                 "not XML at all",
                 "<ClientToUI><ActionRequest><ID>18446744073709551616</ID></ActionRequest>"
                 "</ClientToUI>",
                 "<ClientToUI><ActionRequest><ID>+5</ID></ActionRequest></ClientToUI>",
                 "<ClientToUI><ActionRequest><ID>9</ID><Deadline>Mon, 31 Feb 2024 25:00:00 "
                 "+0000</Deadline></ActionRequest></ClientToUI>",
                 "<ClientToUI><MessageRequest><ID>3</ID><Timeout>PT-5S</Timeout>"
                 "</MessageRequest></ClientToUI>")
        self._send({"frames": [self.rng.choice(texts)]}, failing=True)

    def _unknown(self):
        if self.rng.random() < 0.5:
            self._action_request(extra_children=[("Colour", "blue"), ("Priority", "99999")])
        else:
            self._send({"frames": ["<ClientToUI><Frobnicate><ID>1</ID></Frobnicate>"
                                   "<OfferRequest></OfferRequest></ClientToUI>"]})

    def _topmost(self):
        self._send({"send": "ActionRunningTopmost", "fields": {"Enabled": self.rng.random() < 0.5}})

    def _hidden_open(self):
        self._play({"hidden": "open"})

    def _largest_frame(self):
        record = self._new_record()
        message = qvxsim.action_request(ID=record.id, Title=record.title,
                                        ShortDescription=record.short)
        self._send({"frames": [qvxsim.client_document(message).decode("utf-8")],
                    "pad_to": qvxsim.MAXIMUM_MESSAGE_LENGTH})
        self.model.arrive(record, time.time())

    def _burst(self):
        # One burst pending at a time keeps the state, and so the memory it needs, bounded.
        if any(r.title.endswith(" burst") for r in self.model.pending):
            return self._burst_removal()
        if self._fragile() or len(self.model.pending) > 200:
            return
        records = [self._new_record(self.rng.randint(1000, 1400)) for _ in range(1000)]
        for record in records:
            record.title = record.short = f"R{record.serial} burst"
        self._send({"frames": [qvxsim.client_document(qvxsim.action_request(
            ID=r.id, Title=r.title, ShortDescription=r.short)).decode("utf-8") for r in records]})
        for record in records:
            self.model.arrive(record, time.time())
        self.settle_until = time.monotonic() + 20.0
        self._play({"pause": 5.0})

    def _burst_removal(self, everything=False):
        burst = [r for r in self.model.pending if r.title.endswith(" burst")]
        if len(burst) < 50:
            return
        count = len(burst) if everything else min(len(burst), self.rng.randint(50, 1000))
        chosen = self.rng.sample(burst, count)
        self._send({"frames": [qvxsim.client_document(qvxsim.remove_request(
            ID=r.id, RemoveType="Action")).decode("utf-8") for r in chosen]})
        for record in chosen:
            self.model.remove(record.id, time.time())
        self.last_removal = time.monotonic()
        self.settle_until = time.monotonic() + 10.0

    def _end_link(self):
        """Ends the session the client's way: closing the link, or a frame beyond 2 MiB."""
        if self.rng.random() < 0.7:
            self._play({"close": "link"})
        else:
            self._play({"frames": [], "announce": qvxsim.MAXIMUM_MESSAGE_LENGTH + 1})
        self.link_closed = True
        self._play({"exit": 0, "within": 10})
        self.ended = True

    # Clicks ----------------------------------------------------------------------------------

    def _windows(self):
        session = self.chaos.session
        found = []
        for window in session.find_windows("."):
            title = session._name(session.x.create_resource_object("window", window))
            if title:
                found.append((window, title))
        return found

    def _tactic(self):
        """A short run of steps that a user and a client often interleave: the situations
        where answers get mixed up are reached more often than by single random steps."""
        tactics = (
            (("form.viewport.",), ("takeActions", "cancelAction", "actionDetails")),
            (("form.snoozeViewport.",), self._action_request, ("snoozeButton",)),
            (("form.snoozeViewport.",), ("snoozeButton",)),
            (("snoozeButton",), self._action_request),
            (("takeAllActions",), ("ok", "cancel")),
            (("ok", "cancel"),),
            (self._duplicate_needing_consent, ("form.viewport.",), ("takeActions",)),
            (self._quiet_mode, ("ok",), ("takeAllActions", "takeActions")))
        for move in self.rng.choice(tactics):
            if callable(move):
                move()
            else:
                self._click(move)
            if self.ended:
                return
            if self.rng.random() < 0.5:
                self._play({"pause": round(self.rng.uniform(0, 1.5), 2)})

    def _duplicate_needing_consent(self):
        """A request, then another with its ID that needs a confirmation."""
        first = self._action_request()
        if first is not None:
            self._action_request(identifier=first.id, consent=True)

    def _click(self, names=None):
        """Clicks a random widget of a random window of the program, one named in names
        when given (a name or a path ending in "." for a list's rows)."""
        windows = self._windows()
        if not windows:
            return self._hidden_open() if self.model.pending else None
        window, title = self.rng.choice(windows)
        if names is not None:
            wanted = [w for w in windows if w[1] in (ACTIONS, CONFIRMATION, NOTICE, PREVIEW)]
            window, title = self.rng.choice(wanted or windows)
        if self.chaos.session.find_windows("^" + re.escape(title) + "$")[:1] != [window]:
            return None  # a twin title: the player would click the other one
        try:
            tree = xwidgets.WidgetTree.fetch(self.chaos.session.x, window, 10.0)
        except xwidgets.EditresError:
            return None  # gone meanwhile
        try:
            target = self._pick(tree, names)
            if target is None:
                return None
            node, row = target
            before = self._read_before(tree, title, node)
        except (xwidgets.EditresError, KeyError):
            return None
        finally:
            tree.close()
        step = {"click": node.path, "in": title, "anyway": True}
        if row is not None:
            step["row"] = row
        settled = self._settled()
        state = "settled" if settled else "moving"
        self.out.write(f"  before the click: {_shown(before)}, {state}\n")
        # The wish is noted first: the answer may come while the click is still being played. A
        # click that finds its widget covered is not made, and the wish goes with it.
        noted = copy.deepcopy(self.model)
        self._after_click(title, node, row, before, settled)
        try:
            self._play(step)
        except (scenario.ClickCovered, xsession.XSessionError, xwidgets.EditresError,
                Xlib.error.XError) as error:
            # Covered by a window that opened meanwhile, or gone or changed before the click (a
            # notice that QuietModeEnd closed): the click is not made, and the wish goes with it.
            self.model = noted
            self.steps.pop()
            covered = isinstance(error, scenario.ClickCovered)
            self.chaos.totals.counts["clicks not made on a covered widget" if covered else
                                     "clicks not made on a window gone or changed"] += 1
            return
        self.chaos.totals.counts["clicks"] += 1

    def _pick(self, tree, names=None):
        nodes = [n for n in tree.nodes if n.has_window and n.parent is not None
                 and n.wclass not in ("Form", "Core")]
        named = [n for n in nodes if names and (n.name in names or n.path in names)]
        nodes = named or nodes
        weights = [12 if n.wclass == "Command" else 5 if n.wclass == "List" else 1 for n in nodes]
        if not nodes:
            return None
        node = self.rng.choices(nodes, weights)[0]
        if node.wclass != "List":
            return node, None
        row = self._visible_row(node)
        return (node, row) if row is not None else None

    def _visible_row(self, node):
        """A row of the List that its viewport shows, or None: a click on a hidden row would
        land on whatever lies there."""
        count = int(xwidgets.get_value(node, "numberStrings"))
        if count == 0:
            return None
        x = node.tree.link.x
        window = x.create_resource_object("window", node.window)
        clip = window.query_tree().parent
        corner = x.screen().root.translate_coords(clip, 0, 0)
        height = clip.get_geometry().height
        # Rows share a long list's height evenly: start looking where the viewport shows it.
        below = corner.y - x.screen().root.translate_coords(window, 0, 0).y
        first = max(1, int(below * count / max(1, window.get_geometry().height)))
        rows = list(range(first, min(count, first + 12) + 1))
        for row in self.rng.sample(rows, min(len(rows), 4)):
            _, y = scenario.list_row_center(node, row)
            if corner.y + 2 <= y <= corner.y + height - 3:
                return row
        return None

    def _read_before(self, tree, title, node):
        """What the click's meaning depends on, read just before it."""
        before = {"sensitive": xwidgets.get_value(node, "sensitive") == "true"}
        if title == ACTIONS:
            before["selected"] = self.model.find_title(_label(tree.find("actiontitle")))
            before["snooze"] = _label(tree.find("snoozeButton"))
            before["alone"] = not any(self.chaos.session.find_windows(f"^{name}$")
                                      for name in (CONFIRMATION, PREVIEW, NOTICE))
        elif title == CONFIRMATION and node.name in ("ok", "cancel"):
            before["text"] = _text(tree.find("actionconfirmation"))
        return before

    def _after_click(self, title, node, row, before, settled):
        now = time.time()
        strong = settled and before["sensitive"]
        if title == ACTIONS:
            self._after_actions_click(node, row, before, settled, strong, now)
        elif title == CONFIRMATION and node.name == "ok":
            self.model.confirm(before["text"], now, self.model.taking_all())
            self.last_confirm_event = time.monotonic()
        elif title == CONFIRMATION and node.name == "cancel":
            if self.model.taking_all():
                self.model.end_take_all(now, completed=False)
            elif before["sensitive"]:
                self.model.refuse(before["text"])

    def _after_actions_click(self, node, row, before, settled, strong, now):
        record = before["selected"]
        if node.name == "takeAllActions":
            self.model.ask_take_all(now, strong and before["alone"])
            self.last_confirm_event = time.monotonic()
        elif node.name in ("takeActions", "cancelAction"):
            kind = "take" if node.name == "takeActions" else "cancel"
            self.model.ask(record, kind, now, strong)
        elif node.name == "snoozeButton":
            if before["snooze"] != "Close" or not strong:
                self._snooze_clicked(now, strong and before["snooze"] == "Snooze")
        elif node.path == "form.snoozeViewport.":
            self._snooze_row_clicked(row, strong and not self.broken)

    def _snooze_clicked(self, now, strong):
        if self.snooze_choice is not None and self.snooze_choice[1] != self.model.any_deadline():
            self.model.choose_snooze(None)
        self.model.ask_snooze(now, strong)
        self.snooze_choice = None

    def _snooze_row_clicked(self, row, strong):
        choices = ((-15, -5) if self.model.any_deadline() else ()) + SNOOZE_MINUTES
        minutes = choices[row - 1] if strong and row <= len(choices) else None
        self.model.choose_snooze(minutes)
        self.snooze_choice = None if minutes is None else (minutes, self.model.any_deadline())


    # Checks ----------------------------------------------------------------------------------

    def _check(self):
        self._read_answers()
        if self.ended:
            return
        errors = self.player.client.stderr_bytes()
        if errors:
            return self._fault("standard error: " + errors.decode("utf-8", "replace")[:500])
        if not self.player.client.is_running():
            return self._judge_exit()
        for fault in self.model.overdue(time.time()):
            return self._fault(fault)
        self._watch_take_all()
        self._sample()

    def _read_answers(self, seconds=0.05):
        """Judges each message that arrives within the given time."""
        client = self.player.client
        until = time.monotonic() + seconds
        while not self.ended:
            try:
                payload = client.read_frame(timeout=max(0.01, until - time.monotonic()))
            except qvxsim.SimulatorTimeout:
                return
            except qvxsim.ProgramClosedOutput:
                time.sleep(max(0.0, until - time.monotonic()))
                return
            self.out.write("← " + scenario.describe_received(payload) + "\n")
            try:
                message = qvxsim.parse_outgoing(payload)
            except qvxsim.ProtocolViolation as error:
                return self._fault(f"a malformed message: {error}")
            if isinstance(message, qvxsim.ClientUIErrorMessage):
                self.error_dialog = message.debug_string
                continue
            self.chaos.totals.counts["answers checked"] += 1
            for fault in self.model.answer(message, time.time()):
                return self._fault(fault)

    def _judge_exit(self):
        status = self.player.client.wait_exit(1.0)
        self._read_answers()
        if self.ended:
            return
        dialog = FAILURE_DIALOGS.get(self.error_dialog)
        broken = {dialog for _, _, dialog in self.broken}
        if status == 0 and dialog is not None and dialog in broken:
            self.chaos.note(f"session {self.number}: ended as designed: {self.error_dialog} "
                            "could not show a text its brand file breaks")
            self.ended = True
            return
        report = f" after ClientUIErrorMessage {self.error_dialog!r}" if self.error_dialog else ""
        self._fault(f"the program ended with status {status}{report}")

    def _watch_take_all(self):
        """A take-all sequence is over once no confirmation has been shown for a while."""
        if not self.model.taking_all():
            return
        if time.monotonic() - self.last_confirm_event < 2.5:
            return
        if self.chaos.session.find_windows(f"^{CONFIRMATION}$"):
            self.last_confirm_event = time.monotonic()
            return
        self.model.end_take_all(time.time(), completed=True)

    def _finish(self):
        self._play({"close": "link"})
        self.link_closed = True
        try:
            self._play({"exit": 0, "within": 10})
        except scenario.StepFailed as error:
            self._fault(f"closing the link: {error}")
        self._read_answers()
        self.ended = True

    # Resources -------------------------------------------------------------------------------

    def _sample(self):
        pid = self.player.client.process.pid
        try:
            with open(f"/proc/{pid}/status") as status:
                rss = next(int(line.split()[1]) for line in status if line.startswith("VmRSS"))
            descriptors = len(os.listdir(f"/proc/{pid}/fd"))
        except (OSError, StopIteration):
            return
        self.peak_rss = max(self.peak_rss, rss)
        # libXmu keeps every editres request it parses (about 0.55 kB each on an idle program,
        # measured); that is this client's doing, not the program's, and is taken out.
        requests = xwidgets.EditresLink.requests_made - self.editres_at_start
        self.samples.append((time.monotonic(), rss - EDITRES_KB_PER_REQUEST * requests,
                             descriptors))

    def _report_resources(self):
        if not self.samples:
            return
        judged = resource_growth(self.samples)
        peak = self.peak_rss
        line = (f"session {self.number}: {'UTF-8' if self.utf8 else 'C'} locale, "
                f"{len(self.broken)} broken brand lines, {len(self.steps)} steps, peak RSS "
                f"{peak} kB, descriptors {self.samples[0][2]} at start, "
                f"{self.samples[-1][2]} at end")
        if judged is not None:
            line += f"; RSS growth after warm-up {judged[0] * 100:.2f}% per 10 min over " \
                    f"{judged[1] / 60:.1f} min"
        self.chaos.sessions.append(line)
        if judged is not None and judged[1] >= JUDGED_SPAN_SECONDS and not self.ended_by_fault:
            self.judging_resources = True
            if judged[0] > GROWTH_LIMIT:
                self._fault(f"resident memory grows {judged[0] * 100:.2f}% per 10 minutes")
            if judged[2] > 0:
                self._fault(f"{judged[2]} descriptors more than after the warm-up")

    # Faults ----------------------------------------------------------------------------------

    def _fault(self, text):
        if self.ended and not self.judging_resources:
            return
        self.ended = self.ended_by_fault = True
        path = self.chaos.write_scenario(self, text)
        self.chaos.fault(self, text, path)
        if self.player.client.is_running():
            self.player.client.process.kill()


def resource_growth(samples):
    """(relative RSS growth per ten minutes, span in seconds, descriptors gained) after the
    warm-up, comparing the medians of its first and last thirds; None when there is nothing
    after the warm-up. A leak raises what the program holds from then on; the peak of one
    large frame late in a session is given back to the system and is not growth (replayed, a
    session's 2 MiB frame took the program from 15.8 to 18.8 MB and back to 14.7 MB)."""
    start = samples[0][0]
    later = [s for s in samples if s[0] - start >= min(WARM_UP_SECONDS, 0.2 * (
        samples[-1][0] - start))]
    if len(later) < 6:
        return None
    span = later[-1][0] - later[0][0]
    third = len(later) // 3
    first = statistics.median(rss for _, rss, _ in later[:third])
    last = statistics.median(rss for _, rss, _ in later[-third:])
    growth = (last - first) / first * (600.0 / max(span, 1.0))
    descriptors = later[-1][2] - max(fds for _, _, fds in later[:third])
    return growth, span, descriptors


def _shown(before):
    return ", ".join(f"{name} {value.title if isinstance(value, chaosmodel.Record) else value!r}"
                     for name, value in before.items())


def _label(node):
    return scenario._label(node)


def _text(node):
    text = xwidgets.text_of(node)
    try:
        return text.encode("latin-1").decode("utf-8")
    except UnicodeError:
        return text


class Chaos:
    """The whole run: sessions one after another until the time is up."""

    def __init__(self, program, minutes, seed, output, out):
        self.program, self.minutes, self.seed = program, minutes, seed
        self.output, self.out = output, out
        self.rng = random.Random(seed)
        self.totals = Totals()
        self.sessions = []
        self.session = None

    def run(self):
        """Runs; the number of faults found."""
        print(f"chaos: seed {self.seed}, {self.minutes} minutes, program {self.program}",
              file=self.out, flush=True)
        until = time.monotonic() + self.minutes * 60
        number = 0
        with xsession.XSession() as self.session:
            while time.monotonic() < until - 5:
                number += 1
                ChaosSession(self, number).run(until)
        self._summary()
        return len(self.totals.faults)

    def note(self, text):
        print("note: " + text, file=self.out, flush=True)

    def fault(self, session, text, path):
        self.totals.faults.append(text)
        print(f"FAULT (seed {self.seed}, session {session.number}): {text}\n"
              f"  steps written to {path}, the transcript beside them; its last lines:", file=self.out)
        for line in list(session.out.lines)[-15:]:
            print("    " + line, file=self.out)
        self.out.flush()

    def write_scenario(self, session, text):
        os.makedirs(self.output, exist_ok=True)
        path = os.path.join(self.output, f"chaos-{self.seed}-{session.number}.json")
        document = {"title": f"chaos seed {self.seed} session {session.number}: {text}",
                    "locale": session.player.locale, "steps": session.steps}
        with open(path, "w", encoding="utf-8") as file:
            json.dump(document, file, ensure_ascii=False, indent=1)
        with open(path[:-len(".json")] + ".txt", "w", encoding="utf-8") as file:
            file.writelines(line + "\n" for line in session.out.lines)
            # A memory verdict is read against the pending list and the steps of its moment.
            start = session.samples[0][0] if session.samples else 0.0
            file.writelines(f"sample {when - start:.0f} s: {rss:.0f} kB, {fds} descriptors\n"
                            for when, rss, fds in session.samples)
        return path

    def _summary(self):
        counts = self.totals.counts
        for line in self.sessions:
            print(line, file=self.out)
        print(f"seed {self.seed}: {counts['steps']} steps, {counts['clicks']} clicks, "
              f"{counts['messages sent']} messages sent, {counts['answers checked']} answers "
              f"checked, {len(self.totals.faults)} faults found", file=self.out, flush=True)


def main(arguments, out):
    seed = arguments.seed if arguments.seed is not None else int(time.time())
    chaos = Chaos(arguments.program, arguments.minutes, seed, arguments.output, out)
    return 1 if chaos.run() else 0
