"""clientsim replay: the demo recorded through the tap (QVX_TAP) and played again against the
program (QVX_PROGRAM); corrupted copies of the recording must show each corruption as the
difference it is, and a frame that is not XML must reach the program as it was recorded."""

import base64
import os
import re
import subprocess

import pytest

import replay
from instrumented import sanitized

TOOLS = os.path.join(os.path.dirname(__file__), "..", "..", "tools")
CLIENTSIM = os.path.join(TOOLS, "clientsim")


def run_clientsim(*arguments, environment=None, timeout=300):
    return subprocess.run(["/usr/bin/python3", CLIENTSIM, *arguments], capture_output=True,
                          text=True, timeout=timeout, env=environment or dict(os.environ))


@pytest.fixture(scope="module")
def demo_transcript(tap, program, tmp_path_factory):
    if sanitized(program):
        pytest.skip("this build's widgets cannot be named through editres")
    path = tmp_path_factory.mktemp("replay") / "demo.txt"
    environment = dict(os.environ, QVX_TAP_PROGRAM=os.path.abspath(program),
                       QVX_TAP_TRANSCRIPT=str(path))
    played = run_clientsim("demo", "--program", tap, "--own-display", environment=environment)
    assert played.returncode == 0, played.stdout
    return path.read_text(encoding="utf-8")


def replayed(program, text, tmp_path, *options):
    path = tmp_path / "recording.txt"
    path.write_text(text, encoding="utf-8")
    return run_clientsim("replay", str(path), "--program", program, "--own-display", "--auto",
                         "--fast", *options)


def differences(result):
    return [line[4:] for line in result.stdout.splitlines() if line.startswith("  - ")]


def answer_entries(text):
    """(start, end) character ranges of the program's frame entries, in order."""
    starts = [m.start() for m in re.finditer(r"^\S", text, re.M)] + [len(text)]
    return [(a, b) for a, b in zip(starts, starts[1:])
            if " program -> client frame " in text[a:b].split("\n", 1)[0]]


def test_demo_replays_without_a_difference(program, demo_transcript, tmp_path):
    result = replayed(program, demo_transcript, tmp_path)
    assert result.returncode == 0, result.stdout + result.stderr
    assert "no difference from the recording" in result.stdout


def test_changed_action_taken_id_is_reported_with_its_field(program, demo_transcript, tmp_path):
    text = demo_transcript
    (a, b), = [r for r in answer_entries(text) if "<ActionTaken>" in text[r[0]:r[1]]]
    entry = text[a:b]
    payload = base64.b64decode(re.search(r"  base64 (\S+)", entry).group(1))
    changed = payload.replace(b"<ID>103</ID>", b"<ID>999</ID>")
    assert changed != payload
    entry = entry.replace(base64.b64encode(payload).decode(), base64.b64encode(changed).decode())
    result = replayed(program, text[:a] + entry + text[b:], tmp_path)
    assert result.returncode == 1, result.stdout
    found = differences(result)
    assert any("ID=999" in line and "did not come" in line for line in found), found
    assert any("request 999" in line for line in found), found


def test_dropped_answer_is_reported_as_unexpected(program, demo_transcript, tmp_path):
    text = demo_transcript
    a, b = answer_entries(text)[0]
    result = replayed(program, text[:a] + text[b:], tmp_path)
    assert result.returncode == 1, result.stdout
    found = differences(result)
    assert len(found) == 1 and found[0].startswith("unexpected: answer 1, ReadyForData"), found


def test_swapped_answers_are_reported_as_order(program, demo_transcript, tmp_path):
    text = demo_transcript
    (a1, b1), (a2, b2) = answer_entries(text)[:2]
    # The entries keep their times; what each says the program sent changes places.
    first, second = (text[a:b].split(" ", 2) for a, b in ((a1, b1), (a2, b2)))
    swapped = (text[:a1] + " ".join(first[:2] + second[2:]) + text[b1:a2]
               + " ".join(second[:2] + first[2:]) + text[b2:])
    result = replayed(program, swapped, tmp_path)
    assert result.returncode == 1, result.stdout
    found = differences(result)
    assert found and all(line.startswith("order: ") for line in found), found


def test_frame_that_is_not_xml_reaches_the_program_byte_for_byte(tap, program, tmp_path):
    odd = b"\x00\x01not <xml\xff"
    header = "2026-12-08T19:30:27.%06dZ 4242 "
    text = "".join([
        header % 1 + "program started pid 4243\n", '  path "/x"\n',
        header % 2 + f"client -> program frame {len(odd)} bytes binary\n",
        f"  base64 {base64.b64encode(odd).decode()}\n",
        header % 3 + "client -> program end of input\n",
        header % 4 + "program exited with status 0\n"])
    source = tmp_path / "odd.txt"
    source.write_text(text)
    again = tmp_path / "again.txt"
    environment = dict(os.environ, QVX_TAP_PROGRAM=os.path.abspath(program),
                       QVX_TAP_TRANSCRIPT=str(again))
    run_clientsim("replay", str(source), "--program", tap, "--own-display", "--auto", "--fast",
                  environment=environment)
    events = replay.load(str(again))
    assert [e.payload for e in events if e.kind == "send"] == [odd]


@pytest.mark.parametrize("content", [b"\xff\xfe not text", b"just a line\n",
                                     b"2026-12-08T19:30:27.000001Z 1 client -> program frame 3 "
                                     b"bytes binary\n"])
def test_unreadable_transcript_gives_status_2(program, tmp_path, content):
    path = tmp_path / "bad.txt"
    path.write_bytes(content)
    result = run_clientsim("replay", str(path), "--program", program, "--auto", "--own-display")
    assert result.returncode == 2, result.stdout
    assert "clientsim:" in result.stderr


def test_session_option_picks_among_the_sessions_of_one_file(tmp_path):
    lines = []
    for tap, frame in ((10, b"<a></a>"), (20, b"<b></b>"), (10, b"<c></c>")):
        lines += [f"2026-12-08T19:30:27.000001Z {tap} program started pid 1",
                  f"2026-12-08T19:30:27.000002Z {tap} client -> program frame {len(frame)} "
                  "bytes xml", f"  base64 {base64.b64encode(frame).decode()}"]
    path = tmp_path / "three.txt"
    path.write_text("\n".join(lines) + "\n")
    assert [[e.payload for e in replay.load(str(path), n)] for n in (1, 2, 3)] == \
        [[b"<a></a>"], [b"<b></b>"], [b"<c></c>"]]
    with pytest.raises(replay.TranscriptError):
        replay.load(str(path), 4)


def test_what_the_tap_could_not_record_whole_is_replayed_as_it_went(tmp_path):
    title = "a\u2028b".encode()  # a separator of lines, to Python, inside a frame's text
    frame = b"<ClientToUI><MessageRequest><Title>" + title + b"</Title></MessageRequest>"
    header = "2026-12-08T19:30:27.%06dZ 7 "
    path = tmp_path / "cut.txt"
    path.write_text("".join([
        header % 1 + "program started pid 8\n",
        header % 2 + f"client -> program frame {len(frame)} bytes xml\n",
        f"  base64 {base64.b64encode(frame).decode()}\n",
        "  | " + frame.decode() + "\n",
        header % 3 + "client -> program partial frame 2 of 9 bytes\n", "  base64 PDw=\n",
        header % 4 + "client -> program oversized frame 3000000 bytes, over the limit of "
        "2097152 bytes: relayed, not recorded\n",
        header % 5 + "program -> client relay failed: Broken pipe\n",
        header % 6 + "program killed by signal 11 (SIGSEGV)\n"]), encoding="utf-8")
    assert [(e.kind, e.payload, e.status) for e in replay.load(str(path))] == [
        ("send", frame, None), ("raw", b"\0\0\0\x09<<", None),
        ("raw", (3000000).to_bytes(4, "big"), None),
        ("gap", b"program -> client relay failed: Broken pipe", None), ("exit", b"", -11)]


def test_client_times_move_with_the_replay_and_other_bytes_stay():
    import datetime
    payload = (b'<?xml version="1.0"?><ClientToUI><ActionRequest><ID>1</ID>'
               b'<Deadline>Tue, 08 Dec 2026 21:30:27 +0000</Deadline><Title>t</Title>'
               b'</ActionRequest></ClientToUI>')
    moved = replay.moved_times(payload, datetime.timedelta(hours=1))
    assert moved == payload.replace(b"21:30:27", b"22:30:27")
    assert replay.moved_times(b"<Deadline>x", datetime.timedelta(hours=1)) == b"<Deadline>x"
