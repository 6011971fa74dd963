"""Two monitors side by side, Xinerama's heads of a Xephyr display: every dialog opens whole on
the head that holds the pointer."""

import pytest

import xsession as xsession_module
from test_window_managers import client, open_every_dialog  # noqa: F401 (fixture)

pytestmark = pytest.mark.memcheck

LEFT, RIGHT = (0, 0, 1280, 1024), (1280, 0, 1280, 1024)


@pytest.fixture(scope="module")
def xsession():
    """This module's display, in place of the session's one-head display."""
    with xsession_module.XSession(heads=2) as session:
        assert session.monitors() == [LEFT, RIGHT]
        yield session


def within(shape, head):
    (x, y, width, height), (left, top, head_width, head_height) = shape, head
    return left <= x and top <= y and x + width <= left + head_width and \
        y + height <= top + head_height


@pytest.mark.parametrize("head", [LEFT, RIGHT], ids=["left", "right"])
def test_every_dialog_opens_whole_on_the_head_holding_the_pointer(client, tmp_path, head):
    session = client.xsession
    x, y, width, height = head
    session.xdotool("mousemove", x + width // 2, y + height // 2)
    xsession_module.poll(lambda: session.x.screen().root.query_pointer().root_x == x + width // 2,
                         2.0, "pointer moved")

    def check(client, window):
        # The window itself and its manager's frame.
        shapes = session.placement(window)
        assert all(within(shape, head) for shape in shapes), shapes

    open_every_dialog(client, tmp_path, check)
