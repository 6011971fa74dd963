"""What the chaos client believes the program holds, and the rules every answer must follow.

The model keeps the pending action requests in arrival order (duplicate IDs included: a removal
takes the first record with its ID) and what the user asked for: takes and cancels of the
record that was selected, take-all sequences, confirmations accepted with the text they showed,
snoozes. Each message from the program is judged against it:

- an ActionTaken concerns a record pending at that moment (or one the client removed so
  recently that the program may have decided before it saw the removal);
- taking a record that carries a PreActionMessage follows an OK on a confirmation that showed
  that very message, or its forced deadline passing outside quiet mode;
- taking or cancelling any other record follows the user asking for it;
- a snooze (RemindTime, then RemindInterval) follows a click on "Snooze", with the interval of
  the choice the user clicked;
- what the user asked for in a settled dialog is answered within ANSWER_WITHIN seconds.

The program works on a one-second tick, so what is sent or clicked takes effect up to a second
later; the driver says which clicks were made in a settled state and only those create
expectations. Times are seconds since the epoch (time.time()), the program's own clock.
"""

import dataclasses
import typing

ANSWER_WITHIN = 3.0
# How long after the client removes a record the program may still answer for it.
REMOVAL_GRACE = 2.5
# A QuietModeStart is applied at the next tick; a forced run may beat it.
QUIET_LAG = 1.5
# How long a click made on a dialog whose state was not certain may explain an answer.
WEAK_ASK_SECONDS = 5.0
# A confirmation accepted this long after a take-all's window closed may still belong to it.
TAKE_ALL_REVIVAL = 30.0


@dataclasses.dataclass
class Record:
    """One ActionRequest as the client sent it; serial tells records with the same ID apart."""
    serial: int
    id: int
    title: str
    short: str = ""
    pam: typing.Optional[str] = None
    deadline: typing.Optional[float] = None
    forced: bool = False
    has_preview: bool = False


@dataclasses.dataclass
class Expectation:
    due: float
    what: str
    serial: typing.Optional[int] = None  # None: a snooze


class Model:
    """The pending requests and the user's wishes; answer() and overdue() report faults as
    texts, an empty list when all is well."""

    def __init__(self):
        self.pending = []
        self.removed = []          # (record, when) taken out by the client
        self.consented = set()     # serials whose confirmation was accepted
        self.asked = {}            # serial -> ("take" | "cancel", until or None for good)
        self.take_all_until = None  # a take-all sequence may run until then (inf: open-ended)
        self.take_all_started = 0.0
        self.arrivals = {}         # serial -> when it was sent
        self.anything_until = {"take": 0.0, "cancel": 0.0}
        self.quiet_since = None
        self.snoozes = []          # times until which a snooze click may be answered
        self.snooze_minutes = None  # the clicked choice, when known
        self.remind_time_seen = False
        self.expected = []
        self.answers_checked = 0
        # Takes of an ID that more than one waiting twin could explain: (id, the twin the model
        # chose, the serials of the others, when). The wire names the ID only.
        self.ambiguous = []

    # What the client did -------------------------------------------------------------------

    def arrive(self, record, now=0.0):
        self.pending.append(record)
        self.arrivals[record.serial] = now

    def remove(self, identifier, now):
        """A RemoveRequest of an action: the first record with the ID goes."""
        for record in self.pending:
            if record.id == identifier:
                self.pending.remove(record)
                self.removed.append((record, now))
                self.expected = [e for e in self.expected if e.serial != record.serial]
                return record
        return None

    def set_quiet(self, on, now):
        self.quiet_since = now if on else None

    def any_deadline(self):
        return any(record.deadline is not None for record in self.pending)

    def find_title(self, title):
        return next((r for r in self.pending if title and r.title == title), None)

    # What the user did ---------------------------------------------------------------------

    def ask(self, record, kind, now, settled):
        """A take or cancel of the selected record (None when none could be told); in a
        settled dialog it must be answered (or, for a take that needs consent, confirmed
        first). In a moving one the selection, a position, may have slid onto another record
        by the time the program acts: any record may then be meant for a while."""
        if not settled:
            self.anything_until[kind] = now + WEAK_ASK_SECONDS
        if record is None:
            return
        self.asked[record.serial] = (kind, None if settled else now + WEAK_ASK_SECONDS)
        if settled and not (kind == "take" and record.pam is not None):
            self.expect(record, f"{kind} of {record.title!r}", now)

    def ask_take_all(self, now, settled):
        """Take All: until the sequence ends every record may be taken (those with a
        PreActionMessage only once confirmed)."""
        self.take_all_until = float("inf") if settled else now + WEAK_ASK_SECONDS
        self.take_all_started = now

    def taking_all(self):
        """A take-all sequence the user started in a settled dialog has not ended yet."""
        return self.take_all_until == float("inf")

    def end_take_all(self, now, completed):
        """The sequence is over: when it ran to its end, what was pending without needing a
        confirmation has been taken."""
        if completed and self.taking_all():
            for record in self.pending:
                known = self.arrivals.get(record.serial, now) < self.take_all_started - 1.5
                if known and (record.pam is None or record.serial in self.consented):
                    self.expect(record, f"take all, {record.title!r}", now)
        self.take_all_until = now + WEAK_ASK_SECONDS

    def confirm(self, text, now, take_all):
        """OK on a confirmation that showed text: the record carrying it may now be taken, and
        must be when the user asked for it alone in a settled dialog. A take-all sequence lasts
        as long as the user answers its confirmations, however slowly."""
        if self.take_all_until is not None and self.take_all_until != float("inf") \
                and now - self.take_all_until < TAKE_ALL_REVIVAL:
            self.take_all_until = max(self.take_all_until, now + WEAK_ASK_SECONDS)
        for record in self.pending:
            if record.pam is not None and record.pam == text:
                self.consented.add(record.serial)
                if not take_all and self.asked.get(record.serial) == ("take", None):
                    self.expect(record, f"confirmed take of {record.title!r}", now)

    def refuse(self, text):
        """Cancel on a confirmation that showed text: the take it asked consent for is over, so
        a later OK on that record's confirmation (a take-all's, say) answers to that request
        alone, not to the take the user gave up."""
        for record in self.pending:
            if record.pam is not None and record.pam == text \
                    and self.asked.get(record.serial, ("", None))[0] == "take":
                del self.asked[record.serial]

    def ask_snooze(self, now, settled):
        self.snoozes.append(now + (ANSWER_WITHIN if settled else WEAK_ASK_SECONDS))
        if settled and self.pending:
            self.expected.append(Expectation(now + ANSWER_WITHIN, "snooze"))

    def choose_snooze(self, minutes):
        self.snooze_minutes = minutes

    def expect(self, record, what, now):
        self.expected.append(Expectation(now + ANSWER_WITHIN, what, record.serial))

    # What the program answered -------------------------------------------------------------

    def answer(self, message, now):
        """Faults in one message of the program (a dataclass of qvxsim.parse_outgoing)."""
        self.answers_checked += 1
        kind = type(message).__name__
        if kind == "ActionTaken":
            return self._action_taken(message, now)
        if kind == "RemindTime":
            return self._remind_time(now)
        if kind == "RemindInterval":
            return self._remind_interval(message)
        return [f"unexpected {kind}: {message}"]

    def _candidates(self, identifier, now):
        recent = [r for r, when in self.removed if now - when <= REMOVAL_GRACE]
        return [r for r in self.pending + recent if r.id == identifier]

    def _action_taken(self, message, now):
        candidates = self._candidates(message.id, now)
        if not candidates:
            return [f"ActionTaken for ID {message.id}, which is not pending "
                    "(answered twice, or never asked for)"]
        if message.is_cancel:
            # As for takes: the twin the user cancelled in a settled dialog before any twin a
            # click of uncertain aim may have meant.
            asked = [r for r in candidates if self._asked(r, "cancel", now)]
            awaited = {e.serial for e in self.expected}
            chosen = next((r for r in asked if r.serial in awaited), asked[0] if asked else None)
            if chosen is None:
                return [f"cancel of ID {message.id} that nobody asked for"]
        else:
            allowed = [r for r in candidates if self._may_take(r, now)]
            # The program takes the very record the user asked for in a settled dialog (and
            # confirmed, if it asks for consent), whatever twin shares its ID; then one whose
            # confirmation was accepted in a take-all that may since have been refused; a
            # take-all's other records come after those.
            awaited = {e.serial for e in self.expected}
            # A forced run is certain once due; a wish may have been for another record.
            forced = [r for r in allowed if self._forced_due(r, now)]
            reason = next((r for r in allowed if r.serial in awaited),
                          next((r for r in allowed if r.serial in self.consented),
                               (forced or allowed or [None])[0]))
            if reason is None:
                reason = self._swapped_twin(message.id, candidates, now)
            if reason is None:
                return [self._take_fault(candidates)]
            if len(allowed) > 1:
                self.ambiguous.append((message.id, reason.serial,
                                       {r.serial for r in allowed if r is not reason}, now))
            chosen = self._taken_for(reason, candidates, now)
            # The wish is answered, whichever twin the program let go.
            self.asked.pop(reason.serial, None)
            self.expected = [e for e in self.expected if e.serial != reason.serial]
        self._forget(chosen)
        return []

    def _swapped_twin(self, identifier, candidates, now):
        """A twin an earlier take of this ID may have been for, when the model gave that take to
        another twin that was also allowed: this take is then the other's, and as allowed."""
        # However long ago: the model's choice stays a guess while the other twin is pending.
        for entry in self.ambiguous:
            entry_id, _, others, _ = entry
            if entry_id != identifier:
                continue
            twin = next((r for r in candidates if r.serial in others), None)
            if twin is not None:
                self.ambiguous.remove(entry)
                return twin
        return None

    def _taken_for(self, reason, candidates, now):
        """The record the program took for an answer that reason explains: the very record the
        user chose, whatever twin shares its ID (answers name the record, not only its ID); a
        take-all answers its records in list order, as the candidates stand."""
        return reason

    def _asked(self, record, kind, now):
        if now <= self.anything_until[kind]:
            return True
        wish = self.asked.get(record.serial)
        return wish is not None and wish[0] == kind and (wish[1] is None or now <= wish[1])

    def _taking_all(self, now):
        return self.take_all_until is not None and now <= self.take_all_until

    def _may_take(self, record, now):
        if self._forced_due(record, now):
            return True
        if record.pam is not None:
            return record.serial in self.consented
        return self._asked(record, "take", now) or self._taking_all(now)

    def _forced_due(self, record, now):
        quiet = self.quiet_since is not None and now - self.quiet_since > QUIET_LAG
        return record.forced and record.deadline is not None and record.deadline <= now + 0.5 \
            and not quiet

    def _take_fault(self, candidates):
        needing = [r for r in candidates if r.pam is not None]
        if needing:
            return (f"ActionTaken for ID {needing[0].id} without the user accepting the "
                    f"confirmation {needing[0].pam!r}")
        return f"ActionTaken for ID {candidates[0].id} that nobody asked for"

    def _forget(self, record):
        if record in self.pending:
            self.pending.remove(record)
        self.removed = [(r, when) for r, when in self.removed if r is not record]
        self.consented.discard(record.serial)
        self.asked.pop(record.serial, None)
        self.expected = [e for e in self.expected if e.serial != record.serial]

    def _remind_time(self, now):
        live = [until for until in self.snoozes if now <= until]
        if not live:
            return ["RemindTime without a click on Snooze"]
        self.snoozes.remove(live[0])
        snoozes = [e for e in self.expected if e.serial is None]
        if snoozes:
            self.expected.remove(snoozes[0])
        self.remind_time_seen = True
        return []

    def _remind_interval(self, message):
        if not self.remind_time_seen:
            return ["RemindInterval without a RemindTime before it"]
        self.remind_time_seen = False
        minutes, self.snooze_minutes = self.snooze_minutes, None
        if minutes is not None and message.time_interval != minutes * 60 * 1000000:
            return [f"snoozed for {message.time_interval // 1000000} s, but the user chose "
                    f"{minutes * 60} s"]
        return []

    def overdue(self, now):
        """Faults for what the user asked for and never got."""
        late = [e for e in self.expected if e.due < now]
        self.expected = [e for e in self.expected if e.due >= now]
        return [f"no answer within {ANSWER_WITHIN} s to the {e.what}" for e in late]
