"""Every dialog under the session's window manager (QVX_WM: openbox, icewm, twm or none): it
maps, sits in the middle of the screen, ignores the close button, and asks for stay-on-top only
of a manager that honours it."""

import datetime
import time

import pytest
import Xlib.X
import Xlib.Xatom

import qvxsim
import xsession as xsession_module
from instrumented import slack
from test_action_request_dialog import CONFIRMATION, TITLE, Dialog, begin, request, taken
from test_link import expect_still_running

pytestmark = pytest.mark.memcheck

# The program centres a window without its one-pixel border; a manager may round its frame.
CENTRE_SLACK = 3


def check_centred_and_unclosable(client, window):
    """The window is mapped in the middle of the screen and stays when the window manager's close
    button asks it to go, with nothing sent to the client."""
    session = client.xsession
    offset = session.centre_offset(window)
    assert max(offset) <= CENTRE_SLACK, (session.window_manager, session.placement(window))
    session.close_via_wm(window)
    expect_still_running(client, 0.6)
    assert session._viewable(window), f"{window:#x} closed under {session.window_manager}"


def find(client, title):
    """The window titled so; an instrumented program maps its windows late."""
    return client.xsession.find_window(title, timeout=5.0 + slack())


@pytest.fixture
def client(client, xsession):
    client.xsession = xsession
    return client


def open_every_dialog(client, tmp_path, check):
    """Opens each kind of dialog in turn, with a click where a user would, and hands its window
    to check(client, window)."""
    begin(client, tmp_path, request(1, "Upgrade", Preview="apt-get upgrade",
                                    PreActionMessage="Save your files."))
    dialog = Dialog(client.xsession, TITLE)
    check(client, dialog.window)
    dialog.click_item(0)
    dialog.wait_sensitive("actionDetails")
    dialog.click("actionDetails")
    details = Dialog(client.xsession, "^Action Script Preview$")
    check(client, details.window)
    details.click("ok")
    dialog.wait_sensitive("takeActions")
    dialog.click("takeActions")
    confirmation = Dialog(client.xsession, CONFIRMATION)
    check(client, confirmation.window)
    # OK opens where Take Action was: a press there within the multi-click time (the toolkit's
    # default, 200 ms) would be the same click's second half.
    time.sleep(0.25)
    confirmation.click("ok")
    assert taken(client, 1)
    client.send_messages(qvxsim.message_request(ID=2, Title="Running", Message="Please wait."),
                         qvxsim.message_request(ID=3, Title="Upgrade", Message="Upgrade",
                                                IsCompletionMessage=True))
    for title in ("^Running$", "^Vantrel notification:$"):
        check(client, find(client, title))
    start = datetime.datetime.now(datetime.timezone.utc)
    client.send_messages(qvxsim.quiet_mode_start(StartTime=start,
                                                 EndTime=start + datetime.timedelta(hours=1)))
    check(client, find(client, "^Not Currently Available$"))


def test_every_dialog_is_centred_and_keeps_its_close_button_from_closing_it(client, tmp_path):
    open_every_dialog(client, tmp_path, check_centred_and_unclosable)


@pytest.fixture
def stale_ewmh_root(xsession):
    """Without an EWMH manager: the root properties an EWMH manager that has exited leaves behind,
    naming a check window that is gone. Any client may also have interned the atoms."""
    if xsession.ewmh:
        yield
        return
    x, root = xsession.x, xsession.x.screen().root
    atom = x.intern_atom
    gone = root.create_window(0, 0, 1, 1, 0, Xlib.X.CopyFromParent)
    gone.destroy()
    root.change_property(atom("_NET_SUPPORTED"), Xlib.Xatom.ATOM, 32,
                         [atom("_NET_WM_STATE"), atom("_NET_WM_STATE_ABOVE")])
    root.change_property(atom("_NET_SUPPORTING_WM_CHECK"), Xlib.Xatom.WINDOW, 32, [gone.id])
    x.sync()
    yield
    for name in ("_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK"):
        root.delete_property(atom(name))
    x.sync()


def test_stay_on_top_is_asked_only_of_a_manager_that_honours_it(client, xsession, tmp_path,
                                                                 stale_ewmh_root):
    with xsession_module.RootMessages(xsession) as messages:
        client.read_frame()
        client.send_messages(qvxsim.initialization_info(
            BaseDirectory=str(tmp_path / "base"),
            InitialUISettings=qvxsim.ui_settings(PersistRunningMessage=True,
                                                 TopmostRunningMessage=True)))
        client.send_messages(qvxsim.message_request(ID=4, Title="On top", Message="Running"))
        window = find(client, "^On top$")
        if xsession.ewmh:
            xsession_module.poll(
                lambda: "_NET_WM_STATE_ABOVE" in xsession.net_wm_state(window), 2.0 + slack(),
                f"stays on top under {xsession.window_manager}")
            assert "_NET_WM_STATE" in messages.types()
        else:
            expect_still_running(client, 1.0)
            assert "_NET_WM_STATE" not in messages.types()
            assert xsession.net_wm_state(window) == set()
        assert xsession._viewable(window) and max(xsession.centre_offset(window)) <= CENTRE_SLACK


def test_under_no_window_manager_a_dialog_is_a_child_of_the_root(client, xsession, tmp_path):
    if xsession.window_manager != "none":
        pytest.skip("only without a window manager")
    begin(client, tmp_path, request(5, "Alone"))
    window = Dialog(xsession, TITLE).window
    assert xsession.frame_of(window) == window
    x, y, width, height = xsession.placement(window)[0]
    screen_width, screen_height = xsession.screen_size()
    # Exactly where the program put it: no manager moved it.
    assert max(abs(2 * x + width - screen_width), abs(2 * y + height - screen_height)) <= 2
