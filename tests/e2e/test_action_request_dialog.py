"""The action request dialog on a real display: what the user sees (read through editres), what
their clicks send to the client, and how the program ends when its display or client goes."""

import datetime
import time

import pytest

import memcheck
import qvxsim
import xsession as xsession_module
import xwidgets
from instrumented import slack
from test_link import expect_clean_exit, expect_still_running

pytestmark = pytest.mark.memcheck

TITLE, CONFIRMATION = "^Vantrel Action Requests$", "^Confirmation Required$"
SECOND = datetime.timedelta(seconds=1)


def now():
    return datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)


def request(identifier, title, **fields):
    return qvxsim.action_request(ID=identifier, Title=title, ShortDescription=f"About {title}",
                                 **fields)


class Dialog:
    """One window of the program, read and clicked as a user would."""

    def __init__(self, xsession, title):
        self.session = xsession
        self.window = xsession.find_window(title, timeout=5.0 + slack())
        self.tree = xwidgets.WidgetTree.fetch(xsession.x, self.window)
        try:
            self.value("form", "width")
        except xwidgets.EditresError:
            # editres names widgets by 32 bits of their address; a sanitizer's heap lies higher,
            # memcheck's does not.
            if memcheck.enabled():
                raise
            pytest.skip("this build's widgets cannot be named through editres")

    def value(self, name, resource="label"):
        node = self.tree.find(name)
        return xwidgets.text_of(node) if resource == "text" else xwidgets.get_value(node, resource)

    def sensitive(self, name):
        return self.value(name, "sensitive") == "true"

    def wait_sensitive(self, name):
        xsession_module.poll(lambda: self.sensitive(name), 3.0 + slack(), f"{name} sensitive")

    def click(self, name):
        self.session.click_at(*xwidgets.widget_center(self.tree.find(name)))

    def click_item(self, index, list_number=0):
        """Clicks a line of the action list (0) or the snooze list (1). The viewport stretches a
        short list, so a line is as tall as a one-line label's text plus the row spacing."""
        node = [node for node in self.tree.nodes if node.wclass == "List"][list_number]
        label = self.tree.find("actionListLabel")
        row = (xwidgets.geometry(label).height - 2 * int(self.value(label.name, "internalHeight"))
               + int(xwidgets.get_value(node, "rowSpacing")))
        x = self.tree.link.x
        corner = x.screen().root.translate_coords(x.create_resource_object("window", node.window),
                                                  0, 0)
        top = corner.y + int(xwidgets.get_value(node, "internalHeight"))
        self.session.click_at(corner.x + 12, top + row * (index + 0.5))


def begin(client, tmp_path, *requests):
    """The handshake, the session's set-up and the requests, each in a document of its own."""
    client.read_frame()
    client.send_messages(qvxsim.initialization_info(BaseDirectory=str(tmp_path / "base")))
    if requests:
        client.send_messages(*requests)


def start(client, tmp_path, *requests):
    begin(client, tmp_path, *requests)
    return Dialog(client.xsession, TITLE)


def taken(client, identifier, is_cancel=False, within=3.0):
    return client.read_message(timeout=within + slack()) == qvxsim.ActionTaken(
        is_cancel, False, identifier, "ClientUI")


@pytest.fixture
def client(client, xsession):
    client.xsession = xsession  # the helpers reach the display through the program's client
    return client


@pytest.fixture(scope="module")
def shots(tmp_path_factory):
    """This run's screenshots, for a person to look at; never in the work tree."""
    return tmp_path_factory.mktemp("shots")


def test_take_details_and_cancel_of_the_selected_request(client, tmp_path, shots):
    dialog = start(client, tmp_path, request(11, "Alpha", Preview="echo alpha", Cancellable=True),
                   request(12, "Beta", Cancellable=True),
                   request(13, "Gamma", Deadline=now() + 5 * 3600 * SECOND))
    assert [dialog.value(name) for name in ("actiontitle", "takeActions", "cancelAction")] == [
        "There are 3 pending actions.", "Take Actions", "Cancel Actions"]
    assert [dialog.sensitive(name) for name in ("takeAllActions", "actionDetails", "takeActions",
                                                "snoozeButton")] == [True, False, False, True]
    dialog.click_item(0)
    client.xsession.screenshot(dialog.window, shots / "action-requests.png")
    assert (dialog.value("actiontitle"), dialog.value("takeActions")) == ("Alpha", "Take Action")
    dialog.click("actionDetails")
    details = Dialog(client.xsession, "^Action Script Preview$")
    client.xsession.screenshot(details.window, shots / "details.png")
    assert details.value("actiondetails", "text") == "echo alpha"
    assert not dialog.sensitive("takeActions")
    details.click("ok")
    dialog.wait_sensitive("takeActions")
    dialog.click("takeActions")
    assert taken(client, 11)
    # The selection stays on its position, which now holds the next request.
    dialog.wait_sensitive("cancelAction")
    assert dialog.value("actiontitle") == "Beta"
    dialog.click("cancelAction")
    assert taken(client, 12, is_cancel=True)
    dialog.wait_sensitive("takeAllActions")
    assert dialog.value("actiondesc", "text").startswith("About Gamma\n\nYou must take this")
    # No request left has a Preview.
    assert dialog.value("actionDetails", "mappedWhenManaged") == "false"


def test_confirmation_comes_first_and_take_all_asks_once(client, tmp_path, shots):
    dialog = start(client, tmp_path, request(33, "First"),
                   request(31, "Second", PreActionMessage="Save your files."), request(32, "Third"))
    dialog.click_item(1)
    dialog.click("takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    client.xsession.screenshot(confirmation.window, shots / "confirmation.png")
    assert confirmation.value("actionconfirmation", "text") == "Save your files."
    expect_still_running(client, 1.5)
    confirmation.click("cancel")
    dialog.wait_sensitive("takeAllActions")
    expect_still_running(client, 1.0)
    dialog.click("takeAllActions")
    Dialog(client.xsession, CONFIRMATION).click("ok")
    assert [taken(client, identifier) for identifier in (33, 31, 32)] == [True] * 3
    dialog.wait_sensitive("snoozeButton")
    assert [dialog.value(name) for name in ("actiontitle", "snoozeButton")] == [
        "There are no pending actions.", "Close"]


def test_snooze_closes_until_the_hidden_window_is_asked_to_open(client, tmp_path):
    dialog = start(client, tmp_path, request(51, "Later"))
    dialog.click_item(1, list_number=1)  # "in 5 minutes", below the preselected "in 1 minute"
    dialog.click("snoozeButton")
    snoozed_at = now()
    client.xsession.wait_gone(dialog.window)
    remind_time, remind_interval = client.read_message(), client.read_message()
    assert remind_interval == qvxsim.RemindInterval(300 * 1000000, None)
    assert remind_time.originator is None
    assert abs(remind_time.time_object - (snoozed_at + 300 * SECOND)) <= 2 * SECOND
    hidden = client.xsession.find_unmapped_by_name("QVXClientUIHiddenWindow")
    client.xsession.send_client_message(hidden, b"open")
    reopened = Dialog(client.xsession, TITLE)
    assert reopened.value("actiontitle") == "There is 1 pending action."
    client.xsession.close_via_wm(reopened.window)
    expect_still_running(client, 1.5)
    assert client.xsession.find_windows(TITLE) == [reopened.window]


def test_forced_request_is_taken_once_its_deadline_passes(client, tmp_path):
    deadline = now() + 4 * SECOND
    dialog = start(client, tmp_path, request(61, "Forced", ForceRun=True, Deadline=deadline))
    assert "will run automatically in" in dialog.value("actiondesc", "text")
    assert taken(client, 61, within=6.5)
    assert datetime.datetime.now(datetime.timezone.utc) - deadline <= (2.2 + slack()) * SECOND
    assert dialog.value("actiontitle") == "There are no pending actions."


def expect_exit(simulator, status, since, seconds=(2.0, 3.25)):
    """The status, after the two-second pause (plus up to one start-up poll), nothing on stderr.
    An instrumented build starts and ends slower and gets its slack."""
    assert simulator.wait_exit(timeout=10.0 + slack(simulator.program)) == status
    assert seconds[0] <= simulator.seconds_from(since) <= seconds[1] + slack(simulator.program)
    assert simulator.stderr_bytes() == b""


@pytest.mark.wm_independent
def test_display_that_cannot_be_opened_ends_with_255(program, xsession, tmp_path,
                                                     program_prefix):
    # libXt keeps a few bytes of a failed XtOpenDisplay; a sanitizer build is not to count them.
    (tmp_path / "lsan.supp").write_text("leak:XtOpenDisplay\n")
    leaks = f"suppressions={tmp_path / 'lsan.supp'}:fast_unwind_on_malloc=0:print_suppressions=0"
    with qvxsim.Client(program, env=xsession.env(DISPLAY=":987", LSAN_OPTIONS=leaks),
                       prefix=program_prefix) as simulator:
        begin(simulator, tmp_path)
        expect_exit(simulator, 255, time.monotonic())


def test_losing_the_display_ends_with_0(program, tmp_path, program_prefix):
    with xsession_module.XSession() as private, \
            qvxsim.Client(program, env=private.env(), prefix=program_prefix) as simulator:
        begin(simulator, tmp_path, request(71, "Shown"))
        private.find_window(TITLE)
        killed = time.monotonic()
        private.kill_server()
        expect_exit(simulator, 0, killed, seconds=(2.0, 2.5))


def test_client_closing_the_link_with_the_dialog_open_ends_with_0(client, tmp_path):
    begin(client, tmp_path, request(81, "Open"))
    client.xsession.find_window(TITLE)
    expect_clean_exit(client, client.close_writing())


def test_close_button_bound_to_system_menu_close_ends_with_0(program, xsession, tmp_path,
                                                             program_prefix):
    # A resource file may bind the window manager's delete request to "SystemMenuClose"; the
    # action runs inside an event dispatch, where the toolkit only marks widgets for destruction.
    resources = tmp_path / "resources"
    resources.write_text("XQVXClientUI.translations: #override \\n"
                         "<Message>WM_PROTOCOLS: SystemMenuClose()\n")
    with qvxsim.Client(program, env=xsession.env(XENVIRONMENT=str(resources)),
                       prefix=program_prefix) as simulator:
        begin(simulator, tmp_path, request(91, "Closable"))
        window = xsession.find_window(TITLE)
        closed = time.monotonic()
        xsession.close_via_wm(window)
        expect_exit(simulator, 0, closed, seconds=(2.0, 2.5))
