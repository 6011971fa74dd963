"""Message windows and the quiet-mode notice on a real display: their texts and buttons read
through editres, their stay-on-top state as the window manager reports it, their buttons clicked."""

import datetime
import select
import time

import pytest
import Xlib.protocol.event
import Xlib.X
import Xlib.Xatom

import qvxsim
import xsession as xsession_module
import xwidgets
from instrumented import slack
from test_action_request_dialog import TITLE, Dialog, now, shots, taken  # noqa: F401 (fixture)
from test_link import expect_still_running

pytestmark = pytest.mark.memcheck

NOTICE, NOTIFICATION = "^Not Currently Available$", "^Vantrel notification:$"


def begin(client, tmp_path, *messages, **settings):
    client.read_frame()
    client.send_messages(qvxsim.initialization_info(
        BaseDirectory=str(tmp_path / "base"), InitialUISettings=qvxsim.ui_settings(**settings)))
    client.send_messages(*messages)


def message(identifier, title, text=None, **fields):
    return qvxsim.message_request(ID=identifier, Title=title, Message=text or title, **fields)


def dismiss_mapped(dialog):
    return xwidgets.geometry(dialog.tree.find("dismiss")).mapped


def test_one_window_per_message_updated_in_place(client, xsession, tmp_path, shots):
    begin(client, tmp_path, message(1, "First", "one"), message(2, "Second", "two"))
    first, second = Dialog(xsession, "^First$"), Dialog(xsession, "^Second$")
    xsession.screenshot(second.window, shots / "message.png")
    client.send_messages(message(1, "First again", "changed"))
    assert xsession.find_window("^First again$") == first.window
    assert first.value("actionmessage", "text") == "changed"
    assert len(xsession.find_windows("^(First again|Second)$")) == 2
    # The completion notice has fixed texts, OK closes it and nothing is sent.
    client.send_messages(message(3, "Disk Cleanup", IsCompletionMessage=True))
    notice = Dialog(xsession, NOTIFICATION)
    xsession.screenshot(notice.window, shots / "completion.png")
    assert notice.value("actionmessage", "text") == 'Action "Disk Cleanup" has completed.'
    assert dismiss_mapped(notice) and notice.value("dismiss") == "OK"
    notice.click("dismiss")
    xsession.wait_gone(notice.window)
    client.send_messages(qvxsim.remove_request(ID=2, RemoveType="Message"))
    xsession.wait_gone(second.window)
    expect_still_running(client, 1.0)


def test_persistent_running_message_stays_on_top_until_timeout_or_removal(client, xsession,
                                                                           tmp_path):
    begin(client, tmp_path, message(5, "Timed", Timeout=datetime.timedelta(seconds=2)),
          message(6, "Until removed"), PersistRunningMessage=True, TopmostRunningMessage=True)
    xsession.find_window("^Timed$")
    shown = time.monotonic()
    timed = Dialog(xsession, "^Timed$")
    assert not dismiss_mapped(timed)
    if xsession.ewmh:
        xsession_module.poll(
            lambda: "_NET_WM_STATE_ABOVE" in xsession.net_wm_state(timed.window),
            2.0 + slack(), "stays on top")
    else:
        assert xsession.net_wm_state(timed.window) == set()  # nothing to ask (test_window_managers)
    # The tick that showed it is the first of the ticks, a second apart, that check its expiry.
    xsession.wait_gone(timed.window)
    # An instrumented program maps its window late, so the window is seen for less of its life.
    assert 1.5 - slack() <= time.monotonic() - shown <= 3.0 + slack()
    until_removed = xsession.find_window("^Until removed$")
    client.send_messages(qvxsim.remove_request(ID=6))
    xsession.wait_gone(until_removed)


def test_quiet_mode_notice_holds_forced_runs_until_quiet_mode_ends(client, xsession, tmp_path,
                                                                    shots):
    start, end = now().replace(hour=8, minute=0, second=0), now().replace(hour=17, minute=30, second=0)
    quiet = qvxsim.quiet_mode_start(StartTime=start, EndTime=end)
    # The request opens the action request dialog; the second start changes nothing.
    begin(client, tmp_path, qvxsim.action_request(ID=9, ForceRun=True, Deadline=now()), quiet,
          qvxsim.quiet_mode_start(StartTime=end, EndTime=end))
    dialog, notice = Dialog(xsession, TITLE), Dialog(xsession, NOTICE)
    xsession.screenshot(notice.window, shots / "quiet-mode.png")
    period = [moment.astimezone().strftime("%H:%M:%S") for moment in (start, end)]
    assert notice.value("staticlabel") == (
        "Your administrator has disabled this feature between {} and {}.".format(*period))
    assert not dialog.sensitive("takeAllActions")
    # OK gives the dialog back while quiet mode goes on: the passed deadline still waits.
    notice.click("ok")
    xsession.wait_gone(notice.window)
    dialog.wait_sensitive("takeAllActions")
    expect_still_running(client, 2.0)
    client.send_messages(quiet)
    notice = Dialog(xsession, NOTICE)
    client.send_messages(qvxsim.quiet_mode_end())
    xsession.wait_gone(notice.window)
    assert taken(client, 9)


def test_messages_before_initialization_wait_for_the_display(client, xsession, tmp_path):
    # The program has no display yet: the latest text of each ID is shown once it has one, and a
    # message removed meanwhile never is.
    client.read_frame()
    client.send_messages(message(11, "Early"), message(12, "Withdrawn"))
    client.send_messages(message(11, "Early, updated"),
                         qvxsim.remove_request(ID=12, RemoveType="Message"))
    expect_still_running(client, 1.5)
    client.send_messages(qvxsim.initialization_info(BaseDirectory=str(tmp_path / "base")))
    xsession.find_window("^Early, updated$")
    assert not xsession.find_windows("^(Early|Withdrawn)$")


def test_a_window_closed_while_a_resource_editor_holds_its_answer(client, xsession, tmp_path):
    # The toolkit hangs the end of each editres transfer on the answering shell: the editor's
    # deletion of the answer, or the time-out that gives up on it. Both come after the window
    # has gone, one when the editor gets round to it and one a selection time-out later.
    begin(client, tmp_path, message(1, "Late reader"), message(2, "Gone reader"))
    links = []
    for identifier, title in ((1, "^Late reader$"), (2, "^Gone reader$")):
        window = xsession.find_window(title)
        links.append(xwidgets.EditresLink(xsession.x, window, keep_answers=True))
        links[-1].request(xwidgets.SEND_WIDGET_TREE)
        client.send_messages(qvxsim.remove_request(ID=identifier, RemoveType="Message"))
        xsession.wait_gone(window)
        if identifier == 1:
            links[-1].release()
    expect_still_running(client, 6.0 + slack())  # the toolkit's 5 s selection time-out, passed
    client.send_messages(message(3, "Still here"))
    assert Dialog(xsession, "^Still here$").value("actionmessage", "text") == "Still here"
    for link in links:
        link.close()


def selection_request(x, timeout=10.0):
    """The next SelectionRequest the program sends to our connection."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        select.select([x], [], [], 0.2)
        while x.pending_events():
            event = x.next_event()
            if event.type == Xlib.X.SelectionRequest:
                return event
    raise AssertionError("the program asked for no selection")


def test_a_window_closed_while_it_waits_for_a_selection(client, xsession, tmp_path):
    # The program asks for a selection twice: a middle click on a text (a paste, which a
    # read-only text must not even ask for), and a resource editor's command, which comes in
    # pieces after the window has gone. The owner is ours and slow.
    begin(client, tmp_path, message(1, "Pasted on"), message(2, "Slow editor"))
    x = xsession_module.Xlib.display.Display(xsession.display)
    atom, ours = x.intern_atom, x.screen().root.create_window(0, 0, 1, 1, 0, 0)
    ours.set_selection_owner(Xlib.Xatom.PRIMARY, Xlib.X.CurrentTime)
    x.sync()
    pasted_on = xsession.find_window("^Pasted on$")
    left, top, width, height = xsession.placement(pasted_on)[0]
    xsession.click_at(left + width // 2, top + height // 4, button=2)
    slow = xsession.find_window("^Slow editor$")
    ours.set_selection_owner(atom("EditresComm"), Xlib.X.CurrentTime)
    x.create_resource_object("window", slow).send_event(Xlib.protocol.event.ClientMessage(
        window=slow, client_type=atom("Editres"),
        data=(32, [Xlib.X.CurrentTime, atom("EditresComm"), 1, xwidgets.PROTOCOL_VERSION, 0])))
    x.flush()
    request = selection_request(x)
    assert request.selection == atom("EditresComm"), "the text asked for what it cannot paste"
    request.requestor.change_property(request.property, atom("INCR"), 32, [64])
    request.requestor.send_event(Xlib.protocol.event.SelectionNotify(
        time=request.time, requestor=request.requestor, selection=request.selection,
        target=request.target, property=request.property))
    x.sync()
    for identifier, window in ((1, pasted_on), (2, slow)):
        client.send_messages(qvxsim.remove_request(ID=identifier, RemoveType="Message"))
        xsession.wait_gone(window)
    time.sleep(2.0)
    request.requestor.change_property(request.property, atom("EditresProtocol"), 8, b"\1\0")
    x.sync()
    expect_still_running(client, 6.0 + slack())  # past the selection time-out and the shells' end
    x.close()
