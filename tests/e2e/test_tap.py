"""The tap (QVX_TAP) between a client and a program: scripted stand-in programs for the relay,
its ends and its exit statuses, and the real program (QVX_PROGRAM) playing the demo through it.
The transcript is read back as a replay would read it: header lines and their base64 lines."""

import base64
import os
import random
import re
import select
import shutil
import signal
import struct
import subprocess
import threading
import time

import pytest

from instrumented import sanitized

TOOLS = os.path.join(os.path.dirname(__file__), "..", "..", "tools")
LENGTH = struct.Struct("=I")
LIMIT = 2097152
HEADER = re.compile(r"^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{6}Z) (\d+) (.*)$")

# A stand-in program, run by /usr/bin/python3; FAKE_MODE says what it does, FAKE_EXIT and
# FAKE_SIGNAL how it ends.
FAKE = r'''#!/usr/bin/python3
import os, signal, sys, time
mode = os.environ.get("FAKE_MODE", "echo")
if mode == "echo":
    while True:
        data = os.read(0, 65536)
        if not data:
            break
        view = memoryview(data)
        while view:
            view = view[os.write(1, view):]
elif mode == "close-output":
    os.close(1)
    while os.read(0, 65536):
        pass
elif mode == "flood":
    try:
        while True:
            os.write(1, b"\0\0\0\0")
    except BrokenPipeError:
        sys.exit(42)
elif mode == "leave":
    sys.exit(int(os.environ.get("FAKE_EXIT", "0")))
elif mode == "wait":
    time.sleep(60)
if "FAKE_SIGNAL" in os.environ:
    os.kill(os.getpid(), int(os.environ["FAKE_SIGNAL"]))
sys.exit(int(os.environ.get("FAKE_EXIT", "0")))
'''


@pytest.fixture
def fake(tmp_path):
    path = tmp_path / "fake-program"
    path.write_text(FAKE)
    path.chmod(0o755)
    return str(path)


def start_tap(tap, program, transcript, args=(), **environment):
    env = dict(os.environ, QVX_TAP_PROGRAM=program, **environment)
    if transcript is None:
        env.pop("QVX_TAP_TRANSCRIPT", None)
    else:
        env["QVX_TAP_TRANSCRIPT"] = str(transcript)
    return subprocess.Popen([tap, *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, bufsize=0, env=env)


def read_transcript(path):
    """[(tap pid, event, {word: [rest of line, ...]})], in file order."""
    entries = []
    with open(path, encoding="utf-8") as file:
        for line in file.read().splitlines():
            match = HEADER.match(line)
            if match:
                entries.append((int(match.group(2)), match.group(3), {}))
            else:
                assert line.startswith("  ") and entries, line
                word, _, rest = line[2:].partition(" ")
                entries[-1][2].setdefault(word, []).append(rest)
    return entries


def frames_of(entries, direction):
    """The bytes of each frame entry of one direction, as a replay would send them."""
    found = []
    for _, event, lines in entries:
        if event.startswith(direction + " frame "):
            found.append(base64.b64decode(lines["base64"][0]) if "base64" in lines else b"")
            assert int(event.split()[4]) == len(found[-1])
    return found


def events(entries):
    return [event for _, event, _ in entries]


def pump(process, data):
    """Writes data to the process in random pieces while reading all it writes; its output."""
    output = bytearray()

    def write():
        chance = random.Random(7)
        view = memoryview(data)
        while view:
            piece = chance.choice((1, 3, 100, 4096, 70000))
            view = view[os.write(process.stdin.fileno(), view[:piece]):]
        process.stdin.close()
    writer = threading.Thread(target=write)
    writer.start()
    while True:
        chunk = os.read(process.stdout.fileno(), 1 << 20)
        if not chunk:
            break
        output.extend(chunk)
    writer.join()
    return bytes(output)


def finish(process, timeout=30):
    """The exit status and standard error of a process whose pipes the test is done with."""
    status = process.wait(timeout=timeout)
    errors = process.stderr.read()
    for stream in (process.stdin, process.stdout, process.stderr):
        if not stream.closed:
            stream.close()
    return status, errors


def random_frames(count, seed):
    chance = random.Random(seed)
    frames = [b"", b"x" * LIMIT, chance.randbytes(LIMIT)]
    frames += [b"<?xml version=\"1.0\"?><ClientToUI><QuietModeEnd></QuietModeEnd></ClientToUI>"]
    while len(frames) < count:
        size = chance.choice((0, 1, 3, 4, 17, 300, 1000, 5000))
        frames.append(chance.randbytes(size))
    chance.shuffle(frames)
    return frames


# Relaying ---------------------------------------------------------------------------------------

def test_ten_thousand_frames_pass_byte_for_byte_both_ways_and_read_back_from_the_transcript(
        tap, fake, tmp_path):
    frames = random_frames(10000, seed=1)
    stream = b"".join(LENGTH.pack(len(frame)) + frame for frame in frames)
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript)
    assert pump(process, stream) == stream
    assert finish(process) == (0, b"")
    entries = read_transcript(transcript)
    assert frames_of(entries, "client -> program") == frames
    assert frames_of(entries, "program -> client") == frames
    kinds = {event.split()[-1] for event in events(entries) if " frame " in event}
    assert kinds == {"empty", "xml", "binary"}
    assert {pid for pid, _, _ in entries} == {process.pid}


def test_relay_goes_on_without_a_transcript_or_with_one_that_cannot_be_opened_or_written(
        tap, fake, tmp_path):
    stream = b"".join(LENGTH.pack(len(frame)) + frame for frame in random_frames(300, seed=2))
    # A FIFO nobody reads, and one whose reader never reads (the tap's end waits a while only).
    unread, stalled = tmp_path / "unread", tmp_path / "stalled"
    os.mkfifo(unread)
    os.mkfifo(stalled)
    reader = os.open(stalled, os.O_RDONLY | os.O_NONBLOCK)
    for transcript in (None, "", tmp_path / "no-such-folder" / "transcript.txt", tmp_path,
                       "/dev/full", unread, stalled):
        process = start_tap(tap, fake, transcript)
        assert pump(process, stream) == stream, transcript
        assert finish(process, timeout=15) == (0, b""), transcript
    os.close(reader)


def test_start_arguments_and_each_sides_end_are_in_the_transcript(tap, fake, tmp_path):
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript, args=["-x", "two words", "tab\there"])
    document = b"<a>\n  <b>\xc3\xa9</b>\n</a>"
    assert pump(process, LENGTH.pack(len(document)) + document)[4:] == document
    assert finish(process) == (0, b"")
    entries = read_transcript(transcript)
    started = events(entries)[0]
    assert re.fullmatch(r"program started pid \d+", started)
    assert entries[0][2] == {"path": [f'"{fake}"'],
                             "argv": ['"-x"', '"two words"', '"tab\\x09here"']}
    _, event, lines = entries[1]
    assert event == "client -> program frame 20 bytes xml"
    assert lines["|"] == ["<a>", "  <b>\u00e9</b>", "</a>"]
    assert "client -> program end of input" in events(entries)
    assert events(entries)[-2:] == ["program -> client end of input",
                                    "program exited with status 0"]


def test_oversized_and_cut_frames_are_relayed_and_noted(tap, fake, tmp_path):
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript)
    stream = LENGTH.pack(LIMIT + 1) + b"y" * 1000 + LENGTH.pack(10) + b"abc"
    assert pump(process, stream) == stream
    assert finish(process) == (0, b"")
    shown = events(read_transcript(transcript))
    for direction in ("client -> program", "program -> client"):
        assert (f"{direction} oversized frame {LIMIT + 1} bytes, over the limit of {LIMIT}: "
                "relayed, not recorded") in shown
        assert f"{direction} partial frame 1007 of {LIMIT + 1} bytes, over the limit: " \
               "not recorded" in shown
    process = start_tap(tap, fake, transcript)
    assert pump(process, LENGTH.pack(10) + b"abc") == LENGTH.pack(10) + b"abc"
    finish(process)
    entries = read_transcript(transcript)
    cut = [lines for _, event, lines in entries
           if event == "client -> program partial frame 3 of 10 bytes"]
    assert cut and base64.b64decode(cut[-1]["base64"][0]) == b"abc"
    process = start_tap(tap, fake, transcript)
    assert pump(process, b"\x01\x00") == b"\x01\x00"
    finish(process)
    assert "client -> program partial length prefix 2 bytes" in events(read_transcript(transcript))


# Exit statuses and ends -------------------------------------------------------------------------

@pytest.mark.parametrize("environment, status, event", [
    ({"FAKE_EXIT": "0"}, 0, "program exited with status 0"),
    ({"FAKE_EXIT": "3"}, 3, "program exited with status 3"),
    ({"FAKE_EXIT": "255"}, 255, "program exited with status 255"),
    ({"FAKE_SIGNAL": str(int(signal.SIGTERM))}, -signal.SIGTERM,
     "program killed by signal 15 (SIGTERM)"),
    ({"FAKE_SIGNAL": str(int(signal.SIGKILL))}, -signal.SIGKILL,
     "program killed by signal 9 (SIGKILL)"),
])
def test_tap_ends_as_the_program_ended(tap, fake, tmp_path, environment, status, event):
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript, **environment)
    assert pump(process, LENGTH.pack(1) + b"z") == LENGTH.pack(1) + b"z"
    assert finish(process) == (status, b"")
    assert events(read_transcript(transcript))[-1] == event


def program_pid(transcript):
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if transcript.exists():
            for event in events(read_transcript(transcript)):
                if event.startswith("program started pid "):
                    return int(event.split()[-1])
        time.sleep(0.02)
    raise AssertionError("no program started")


def test_program_killed_from_outside_ends_the_tap_by_the_same_signal(tap, fake, tmp_path):
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript, FAKE_MODE="wait")
    os.kill(program_pid(transcript), signal.SIGKILL)
    assert finish(process) == (-signal.SIGKILL, b"")
    assert events(read_transcript(transcript))[-1] == "program killed by signal 9 (SIGKILL)"


def test_signal_sent_to_the_tap_reaches_the_program(tap, fake, tmp_path):
    if "libtsan" in subprocess.run(["ldd", tap], capture_output=True, text=True).stdout:
        # The thread sanitizer holds an asynchronous signal until the thread that takes it makes
        # an intercepted call, which the tap's threads, blocked in their reads, may never do.
        pytest.skip("signal delivery is deferred under the thread sanitizer")
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, fake, transcript, FAKE_MODE="wait")
    pid = program_pid(transcript)
    process.send_signal(signal.SIGTERM)
    assert finish(process) == (-signal.SIGTERM, b"")
    assert events(read_transcript(transcript))[-1] == "program killed by signal 15 (SIGTERM)"
    with pytest.raises(ProcessLookupError):
        os.kill(pid, 0)


@pytest.mark.parametrize("ignored, blocked", [
    ((), ()),
    ((signal.SIGINT, signal.SIGPIPE, signal.SIGHUP), (signal.SIGUSR1, signal.SIGTERM)),
])
def test_program_gets_the_signal_dispositions_and_mask_the_tap_was_given(tap, tmp_path, ignored,
                                                                          blocked):
    shown = tmp_path / "show-signals"
    shown.write_text("#!/bin/sh\nexec grep -E '^Sig(Ign|Blk)' /proc/self/status\n")
    shown.chmod(0o755)

    def given():
        for number in ignored:
            signal.signal(number, signal.SIG_IGN)
        signal.pthread_sigmask(signal.SIG_BLOCK, blocked)
    outputs = []
    for command in ([tap], [str(shown)]):
        done = subprocess.run(command, capture_output=True, preexec_fn=given, timeout=30,
                              env=dict(os.environ, QVX_TAP_PROGRAM=str(shown),
                                       QVX_TAP_TRANSCRIPT=""))
        assert (done.returncode, done.stderr) == (0, b"")
        outputs.append(done.stdout)
    assert outputs[0] == outputs[1] and outputs[0].startswith(b"SigBlk:")


def readable_within(stream, seconds):
    return bool(select.select([stream], [], [], seconds)[0])


def test_program_closing_its_output_gives_the_client_end_of_file_while_it_runs(tap, fake,
                                                                               tmp_path):
    process = start_tap(tap, fake, tmp_path / "transcript.txt", FAKE_MODE="close-output")
    assert readable_within(process.stdout, 10) and os.read(process.stdout.fileno(), 10) == b""
    assert process.poll() is None
    process.stdin.close()
    assert finish(process) == (0, b"")


def test_client_closing_its_reading_end_gives_the_program_a_closed_pipe(tap, fake, tmp_path):
    process = start_tap(tap, fake, tmp_path / "transcript.txt", FAKE_MODE="flood")
    assert readable_within(process.stdout, 10)
    process.stdout.close()
    assert finish(process) == (42, b"")
    assert "program -> client relay failed: write: " in \
        "\n".join(events(read_transcript(tmp_path / "transcript.txt")))


def test_program_that_leaves_gives_the_writing_client_a_closed_pipe(tap, fake, tmp_path):
    process = start_tap(tap, fake, tmp_path / "transcript.txt", FAKE_MODE="leave",
                        FAKE_EXIT="5")
    with pytest.raises(BrokenPipeError):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            os.write(process.stdin.fileno(), LENGTH.pack(1000) + b"w" * 1000)
    assert finish(process) == (5, b"")


def test_program_that_cannot_start_gives_127_and_a_transcript_entry(tap, tmp_path):
    transcript = tmp_path / "transcript.txt"
    process = start_tap(tap, str(tmp_path / "missing"), transcript)
    assert finish(process) == (127, b"")
    (_, event, lines), = read_transcript(transcript)
    assert event.startswith("program not started: cannot run the program: ")
    assert lines["path"] == [f'"{tmp_path / "missing"}"']


# Installed beside the program -------------------------------------------------------------------

def test_installed_tap_finds_the_program_and_its_configuration_beside_itself(tap, fake,
                                                                             tmp_path):
    folder = tmp_path / "bin"
    folder.mkdir()
    shutil.copy(tap, folder / "qvxclientui-tap")
    shutil.copy(fake, folder / "qvxclientui")
    transcript = tmp_path / "beside.txt"
    (folder / "qvxclientui-tap.conf").write_text(f"# transcript\n{transcript}\n")
    environment = {key: value for key, value in os.environ.items()
                   if not key.startswith("QVX_TAP_")}
    environment["PATH"] = f"{folder}:{environment.get('PATH', '')}"
    for command in ([str(folder / "qvxclientui-tap")], ["qvxclientui-tap"]):
        process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, bufsize=0, env=environment)
        assert pump(process, LENGTH.pack(0)) == LENGTH.pack(0)
        assert finish(process) == (0, b"")
    entries = read_transcript(transcript)
    assert [lines["path"] for _, event, lines in entries if event.startswith("program started")] \
        == [[f'"{folder}/qvxclientui"']] * 2
    assert oct(transcript.stat().st_mode & 0o777) == "0o600"


# The real program -------------------------------------------------------------------------------

def test_demo_played_through_the_tap_leaves_a_transcript_of_every_message_kind(
        tap, program, tmp_path):
    if sanitized(program):
        pytest.skip("this build's widgets cannot be named through editres")
    transcript = tmp_path / "demo.txt"
    environment = dict(os.environ, QVX_TAP_PROGRAM=os.path.abspath(program),
                       QVX_TAP_TRANSCRIPT=str(transcript))
    played = subprocess.run(["/usr/bin/python3", os.path.join(TOOLS, "clientsim"), "demo",
                             "--program", tap, "--own-display"],
                            capture_output=True, text=True, timeout=300, env=environment)
    assert (played.returncode, played.stderr) == (0, ""), played.stdout
    entries = read_transcript(transcript)
    shown = events(entries)
    assert shown[0].startswith("program started pid ")
    assert shown[-1] == "program exited with status 0"
    assert "client -> program end of input" in shown
    text = {direction: "\n".join("\n".join(lines.get("|", [])) for _, event, lines in entries
                                 if event.startswith(direction + " frame "))
            for direction in ("client -> program", "program -> client")}
    for kind in ("InitializationInfo", "ActionRequest", "MessageRequest", "QuietModeStart",
                 "QuietModeEnd"):
        assert f"<{kind}>" in text["client -> program"], kind
    for kind in ("ReadyForData", "ActionTaken"):
        assert f"<{kind}>" in text["program -> client"], kind
    assert all(" xml" in event for event in shown if " frame " in event)
