"""qvxclientui-xlatcheck, named by QVX_XLATCHECK: the shipped samples pass, a file with one fault
of each kind is reported line by line, and files that are no translation get a clear report."""

import os
import re
import subprocess

import pytest

SHARE = os.path.join(os.path.dirname(__file__), "..", "..", "share", "translations")


def check(xlatcheck, *paths):
    done = subprocess.run([xlatcheck, *map(str, paths)], capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def test_shipped_samples_pass(xlatcheck):
    status, out, err = check(xlatcheck, os.path.join(SHARE, "de.xlat"),
                             os.path.join(SHARE, "_brand.xlat"))
    assert (status, err) == (0, ""), out
    # The German file leaves the two titles that carry the product's name to the brand file.
    assert "de.xlat: 0 findings" in out and "untranslated: 2 of" in out
    assert "_brand.xlat: 0 findings" in out and "brand file;" in out


# One line each: the kind of finding expected on it (None: a good line) and words it must say.
FAULTS = [
    (b"Cancel\tAbbrechen", None, None),
    (b"Cancle\tAbbrechen", "unknown key", 'closest known text: "Cancel"'),
    (b"Take All Actions Alle Aktionen", "no tab", 'known text "Take All Actions"'),
    (b"\tAktionsdetails", "empty key", "skips it"),
    (b"Action Details\tDetails\rzur Aktion", "carriage return", '"zur Aktion" as a line'),
    (b"Now\tSofort \xfcberf\xe4llig", "encoding", 'ISO 8859-1) it says "Now\\tSofort überfällig"'),
    (b"1 day\tein\tTag", "tabs", 'takes the text after the last tab, "Tag"'),
    (b"1 hour\t", "empty text", "shows nothing"),
    (b"Take All Actions\tAlle {count} Aktionen", "variables",
     'uses {count}, which the text does not have; the user sees "<Invalid String>"'),
    (b"{date} {time}\t{date}", "variables", "leaves out {time}; showing it fails with "
     "TooFewFormatArguments"),
    (b"Your administrator has disabled this feature between {start} and {end}.\t"
     b"Von {end} bis {start} gesperrt.", "variables",
     'fills variables by position and shows "Von {start} bis {end} gesperrt."'),
    (b"Cancel\tZur\xc3\xbcck", "duplicate key",
     'given on lines 1, 12; the program shows "Abbrechen" from line 1'),
]


def test_a_fault_of_each_kind_is_reported_on_its_line(xlatcheck, tmp_path):
    path = tmp_path / "de.xlat"
    path.write_bytes(b"\n".join(line for line, _, _ in FAULTS) + b"\n")
    status, out, err = check(xlatcheck, path)
    assert (status, err) == (1, ""), out
    reported = re.findall(rf"^{re.escape(str(path))}:(\d+): ([a-z ]+): (.*)$", out, re.M)
    expected = [(n, kind) for n, (_, kind, _) in enumerate(FAULTS, 1) if kind]
    assert [(int(n), kind) for n, kind, _ in reported] == expected, out
    for (_, _, text), (_, _, words) in zip(reported, [f for f in FAULTS if f[1]]):
        assert words in text
    assert f"{path}: {len(expected)} findings, 10 entries, translation file for locale de" in out


def make_big(path):
    """2 MiB of distinct keys the program does not know."""
    with open(path, "w", encoding="utf-8") as file:
        count = 0
        while file.tell() < 2 * 1024 * 1024:
            file.write(f"Key number {count}\tWert {count}\n")
            count += 1


@pytest.mark.parametrize("name, content, says", [
    ("binary.xlat", bytes(range(256)) * 64, "binary: a NUL byte at offset 0"),
    ("empty.xlat", b"", "empty: the file holds nothing"),
    ("comments.xlat", b"# Deutsch\n\n# noch leer\n", "no entry: no line holds a key"),
    ("big.xlat", make_big, "more findings not shown"),
    ("latin1.xlat", "Cancel\tZurück\n".encode("latin-1"), 'ISO 8859-1) it says "Cancel\\tZurück"'),
])
def test_bad_input_gets_a_clear_report(xlatcheck, tmp_path, name, content, says):
    path = tmp_path / name
    content(path) if callable(content) else path.write_bytes(content)
    status, out, err = check(xlatcheck, path)
    assert (status, err) == (1, "") and says in out, out
    assert len(out.splitlines()) <= 110


def test_a_file_it_cannot_read_is_status_2(xlatcheck, tmp_path):
    status, out, err = check(xlatcheck, os.path.join(SHARE, "de.xlat"), tmp_path / "missing.xlat",
                             tmp_path)
    assert status == 2 and "de.xlat: 0 findings" in out
    assert err.splitlines() == [f"qvxclientui-xlatcheck: {tmp_path}/missing.xlat: cannot read: "
                                "No such file or directory",
                                f"qvxclientui-xlatcheck: {tmp_path}: cannot read: Is a directory"]
