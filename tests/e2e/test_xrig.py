"""The X rig itself, checked on xmessage (an Athena program): xwidgets reads its widgets over
editres, and xsession's clicks, close requests and window searches reach it as a user's would,
under whichever window manager the session runs (QVX_WM)."""

import subprocess

import pytest
import Xlib.protocol.event
import Xlib.X

import xsession as xsession_module
import xwidgets

TEXT = "Rig check: one line"


@pytest.fixture
def xmessage(xsession, request):
    """Starts xmessage named after the test with the given extra arguments; returns the process."""
    def start(*arguments):
        # A position of the user's own (USPosition): twm's defaults would otherwise have the user
        # place the window, with the server grabbed. A later -geometry wins.
        return xsession.spawn(["xmessage", "-name", request.node.name, "-geometry", "+40+40",
                               *arguments, TEXT],
                              stderr=subprocess.PIPE)
    return start


def test_tree_values_and_a_click_on_a_widget_centre(xsession, xmessage):
    process = xmessage("-buttons", "Okay:3,Later:4")
    tree = xwidgets.WidgetTree.fetch(xsession.x, xsession.find_window("^test_tree"))
    shown = [(n.path, n.wclass, n.has_window) for n in tree.nodes[1:] if n.name != "shellext"]
    assert shown == [("form", "Form", True), ("form.message", "Text", True),
                     ("form.message.textSink", "AsciiSink", False),
                     ("form.message.textSource", "AsciiSrc", False),
                     ("form.Okay", "Command", True), ("form.Later", "Command", True)]
    later, shape = tree.find("form.Later"), xwidgets.geometry(tree.find("Later"))
    values = [xwidgets.get_value(later, name) for name in ("label", "sensitive", "width")]
    assert values == ["Later", "true", str(shape.width)]
    assert xwidgets.text_of(tree.find("message")) == TEXT
    with pytest.raises(xwidgets.EditresError, match="no resource"):
        xwidgets.get_value(later, "noSuchResource")
    x, y = xwidgets.widget_center(later)
    assert shape.mapped and 0 < x - shape.x < shape.width and 0 < y - shape.y < shape.height
    xsession.click_at(x, y)
    assert process.wait(timeout=5) == 4 and process.stderr.read() == b""
    with pytest.raises(xwidgets.EditresError):
        xwidgets.get_value(later, "label")


def test_window_manager_close_and_window_queries(xsession, xmessage, tmp_path):
    process = xmessage()
    window = xsession.find_window("^test_window_manager")
    assert "test_window_manager_close_and_window_queries" in xsession.window_titles()
    xsession.screenshot(window, tmp_path / "shot.png")
    assert (tmp_path / "shot.png").read_bytes().startswith(b"\x89PNG")
    assert "_NET_WM_STATE_ABOVE" not in xsession.net_wm_state(window)
    xsession.close_via_wm(window)
    xsession.wait_gone(window)
    # A close request, not a destroyed window: xmessage leaves without an X error.
    process.wait(timeout=5)
    assert process.stderr.read() == b""


def test_realized_unmapped_shell_is_found_and_answers(xsession, xmessage):
    if xsession.window_manager == "none":
        pytest.skip("without a window manager an iconic window is simply mapped")
    name = "test_realized_unmapped_shell_is_found_and_answers"
    process = xmessage("-iconic")  # realized; xmessage maps its shell itself, so no other way
    window = xsession.find_unmapped_by_name(name)
    xsession.send_client_message(window, b"open")
    tree = xwidgets.WidgetTree.fetch(xsession.x, window)
    assert not xwidgets.geometry(tree.root).mapped and process.poll() is None


def test_the_window_on_top_under_the_pointer_is_told_from_one_it_covers(xsession, xmessage):
    """What keeps a click meant for one window from answering another that opened over it."""
    xmessage("-geometry", "+100+100")
    below = xsession.find_window("^test_the_window")
    xsession.spawn(["xmessage", "-name", "cover", "-geometry", "+100+100", TEXT])
    above = xsession.find_window("^cover$")
    xsession.xdotool("mousemove", 110, 130)
    assert xsession.on_top_at_pointer(above) and not xsession.on_top_at_pointer(below)
    xsession.xdotool("mousemove", 5, 5)
    assert not xsession.on_top_at_pointer(above)


@pytest.mark.parametrize("argument, variable, chosen", [
    (None, None, "openbox"), (None, "twm", "twm"), ("none", "twm", "none"),
    ("icewm", None, "icewm"),
])
def test_window_manager_is_named_by_argument_then_variable(monkeypatch, argument, variable,
                                                            chosen):
    monkeypatch.delenv(xsession_module.WINDOW_MANAGER_VARIABLE, raising=False)
    if variable:
        monkeypatch.setenv(xsession_module.WINDOW_MANAGER_VARIABLE, variable)
    assert xsession_module.chosen_window_manager(argument) == chosen


def test_unknown_window_manager_is_refused(monkeypatch):
    monkeypatch.setenv(xsession_module.WINDOW_MANAGER_VARIABLE, "kwin")
    with pytest.raises(ValueError, match="unknown window manager 'kwin'"):
        xsession_module.XSession()


def test_a_window_in_the_corner_is_far_from_the_centre_and_framed_as_its_manager_does(
        xsession, xmessage):
    xmessage("-geometry", "+0+0")
    window = xsession.find_window("^test_a_window_in_the_corner")
    framed = xsession.frame_of(window) != window
    assert framed == (xsession.window_manager != "none")
    width, height = xsession.screen_size()
    assert min(xsession.centre_offset(window)) > min(width, height) / 4


def test_root_messages_are_recorded_with_their_type(xsession):
    with xsession_module.RootMessages(xsession) as messages:
        root = xsession.x.screen().root
        event = Xlib.protocol.event.ClientMessage(
            window=root, client_type=xsession.x.intern_atom("QVX_RIG_CHECK"), data=(32, [0] * 5))
        root.send_event(event, event_mask=Xlib.X.SubstructureNotifyMask)
        xsession.x.sync()
        xsession_module.poll(lambda: "QVX_RIG_CHECK" in messages.types(), 2.0, "the message")


def test_the_whole_screen_settles_for_a_picture(xsession, tmp_path):
    """A manager's clock or load meter would keep a picture of the screen from ever settling."""
    xsession.screenshot(xsession.x.screen().root.id, tmp_path / "screen.png")
    assert (tmp_path / "screen.png").read_bytes().startswith(b"\x89PNG")
