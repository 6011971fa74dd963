"""The date-time parser against Python's own mail-date parser on generated texts: wherever the
program accepts a text, the instant must be the same. The texts stay where both dialects agree:
two-digit years above 68 (Python moves smaller ones into the 2000s), years from 100 on, no
military zone letters, and a comma directly after the day name."""

import calendar
import datetime
import email.utils
import random

DAY_NAMES = ["sun", "mon", "tue", "wed", "thu", "fri", "sat"]
MONTH_NAMES = ["jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"]
ZONE_NAMES = ["ut", "gmt", "est", "edt", "cst", "cdt", "mst", "mdt", "pst", "pdt"]
EPOCH = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)


def python_seconds(text):
    parsed = email.utils.parsedate_to_datetime(text)
    # Python reads "-0000" as "zone unknown"; the instant is still the one at offset 0.
    parsed = parsed if parsed.tzinfo else parsed.replace(tzinfo=datetime.timezone.utc)
    return (parsed - EPOCH) // datetime.timedelta(seconds=1)


def generate(rng):
    def word(text):
        return "".join(c.upper() if rng.random() < 0.5 else c for c in text)

    def gap():
        return "".join(rng.choice(" \t") for _ in range(rng.randint(1, 3)))

    kind = rng.random()
    if kind < 0.15:
        year = rng.randint(69, 99)
        year_text, year = f"{year:02d}", 1900 + year
    else:
        year = rng.randint(100, 999) if kind < 0.3 else rng.randint(1000, 9998)
        year_text = f"{year:04d}" if rng.random() < 0.5 else str(year)
    month = rng.randint(1, 12)
    day = rng.randint(1, calendar.monthrange(year, month)[1])
    text = ""
    if rng.random() < 0.6:
        weekday = datetime.date(year, month, day).isoweekday() % 7
        text += word(DAY_NAMES[weekday]) + "," + (gap() if rng.random() < 0.8 else "")
    day_text = f"{day:02d}" if rng.random() < 0.5 else str(day)
    text += day_text + gap() + word(MONTH_NAMES[month - 1]) + gap() + year_text + gap()
    text += f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}"
    text += (f":{rng.randint(0, 59):02d}" if rng.random() < 0.7 else "") + gap()
    if rng.random() < 0.7:
        return text + f"{rng.choice('+-')}{rng.randint(0, 23):02d}{rng.randint(0, 59):02d}"
    return text + word(rng.choice(ZONE_NAMES))


def test_same_instant_as_python_on_generated_texts(time_filter):
    rng = random.Random(20261206)
    texts = [generate(rng) for _ in range(4000)]
    texts += ["Tue, 05 Mar 2024 07:08:09 +0100", "5 mar 94 07:08 GMT", "01 Jan 1970 00:00 -0000",
              "31 Dec 9998 23:59:59 -2359", "29 Feb 2000 12:00 EST", "01 Jan 0100 00:00 +0000"]
    lines = time_filter(texts).decode().splitlines()  # "ok <seconds>" or "rejected <why>"
    assert len(lines) == len(texts)
    mismatches = []
    for text, line in zip(texts, lines):
        kind, _, value = line.partition(" ")
        assert kind in ("ok", "rejected"), line
        if kind != "ok" or int(value) != python_seconds(text):
            mismatches.append(f"{text!r}: program {line}, Python {python_seconds(text)}")
    assert not mismatches, f"{len(mismatches)} of {len(texts)} differ:\n" + "\n".join(mismatches[:20])
