"""Every dialog from the keyboard alone, on a real display: the keys go to the window the window
manager gave the input focus, as a user's would."""

import time

import pytest

import qvxsim
from test_action_request_dialog import (CONFIRMATION, SECOND, TITLE, Dialog, client, now,  # noqa: F401
                                        request, start, taken)
from instrumented import slack
from test_link import expect_still_running
from test_message_windows import begin, message

pytestmark = pytest.mark.memcheck


def press(dialog, *keys):
    """Keys one by one into the dialog's window, given the focus first (through the window
    manager where it takes requests), each past the multi-click time of the one before: a key
    pressed again sooner continues the press before it, and answers nothing."""
    focus = "windowactivate" if dialog.session.ewmh else "windowfocus"
    for key in keys:
        dialog.session.xdotool(focus, "--sync", str(dialog.window), "key", "--clearmodifiers", key)
        time.sleep(0.25)


def settle(dialog):
    """Gives the action request dialog the keyboard and waits as a user would look at it: keys
    do nothing there for a second after it gains the keyboard."""
    focus = "windowactivate" if dialog.session.ewmh else "windowfocus"
    dialog.session.xdotool(focus, "--sync", str(dialog.window))
    time.sleep(1.0 + slack())


def opened(client, tmp_path, *messages):
    dialog = start(client, tmp_path, *messages)
    settle(dialog)
    return dialog


def test_a_request_chosen_and_taken_by_keys(client, tmp_path):
    dialog = opened(client, tmp_path, request(21, "Alpha", Cancellable=False),
                   request(22, "Beta", Cancellable=False))
    # From "Take All Actions" back to the list, two lines down, on past the buttons the
    # selection left insensitive or unmapped to "Take Action".
    press(dialog, "shift+Tab", "Down", "Down")
    assert (dialog.value("actiontitle"), dialog.value("takeActions")) == ("Beta", "Take Action")
    press(dialog, "Tab", "Tab", "Return")
    assert taken(client, 22)


@pytest.mark.parametrize("keys", [("keydown", "Return", "sleep", "1.5", "keyup", "Return"),
                                  ("key", "--delay", "40", "Return", "Return"),
                                  ("key", "--delay", "400", "Return", "Return")])
def test_a_held_or_doubled_return_takes_one_request(client, tmp_path, keys):
    dialog = opened(client, tmp_path, *(request(n, f"R{n}", Cancellable=False) for n in (31, 32)))
    press(dialog, "shift+Tab", "Down", "Tab", "Tab")
    dialog.session.xdotool(*keys)
    assert taken(client, 31)
    expect_still_running(client, 1.0)


def test_keys_typed_as_the_dialog_opens_or_after_a_click_on_a_line_answer_nothing(client,
                                                                                 tmp_path):
    # Typed for another window as the dialog takes the keyboard; then Return after a click on
    # a line, which puts the focus on the list.
    begin(client, tmp_path, request(25, "Typed over"), request(26, "Clicked"))
    client.xsession.find_window(TITLE)
    client.xsession.xdotool("key", "--delay", "60", "Tab", "Tab", "Return")
    expect_still_running(client, 1.0 + slack())
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(1)
    settle(dialog)
    press(dialog, "Return")
    expect_still_running(client, 1.0)
    press(dialog, "Tab", "Tab", "Return")  # Take All, then Take Action past Details and Cancel
    assert taken(client, 26)


def test_a_focus_whose_button_goes_insensitive_falls_on_the_list_not_an_answer(client, tmp_path):
    dialog = opened(client, tmp_path, request(35, "A", Cancellable=True),
                   request(36, "B", Cancellable=False))
    press(dialog, "shift+Tab", "Down", "Tab", "Tab", "Return")  # Cancel Action on A
    assert taken(client, 35, is_cancel=True)
    press(dialog, "Return")  # meant for Cancel, which B does not have
    expect_still_running(client, 1.0)


def test_a_snooze_time_chosen_by_keys_is_the_one_sent(client, tmp_path):
    dialog = opened(client, tmp_path, request(61, "Later"))
    # Around the end to the snooze list, from "in 1 minute" to "in 5 minutes", then Snooze.
    press(dialog, "shift+Tab", "shift+Tab", "shift+Tab", "Down", "Tab", "space")
    client.read_message()  # RemindTime
    assert client.read_message() == qvxsim.RemindInterval(300 * 1000000, None)


def test_confirmation_starts_on_cancel_and_escape_refuses(client, tmp_path):
    dialog = opened(client, tmp_path, request(31, "Upgrade", PreActionMessage="Save your files."))
    # The dialog opened on its own: until the focus has moved in it, keys typed for another
    # window that land here press nothing.
    press(dialog, "Return", "space")
    assert not client.xsession.find_windows(CONFIRMATION)
    press(dialog, "shift+Tab", "Tab", "Return")  # Take All Actions
    confirmation = Dialog(client.xsession, CONFIRMATION)
    press(dialog, "Return", "space", "Tab", "Escape")  # the dialog behind it takes no keys
    press(confirmation, "Escape")
    client.xsession.wait_gone(confirmation.window)
    # Back on the list once a key has answered, the dialog's keys settling again.
    dialog.wait_sensitive("takeAllActions")
    settle(dialog)
    press(dialog, "Tab", "Return")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    press(confirmation, "Return")
    client.xsession.wait_gone(confirmation.window)
    expect_still_running(client, 1.0)
    dialog.wait_sensitive("takeAllActions")
    settle(dialog)
    press(dialog, "Tab", "Return")
    press(Dialog(client.xsession, CONFIRMATION), "shift+Tab", "Return")
    assert taken(client, 31)


def test_escape_closes_the_script_preview_and_a_message(client, tmp_path):
    dialog = opened(client, tmp_path, request(41, "Script", Preview="echo hi"))
    press(dialog, "shift+Tab", "Down", "Tab", "Tab", "Return")  # Action Details
    preview = Dialog(client.xsession, "^Action Script Preview$")
    press(preview, "Escape")
    client.xsession.wait_gone(preview.window)
    client.send_messages(message(1, "Note"))
    note = Dialog(client.xsession, "^Note$")
    press(note, "Escape")
    client.xsession.wait_gone(note.window)
    expect_still_running(client, 0.5)


def test_escape_closes_the_quiet_mode_notice_over_a_dialog_that_takes_no_keys(client, tmp_path):
    quiet = qvxsim.quiet_mode_start(StartTime=now(), EndTime=now() + 3600 * SECOND)
    dialog = opened(client, tmp_path, request(51, "Held"), quiet)
    notice = Dialog(client.xsession, "^Not Currently Available$")
    press(dialog, "Return")
    press(notice, "Escape")
    client.xsession.wait_gone(notice.window)
    dialog.wait_sensitive("takeAllActions")
    expect_still_running(client, 0.5)


def test_the_keys_are_resources_an_administrator_can_change(client_with, tmp_path):
    resources = tmp_path / "resources"
    resources.write_text("*Command.keyTranslations: <Key>F5: set() notify() unset()\n")
    simulator = client_with(XENVIRONMENT=str(resources))
    begin(simulator, tmp_path, message(1, "Note"))
    note = Dialog(simulator.xsession, "^Note$")
    press(note, "Escape")
    assert simulator.xsession.find_windows("^Note$") == [note.window]
    press(note, "F5")
    simulator.xsession.wait_gone(note.window)
