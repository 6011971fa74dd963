"""Every message the program sends, written by its own senders and read back by the client
library's strict parser: the root, the children in order, and values that come back as sent."""

import datetime
import random

import qvxsim

EPOCH = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)
PIECES = ["ClientUI", "a", " ", "<", ">", "&", "\"", "'", "]]>", "]]", "<![CDATA[", "\u00e9",
          "\u65e5\u672c", "\U0001F600", "x y", "&amp;", "\t"]


def sent(outgoing_filter, commands):
    """The framed documents the senders wrote, one per command (empty when one was refused)."""
    data, documents = outgoing_filter(commands), []
    while data:
        (length,) = qvxsim.LENGTH.unpack_from(data)
        documents.append(data[4:4 + length])
        data = data[4 + length:]
    assert len(documents) == len(commands)
    return documents


def test_every_sender_writes_what_the_client_reads_back(outgoing_filter):
    rng = random.Random(31337)
    cases = []
    for _ in range(400):
        text = "".join(rng.choice(PIECES) for _ in range(rng.randint(1, 6)))
        origin = None if rng.random() < 0.3 else text
        tail = f" {origin or '-'}"
        kind = rng.choice(["taken", "interval", "time", "error"])
        if kind == "taken":
            ident = rng.choice([0, 1, 2**32, 2**64 - 1, rng.randrange(2**64)])
            cancel = rng.random() < 0.5
            want = qvxsim.ActionTaken(cancel, False, ident, origin)
            cases.append((f"taken {ident} {int(cancel)} 0{tail}", want))
        elif kind == "interval":
            micros = rng.choice([0, 1, -1, 300_000_000, -900_000_000, 86_400_000_000,
                                 rng.randrange(-10**14, 10**14), rng.randrange(-10**8, 10**8)])
            cases.append((f"interval {micros}{tail}", qvxsim.RemindInterval(micros, origin)))
        elif kind == "time":  # whole seconds from 1601 to 9999: the mail form has no fraction
            seconds = rng.randrange(-11_644_473_600, 253_402_300_800)
            when = EPOCH + datetime.timedelta(seconds=seconds)
            cases.append((f"time {seconds * 1_000_000}{tail}", qvxsim.RemindTime(when, origin)))
        else:
            code = rng.choice([1, 2, 2**32 - 1])
            cases.append((f"error {code} {text}", qvxsim.ClientUIErrorMessage(text, code)))
    commands = [command for command, _ in cases]
    for (command, want), document in zip(cases, sent(outgoing_filter, commands)):
        assert qvxsim.parse_outgoing(document) == want, command


def test_a_reminder_time_before_the_year_zero_is_refused(outgoing_filter):
    # 63 seconds more than the whole calendar back to the year 0.
    documents = sent(outgoing_filter, ["time -62167219263000000 -", "time 0 -"])
    assert documents[0] == b""
    assert qvxsim.parse_outgoing(documents[1]) == qvxsim.RemindTime(EPOCH, None)
