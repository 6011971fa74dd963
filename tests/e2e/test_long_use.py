"""What days of use and a client's bursts cost: memory stays flat while windows come and go, a
burst of requests does not hold back a forced answer, and the support files stay in their
folder."""

import datetime
import os
import time

import pytest

import qvxsim
import xsession as xsession_module
import xwidgets
from test_action_request_dialog import TITLE, Dialog, now, request
from instrumented import sanitized
from test_consent_and_failures import begin, message
from test_link import expect_still_running

# Openings of the request dialog take a tick each; a soak run asks for more.
OPENINGS = int(os.environ.get("QVX_SOAK_OPENINGS", "40"))


def resident_kib(client):
    with open(f"/proc/{client.process.pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def expect_flat(before, after, what):
    """Under 1% growth, with 64 KiB for the allocator's own rounding."""
    assert after <= before * 1.01 + 64, f"{what}: {before} KiB -> {after} KiB"


# A sanitizer's quarantine holds freed memory back, so resident size says nothing there.
needs_plain_heap = pytest.mark.skipif(sanitized(os.environ.get("QVX_PROGRAM", "")),
                                      reason="a sanitizer build keeps freed memory")


@pytest.fixture
def client(client, xsession):
    client.xsession = xsession
    return client


def show_and_remove(client, first, count):
    """count message windows shown and removed, fifty to a document, all read in one tick (the
    allocator keeps what a tick's peak needed, so the warm-up uses the same count)."""
    documents = []
    for start in range(first, first + count, 50):
        identifiers = range(start, start + 50)
        documents.append(qvxsim.client_document(
            *[message(i, f"Window {i}") for i in identifiers],
            *[qvxsim.remove_request(ID=i, RemoveType="Message") for i in identifiers]))
    client.send_raw(b"".join(qvxsim.frame(document) for document in documents),
                    note=f"{count} message windows shown and removed")
    # A last window shows once every earlier one has been built and destroyed.
    client.send_messages(message(first + count, f"Done {first + count}"))
    window = client.xsession.find_window(f"^Done {first + count}$", timeout=60.0)
    client.send_messages(qvxsim.remove_request(ID=first + count, RemoveType="Message"))
    client.xsession.wait_gone(window)


@needs_plain_heap
def test_memory_stays_flat_over_message_windows(client, tmp_path):
    begin(client, tmp_path)
    for round_ in range(2):
        show_and_remove(client, 1000 * round_, 400)
    warm = resident_kib(client)
    for round_ in range(2, 7):
        show_and_remove(client, 1000 * round_, 400)
    expect_flat(warm, resident_kib(client), "2,000 message windows")


def click_gone(xsession, window, position):
    xsession.click_at(*position)
    try:
        xsession.wait_gone(window, timeout=0.5)
        return True
    except xsession_module.XSessionError:
        return False


@needs_plain_heap
def test_memory_stays_flat_over_openings_of_the_request_dialog(client, tmp_path):
    begin(client, tmp_path, request(1, "Reopened", Preview="echo", Cancellable=True))
    hidden = client.xsession.find_unmapped_by_name("QVXClientUIHiddenWindow")
    # Read through editres once: libXmu keeps every editres request it parses, which would be
    # counted against the program. The dialog opens in the same place each time.
    snooze = xwidgets.widget_center(Dialog(client.xsession, TITLE).tree.find("snoozeButton"))
    sizes = []
    for opening in range(10 + OPENINGS):
        window = client.xsession.find_window(TITLE)
        xsession_module.poll(lambda: click_gone(client.xsession, window, snooze), 5.0,
                             "the dialog snoozed")
        client.read_message(timeout=3.0)  # RemindTime
        client.read_message(timeout=3.0)  # RemindInterval
        if opening in (9, 9 + OPENINGS):
            sizes.append(resident_kib(client))
        client.xsession.send_client_message(hidden, b"open")
    expect_flat(sizes[0], sizes[1], f"{OPENINGS} openings of the request dialog")


@needs_plain_heap
def test_windows_open_at_once_in_a_utf8_locale_do_not_each_load_the_compose_table(
        client_with, tmp_path):
    """A shell with a text widget opened its own input method, and with it its own copy of the
    locale's compose table (some 600 KiB in UTF-8): messages a client leaves up held megabytes."""
    client = client_with(LC_ALL="C.UTF-8", LANG="C.UTF-8")
    begin(client, tmp_path, message(0, "Window 0"), UseLocale=True)
    client.xsession.find_window("^Window 0$")
    first = resident_kib(client)
    client.send_messages(*[message(i, f"Window {i}") for i in range(1, 9)])
    client.xsession.find_window("^Window 8$")
    expect_still_running(client, 1.2)
    each = (resident_kib(client) - first) / 8
    assert each < 150, f"{each:.0f} KiB for each further message window"


def test_a_burst_of_requests_does_not_hold_back_a_forced_answer(client, tmp_path):
    begin(client, tmp_path)
    expect_still_running(client, 1.5)
    frames = [qvxsim.frame(qvxsim.client_document(request(i, f"Burst {i}")))
              for i in range(1, 10001)]
    frames.append(qvxsim.frame(qvxsim.client_document(
        request(99999, "Forced", ForceRun=True, Deadline=now() - datetime.timedelta(seconds=5)))))
    written = time.monotonic()
    client.send_raw(b"".join(frames), note="10,000 requests and a forced one")
    limit = 3.0 + (60.0 if sanitized(client.program) else 0.0)
    assert client.read_message(timeout=limit) == qvxsim.ActionTaken(False, False, 99999,
                                                                    "ClientUI")
    assert time.monotonic() - written < limit
    assert Dialog(client.xsession, TITLE).value("actiontitle") == "There are 10000 pending actions."


@pytest.mark.parametrize("sub_folder, file_name", [
    ("", "../up.txt"), ("", "{tmp}/absolute.txt"), ("../side", "file"), ("", "named/")])
def test_support_files_outside_the_folder_fail_the_initialization(client, tmp_path, sub_folder,
                                                                  file_name):
    base = tmp_path / "base"
    base.mkdir()
    (base / "earlier").write_text("kept")
    client.read_frame()
    client.send_messages(qvxsim.initialization_info(BaseDirectory=str(base), SupportFiles=[
        qvxsim.support_file(FileName="first.txt", Content=b"1"),
        qvxsim.support_file(FileName=file_name.format(tmp=tmp_path), SubFolder=sub_folder,
                            Content=b"x")]))
    client.send_messages(request(5, "Waits for a working set-up"))
    expect_still_running(client, 2.5)
    assert sorted(os.listdir(tmp_path)) == ["base"]
    assert sorted(os.listdir(base)) == ["earlier"]
    assert client.xsession.find_windows(TITLE) == []
    # The wait goes on: a good InitializationInfo still starts the session.
    client.send_messages(qvxsim.initialization_info(BaseDirectory=str(base)))
    client.send_messages(request(6, "Shown"))
    client.xsession.find_window(TITLE)
