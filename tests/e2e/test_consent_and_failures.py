"""Sequences a careful user and an untidy client produce: consent is asked for the very record
the user chose and never skipped while a confirmation is open; a message the program cannot show
is dropped and the session goes on; a clicked snooze choice is what Snooze sends."""

import datetime

import pytest

import qvxsim
import xsession as xsession_module
import xwidgets
from test_action_request_dialog import CONFIRMATION, TITLE, Dialog, now, request, taken
from instrumented import slack
from test_link import expect_still_running

pytestmark = pytest.mark.memcheck

NOTICE = "^Not Currently Available$"
# The C locale (no UseLocale) holds ASCII only.
NOT_IN_LOCALE = "Don\u2019t switch off"
SECOND = datetime.timedelta(seconds=1)


def begin(client, tmp_path, *messages, brand=None, **settings):
    """The handshake and the set-up, with brand as the lines of a _brand.xlat when given."""
    client.read_frame()
    files = []
    if brand is not None:
        content = "".join(f"{key}\t{text}\n" for key, text in brand).encode()
        files.append(qvxsim.support_file(FileName="_brand.xlat", Content=content))
    client.send_messages(qvxsim.initialization_info(
        BaseDirectory=str(tmp_path / "base"), SupportFiles=files,
        InitialUISettings=qvxsim.ui_settings(**settings)))
    if messages:
        client.send_messages(*messages)


def message(identifier, title, text=None, **fields):
    return qvxsim.message_request(ID=identifier, Title=title, Message=text or title, **fields)


def stays_disabled(dialog, seconds=1.6):
    """Two ticks pass and the answers are still out of reach."""
    expect_still_running(dialog.client, seconds)
    return not any(dialog.sensitive(name) for name in ("takeAllActions", "takeActions"))


@pytest.fixture
def client(client, xsession):
    client.xsession = xsession
    return client


@pytest.mark.wm_independent
@pytest.mark.parametrize("bad, brand", [
    (message(4, NOT_IN_LOCALE, "Save your work."), None),
    (message(4, "Updates", NOT_IN_LOCALE), None),
    (message(4, "Updates", "Save your work."), [("OK", "O{K")]),
    (message(4, "Updates", IsCompletionMessage=True), [("Vantrel notification:", "{x}")]),
    (message(4, "Updates", IsCompletionMessage=True),
     [('Action "{actionTitle}" has completed.', "Action {actionTitle")]),
], ids=["title-not-in-locale", "text-not-in-locale", "broken-ok", "broken-completion-title",
        "broken-completion-body"])
def test_a_message_that_cannot_be_shown_is_dropped_and_the_session_goes_on(client, tmp_path,
                                                                          bad, brand):
    begin(client, tmp_path, bad, brand=brand)
    # A failing message drops what follows it in the same read, so each message below comes
    # once the one before it has been dealt with (the first waits behind the set-up).
    expect_still_running(client, 2.5)
    # Every message window has the broken "OK"; a request still shows.
    broken_ok = brand == [("OK", "O{K")]
    client.send_messages(message(5, "Next one"))
    expect_still_running(client, 1.5)
    client.send_messages(request(6, "Next request"))
    Dialog(client.xsession, TITLE)
    assert client.xsession.find_windows("^Next one$") == ([] if broken_ok else
                                                          [client.xsession.find_window("^Next one$")])
    assert client.xsession.find_windows("^(Updates|Vantrel notification:)$") == []
    expect_still_running(client, 1.0)


def test_a_failed_update_keeps_the_window_and_its_timeout(client, tmp_path):
    begin(client, tmp_path, message(6, "Timed", Timeout=datetime.timedelta(seconds=3)))
    window = client.xsession.find_window("^Timed$")
    client.send_messages(message(6, NOT_IN_LOCALE))
    expect_still_running(client, 1.2)
    assert client.xsession.find_windows("^Timed$") == [window]
    client.xsession.wait_gone(window, timeout=4.0 + slack())


def open_confirmation(client, tmp_path, **settings):
    """Two requests, the first needing consent, taken by the user; returns both windows."""
    begin(client, tmp_path, request(21, "Needs consent", PreActionMessage="Reboot now?",
                                    Preview="reboot"),
          request(22, "Plain"), **settings)
    dialog = Dialog(client.xsession, TITLE)
    dialog.client = client
    dialog.click_item(0)
    dialog.click("takeActions")
    return dialog, Dialog(client.xsession, CONFIRMATION)


def test_quiet_mode_never_enables_the_dialog_under_an_open_confirmation(client, tmp_path):
    dialog, confirmation = open_confirmation(client, tmp_path)
    client.send_messages(qvxsim.quiet_mode_start(StartTime=now(), EndTime=now() + 3600 * SECOND))
    Dialog(client.xsession, NOTICE).click("ok")
    assert stays_disabled(dialog)
    client.send_messages(qvxsim.quiet_mode_end())
    assert stays_disabled(dialog)
    # Had the dialog been enabled, Take All would now ask no consent for the open confirmation.
    dialog.click("takeAllActions")
    confirmation.click("ok")
    assert taken(client, 21)
    dialog.wait_sensitive("takeAllActions")
    # The selection stays on its position, which now holds the other request.
    assert dialog.value("actiontitle") == "Plain"


def test_duplicate_ids_act_on_the_record_the_user_selected(client, tmp_path):
    begin(client, tmp_path, request(7, "First"),
          request(7, "Second", PreActionMessage="Reboot now?"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(1)
    xsession_module.poll(lambda: dialog.value("actiontitle") == "Second", 3.0, "Second selected")
    dialog.click("takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    assert confirmation.value("actiontitle") == "Second"
    assert confirmation.value("actionconfirmation", "text") == "Reboot now?"
    expect_still_running(client, 1.5)
    confirmation.click("ok")
    assert taken(client, 7)
    dialog.wait_sensitive("takeAllActions")
    dialog.click_item(0)
    assert dialog.value("actiontitle") == "First"


BROKEN_SUMMARY_TEXTS = [
    ("{date} {time}", "{date} {time"),
    ("You must take this action within {DeadlineText}.", "{when}"),
    ("There is at least one action you must take within {DeadlineText}.", "{DeadlineText} {x}"),
    ("{hours} hours", "{hours"),
]


def test_broken_summary_texts_show_a_marker_and_the_dialog_still_works(client, tmp_path):
    begin(client, tmp_path, request(31, "Dated", Deadline=now() + 5 * 3600 * SECOND),
          message(32, "In the same batch"), brand=BROKEN_SUMMARY_TEXTS)
    dialog = Dialog(client.xsession, TITLE)
    # The message window opens above the dialog; once it is read, the dialog is clicked.
    batch_mate = Dialog(client.xsession, "^In the same batch$")
    batch_mate.click("dismiss")
    client.xsession.wait_gone(batch_mate.window)
    assert dialog.value("actiontitle") == "There is 1 pending action."
    assert dialog.value("actiondesc", "text") == "<Invalid String>"
    assert [int(xwidgets.get_value(node, "numberStrings"))
            for node in dialog.tree.nodes if node.wclass == "List"] == [1, 19]
    dialog.click_item(0)
    xsession_module.poll(lambda: dialog.value("actiondesc", "text") == "About Dated\n\n<Invalid String>",
                         3.0, "the selected request's description")
    dialog.click("snoozeButton")
    assert isinstance(client.read_message(timeout=3.0), qvxsim.RemindTime)


def test_a_clicked_snooze_choice_survives_a_refresh(client, tmp_path):
    begin(client, tmp_path, request(41, "Later"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(1, list_number=1)  # "in 5 minutes"; "in 1 minute" was preselected
    client.send_messages(request(42, "Arrives meanwhile"))
    xsession_module.poll(lambda: dialog.value("actiontitle") == "There are 2 pending actions.",
                         3.0, "the new request listed")
    dialog.click("snoozeButton")
    client.read_message(timeout=3.0)  # RemindTime
    assert client.read_message(timeout=3.0) == qvxsim.RemindInterval(300 * 1000000, None)


def test_close_with_nothing_pending_never_snoozes(client, tmp_path):
    begin(client, tmp_path, request(51, "Soon gone"))
    dialog = Dialog(client.xsession, TITLE)
    client.send_messages(qvxsim.remove_request(ID=51, RemoveType="Action"))
    xsession_module.poll(lambda: dialog.value("snoozeButton") == "Close", 3.0, "Close shown")
    dialog.click("snoozeButton")
    # A request before the next tick must not turn the closing into a snooze.
    client.send_messages(request(52, "Right after"))
    expect_still_running(client, 2.5)
    Dialog(client.xsession, TITLE)


def test_quiet_mode_ending_between_a_take_and_its_tick_leaves_the_dialog_disabled(client,
                                                                                  tmp_path):
    begin(client, tmp_path, request(61, "Needs consent", PreActionMessage="Reboot now?"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.client = client
    client.send_messages(qvxsim.quiet_mode_start(StartTime=now(), EndTime=now() + 3600 * SECOND))
    Dialog(client.xsession, NOTICE).click("ok")
    dialog.wait_sensitive("takeAllActions")
    dialog.click_item(0)
    dialog.click("takeActions")
    # Applied by the tick before it carries out the take.
    client.send_messages(qvxsim.quiet_mode_end())
    confirmation = Dialog(client.xsession, CONFIRMATION)
    assert stays_disabled(dialog)
    confirmation.click("cancel")
    dialog.wait_sensitive("takeAllActions")


def test_an_overlong_title_is_cut_and_the_session_goes_on(client, tmp_path):
    begin(client, tmp_path, request(71, "Long" * 100000, PreActionMessage="Really?"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(0)
    dialog.click("takeActions")
    Dialog(client.xsession, CONFIRMATION).click("ok")
    assert taken(client, 71)


def test_a_notice_ok_and_a_take_in_one_tick_leave_the_dialog_disabled_under_the_confirmation(
        client, tmp_path):
    """The notice's OK enables the dialog and a take in the same tick opens a confirmation: the
    dialog must end disabled under it."""
    begin(client, tmp_path, request(1, "Alpha", PreActionMessage="pa"),
          request(2, "Beta", PreActionMessage="pb"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(0)
    dialog.click("takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    client.send_messages(qvxsim.quiet_mode_start(StartTime=now(), EndTime=now() + 3600 * SECOND))
    notice = Dialog(client.xsession, NOTICE)
    confirmation.click("ok")
    assert taken(client, 1)
    client.xsession.wait_gone(confirmation.window)
    # Accepting re-enables the dialog under the notice, as an answer carried out does.
    dialog.click_item(0)
    xsession_module.poll(lambda: dialog.value("actiontitle") == "Beta", 3.0, "Beta selected")
    dialog.wait_sensitive("takeActions")
    ok = xwidgets.widget_center(notice.tree.find("ok"))
    take = xwidgets.widget_center(dialog.tree.find("takeActions"))
    # Both clicks as close together as xdotool allows: nearly always inside one tick.
    client.xsession.xdotool("mousemove", int(ok[0]), int(ok[1]), "click", "1",
                            "mousemove", int(take[0]), int(take[1]), "click", "1")
    Dialog(client.xsession, CONFIRMATION)
    expect_still_running(client, 2.2)
    assert not dialog.sensitive("takeAllActions")


def test_take_all_clicked_under_an_open_confirmation_starts_nothing(client, tmp_path):
    """The confirmation of a take alone is open: a click on Take All lands on the disabled dialog
    and must not turn the OK that follows into the first step of a sequence."""
    begin(client, tmp_path, request(14, "Alpha", PreActionMessage="Confirm Alpha"),
          request(30, "Beta", PreActionMessage="Confirm Beta"), request(50, "Gamma"))
    dialog = Dialog(client.xsession, TITLE)
    dialog.click_item(0)
    dialog.click("takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    # Out of the way, so that the click reaches the dialog beneath.
    client.xsession.xdotool("windowmove", "--sync", confirmation.window, 0, 0)
    dialog.click("takeAllActions")
    expect_still_running(client, 1.2)
    confirmation.click("ok")
    assert taken(client, 14)
    client.xsession.wait_gone(confirmation.window)
    expect_still_running(client, 1.5)
    assert client.xsession.find_windows(CONFIRMATION) == []
    dialog.wait_sensitive("takeAllActions")
    assert [int(xwidgets.get_value(node, "numberStrings"))
            for node in dialog.tree.nodes if node.wclass == "List"][0] == 2


# A deadline a client may send whose local date, an hour west of UTC, falls before the year 0.
YEAR_ZERO = "Sat, 01 Jan 0000 00:30:00 +0000"


@pytest.fixture
def west_client(client_with):
    return client_with(TZ="QVX+1")


def test_a_deadline_without_a_local_date_shows_a_marker_and_the_list_stays_true(west_client,
                                                                                tmp_path):
    """It failed every refresh: the list froze at what it showed before, and Take All answered
    requests the user had never seen."""
    begin(west_client, tmp_path, request(1, "Alpha"))
    dialog = Dialog(west_client.xsession, TITLE)
    west_client.send_messages(request(2, "Beta", Deadline=YEAR_ZERO),
                              request(3, "Gamma", Deadline=now() + 5 * 3600 * SECOND))
    xsession_module.poll(lambda: dialog.value("actiontitle") == "There are 3 pending actions.",
                         3.0, "the three requests listed")
    dialog.click_item(1)
    xsession_module.poll(lambda: dialog.value("actiontitle") == "Beta", 3.0, "Beta selected")
    assert dialog.sensitive("takeAllActions")


@pytest.mark.parametrize("times, brand", [
    ((YEAR_ZERO, YEAR_ZERO), None),
    (None, [("Your administrator has disabled this feature between {start} and {end}.",
             "Funktion deaktiviert zwischen {start} und {end} \u2013 bitte warten.")]),
], ids=["times-without-a-local-date", "sentence-not-in-locale"])
def test_a_quiet_mode_notice_that_cannot_say_it_all_still_shows(west_client, tmp_path, times,
                                                                 brand):
    """Either ended the program: the notice's texts were computed inside its build."""
    begin(west_client, tmp_path, request(1, "Alpha"), brand=brand)
    dialog = Dialog(west_client.xsession, TITLE)
    start, end = times or (now(), now() + 3600 * SECOND)
    west_client.send_messages(qvxsim.quiet_mode_start(StartTime=start, EndTime=end))
    notice = Dialog(west_client.xsession, NOTICE)
    assert notice.value("staticlabel") == (
        "<Invalid String>" if brand else
        "Your administrator has disabled this feature between 23:30:00 and 23:30:00.")
    assert not dialog.sensitive("takeAllActions")
    notice.click("ok")
    dialog.wait_sensitive("takeAllActions")
    assert west_client.is_running()


def test_a_codeset_variant_of_c_is_the_c_locale(client_with, tmp_path):
    """With C.UTF-8 no locale is in use, yet texts went out in UTF-8 to widgets drawing Latin-1:
    the user read mojibake. As in C, a text the locale cannot hold is dropped."""
    client = client_with(LC_ALL="C.UTF-8")
    begin(client, tmp_path, message(4, NOT_IN_LOCALE, "Save your work."), UseLocale=True)
    expect_still_running(client, 2.5)
    client.send_messages(message(5, "Next one"))
    client.xsession.find_window("^Next one$")
    assert client.xsession.find_windows("^Don") == []
