"""The X rig itself, checked on xmessage (an Athena program): xwidgets reads its widgets over
editres, and xsession's clicks, close requests and window searches reach it as a user's would."""

import subprocess

import pytest

import xwidgets

TEXT = "Rig check: one line"


@pytest.fixture
def xmessage(xsession, request):
    """Starts xmessage named after the test with the given extra arguments; returns the process."""
    def start(*arguments):
        return xsession.spawn(["xmessage", "-name", request.node.name, *arguments, TEXT],
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
