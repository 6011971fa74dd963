"""How soon the program reacts, on a real display: a message written by the client is shown, and a
click is answered, within a fraction of a second wherever in the program's second they fall;
the clock still ticks under a flood of messages; and the second press of a double-click answers
nothing that the first press brought up."""

import datetime
import random
import re
import time

import pytest

import qvxsim
import xsession as xsession_module
import xwidgets
from instrumented import slack
from test_action_request_dialog import CONFIRMATION, SECOND, TITLE, Dialog, now, request, start
from test_message_windows import begin, message

pytestmark = pytest.mark.memcheck

# Generous against a loaded machine; the one-second tick alone took up to a second.
CLICK_ANSWERED, WINDOW_SHOWN = 0.25, 0.5


@pytest.fixture
def client(client, xsession):
    client.xsession = xsession
    return client


def click(dialog, name):
    """Clicks the widget and returns the moment just before the button went down."""
    session = dialog.session
    x, y = xwidgets.widget_center(dialog.tree.find(name))
    session.xdotool("mousemove", int(x), int(y))
    time.sleep(0.05)
    clicked = time.monotonic()
    session.xdotool("click", 1)
    return clicked


def answer_after(client, clicked):
    answer = client.read_message(timeout=3.0 + slack())
    return answer, time.monotonic() - clicked


def test_clicks_are_answered_within_a_fraction_of_a_second(client, tmp_path):
    dialog = start(client, tmp_path, *(request(70 + n, f"Request {n}", Cancellable=True)
                                       for n in range(4)))
    delays = []
    for identifier, button in ((70, "takeActions"), (71, "cancelAction"), (72, "takeActions")):
        dialog.click_item(0)
        dialog.wait_sensitive(button)
        # Anywhere in the program's second, not just after its tick.
        time.sleep(random.random())
        answer, delay = answer_after(client, click(dialog, button))
        assert answer == qvxsim.ActionTaken(button == "cancelAction", False, identifier,
                                            "ClientUI")
        delays.append(delay)
    assert max(delays) < CLICK_ANSWERED + slack(), delays


def test_a_confirmation_opens_and_its_ok_is_answered_at_once(client, tmp_path):
    dialog = start(client, tmp_path, request(81, "Careful", PreActionMessage="Save first."))
    dialog.click_item(0)
    dialog.wait_sensitive("takeActions")
    time.sleep(random.random())
    clicked = click(dialog, "takeActions")
    confirmation = xsession_module.poll(lambda: client.xsession.find_windows(CONFIRMATION),
                                        5.0 + slack(), "the confirmation")
    assert time.monotonic() - clicked < WINDOW_SHOWN + slack()
    # OK opens where Take Action was: a press there within the multi-click time is the same
    # click's (the toolkit's default, 200 ms).
    dialog = Dialog(client.xsession, CONFIRMATION)
    time.sleep(max(0.0, clicked + 0.6 - time.monotonic()))
    answer, delay = answer_after(client, click(dialog, "ok"))
    assert answer == qvxsim.ActionTaken(False, False, 81, "ClientUI")
    assert delay < CLICK_ANSWERED + slack()
    client.xsession.wait_gone(confirmation[0])


def test_messages_are_shown_within_half_a_second(client, xsession, tmp_path):
    begin(client, tmp_path)
    # The session has started once its hidden window exists.
    xsession.find_unmapped_by_name("QVXClientUIHiddenWindow", timeout=5.0 + slack())
    delays = []
    for identifier in range(1, 5):
        time.sleep(random.random())
        written = time.monotonic()
        client.send_messages(message(identifier, f"Shown {identifier}"))
        xsession.find_window(f"^Shown {identifier}$", timeout=5.0 + slack())
        delays.append(time.monotonic() - written)
    # The dialog for a request, opened by the message alone.
    written = time.monotonic()
    client.send_messages(request(90, "Prompt"))
    xsession.find_window(TITLE, timeout=5.0 + slack())
    delays.append(time.monotonic() - written)
    assert max(delays) < WINDOW_SHOWN + slack(), delays


def countdown(dialog):
    found = re.search(r"run automatically in (.*?)\.", dialog.value("actiondesc", "text"))
    assert found, dialog.value("actiondesc", "text")
    return found.group(1)


def test_the_clock_keeps_its_pace_under_a_flood_of_messages(client, xsession, tmp_path):
    dialog = start(client, tmp_path, request(95, "Forced", ForceRun=True,
                                             Deadline=now() + 120 * SECOND))
    # Selected, the request's own text counts down (the list's summary holds five minutes).
    dialog.click_item(0)
    client.send_messages(message(3, "Timed", Timeout=datetime.timedelta(seconds=2)))
    shown = time.monotonic()
    xsession.find_window("^Timed$", timeout=5.0 + slack())
    texts, early = [], []
    # Twenty messages a second, each a tick of its own, must not hold back the clock's ticks.
    while time.monotonic() - shown < 1.8:
        client.send_messages(qvxsim.action_running_topmost(Enabled=False))
        texts.append(countdown(dialog))
        looked = time.monotonic()
        # The clock has whole seconds: the Timeout starts at the second the window came in.
        if not xsession.find_windows("^Timed$") and looked - shown < 1.0:
            early.append(looked - shown)
        time.sleep(0.05)
    assert not early, f"the window went {early[0]:.2f} s after it was sent, before its Timeout"
    # The countdown moved with the clock: one text per second, neither frozen nor faster.
    assert 2 <= len(set(texts)) <= 3, texts
    xsession_module.poll(lambda: not xsession.find_windows("^Timed$"), 2.0 + slack(),
                         "the window gone a second after its Timeout")


def double_click(dialog, name):
    """Two presses 120 ms apart, as a user's double-click: the first is answered at once, so
    what it brings up or enables is under the pointer for the second."""
    x, y = xwidgets.widget_center(dialog.tree.find(name))
    dialog.session.xdotool("mousemove", int(x), int(y))
    time.sleep(0.05)
    dialog.session.xdotool("click", "--repeat", "2", "--delay", "120", 1)


def test_a_double_click_gives_one_answer_and_never_a_confirmation(client, tmp_path):
    dialog = start(client, tmp_path, *(request(100 + n, f"Request {n}", Cancellable=True)
                                       for n in range(3)),
                   request(110, "Careful", PreActionMessage="Save first."),
                   request(111, "After", PreActionMessage="Close your mail."))
    for identifier, button in ((100, "takeActions"), (101, "cancelAction")):
        dialog.click_item(0)
        dialog.wait_sensitive(button)
        double_click(dialog, button)
        assert answer_after(client, time.monotonic())[0] == qvxsim.ActionTaken(
            button == "cancelAction", False, identifier, "ClientUI")
        # The request that moved under the pointer was not answered by the second press.
        expect_silence(client, 1.0)
    # The confirmation that the first press opened stays for the user to read.
    dialog.click_item(1)
    dialog.wait_sensitive("takeActions")
    double_click(dialog, "takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    expect_silence(client, 1.0)
    assert client.xsession.find_windows(CONFIRMATION) == [confirmation.window]
    confirmation.click("cancel")
    # Take All: accepting the first confirmation with a double-click leaves the second open.
    dialog.wait_sensitive("takeAllActions")
    dialog.click("takeAllActions")
    first = Dialog(client.xsession, CONFIRMATION)
    assert first.value("actionconfirmation", "text") == "Save first."
    double_click(first, "ok")
    client.xsession.wait_gone(first.window)
    second = Dialog(client.xsession, CONFIRMATION)
    assert second.value("actionconfirmation", "text") == "Close your mail."
    expect_silence(client, 1.0)
    second.click("ok")
    assert [client.read_message(timeout=3.0 + slack()).id
            for _ in range(3)] == [102, 110, 111]


def expect_silence(client, seconds):
    with pytest.raises(qvxsim.SimulatorTimeout):
        client.read_frame(timeout=seconds)
