"""The date-time parser against Python's own mail-date parser on generated texts.

Both read the same texts; wherever the program's dialect accepts a text, the instant must be
the same. The texts stay inside what both dialects mean alike: two-digit years above 68 (Python
moves smaller ones into the 2000s, the program always adds 1900), years with three or four
digits from 100 on, no military zone letters (Python knows only "Z", the program reads no zone
from a letter), and a comma directly after the day name.
"""

import calendar
import datetime
import email.utils
import random

DAY_NAMES = ["sun", "mon", "tue", "wed", "thu", "fri", "sat"]
MONTH_NAMES = ["jan", "feb", "mar", "apr", "may", "jun",
               "jul", "aug", "sep", "oct", "nov", "dec"]
ZONE_NAMES = ["ut", "gmt", "est", "edt", "cst", "cdt", "mst", "mdt", "pst", "pdt"]
EPOCH = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)


def answers(time_filter, texts):
    """The program's answer for each text: seconds since the epoch, or None when rejected."""
    lines = time_filter(texts).decode().splitlines()
    assert len(lines) == len(texts)
    result = []
    for line in lines:
        kind, _, value = line.partition(" ")
        assert kind in ("ok", "rejected"), line
        result.append(int(value) if kind == "ok" else value)
    return result


def python_seconds(text):
    parsed = email.utils.parsedate_to_datetime(text)
    if parsed.tzinfo is None:
        # Python reads "-0000" as "zone unknown"; the instant is still the one at offset 0.
        parsed = parsed.replace(tzinfo=datetime.timezone.utc)
    return (parsed - EPOCH) // datetime.timedelta(seconds=1)


def random_case(rng, word):
    return "".join(c.upper() if rng.random() < 0.5 else c for c in word)


def gap(rng):
    return "".join(rng.choice(" \t") for _ in range(rng.randint(1, 3)))


def generate(rng):
    kind = rng.random()
    if kind < 0.15:
        year = rng.randint(69, 99)
        year_text, full_year = f"{year:02d}", 1900 + year
    elif kind < 0.3:
        full_year = rng.randint(100, 999)
        year_text = str(full_year) if rng.random() < 0.5 else f"{full_year:04d}"
    else:
        full_year = rng.randint(1000, 9998)
        year_text = str(full_year)
    month = rng.randint(1, 12)
    day = rng.randint(1, calendar.monthrange(full_year, month)[1])
    day_text = str(day) if day >= 10 or rng.random() < 0.5 else f"{day:02d}"

    parts = []
    if rng.random() < 0.6:
        weekday = (datetime.date(full_year, month, day).isoweekday()) % 7  # 0 = Sunday
        parts.append(random_case(rng, DAY_NAMES[weekday]) + "," + (gap(rng) if rng.random() < 0.8 else ""))
    parts.append(day_text + gap(rng) + random_case(rng, MONTH_NAMES[month - 1]) + gap(rng)
                 + year_text + gap(rng))
    time_text = f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}"
    if rng.random() < 0.7:
        time_text += f":{rng.randint(0, 59):02d}"
    parts.append(time_text + gap(rng))
    if rng.random() < 0.7:
        sign = rng.choice("+-")
        parts.append(f"{sign}{rng.randint(0, 23):02d}{rng.randint(0, 59):02d}")
    else:
        parts.append(random_case(rng, rng.choice(ZONE_NAMES)))
    return "".join(parts)


def test_same_instant_as_python_on_generated_texts(time_filter):
    rng = random.Random(20261206)
    texts = [generate(rng) for _ in range(4000)]
    texts += ["Tue, 05 Mar 2024 07:08:09 +0100", "5 mar 94 07:08 GMT", "01 Jan 1970 00:00 -0000",
              "31 Dec 9998 23:59:59 -2359", "29 Feb 2000 12:00 EST", "01 Jan 0100 00:00 +0000"]
    mismatches = []
    for text, ours in zip(texts, answers(time_filter, texts)):
        theirs = python_seconds(text)
        if ours != theirs:
            mismatches.append(f"{text!r}: program {ours}, Python {theirs}")
    assert not mismatches, f"{len(mismatches)} of {len(texts)} differ:\n" + "\n".join(mismatches[:20])
