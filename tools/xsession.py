"""A private X display for driving the program as a user would: Xvfb with a window manager on it.

XSession starts a virtual server and a window manager (openbox unless the constructor or QVX_WM
names another of WINDOW_MANAGERS), waits until both are ready (polling, never sleeping blindly),
and ends both on exit; with heads=2 the display is a Xephyr hosted on the Xvfb, with two monitors
of HEAD side by side (Xinerama lists both, RandR one). XSession.existing(display) wraps a display
someone else runs and starts or stops nothing. Its helpers find, close, click, photograph and
message windows through the real server and window manager, the way a user or another program
would reach them.

Debian's /usr/bin/python3 with python3-xlib; xdotool, xprop, imagemagick and Xephyr from the system.
"""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

import Xlib.display
import Xlib.error
import Xlib.protocol.event
import Xlib.X
import Xlib.Xatom
import Xlib.Xutil

POLL_SECONDS = 0.02
SCREEN = "1280x1024x24"
HEAD = "1280x1024"

# The window managers a session can run: the command that starts one and whether it speaks EWMH
# (announces itself with _NET_SUPPORTING_WM_CHECK and honours _NET_WM_STATE and
# _NET_CLOSE_WINDOW). twm is the ICCCM-only manager; "none" leaves every window a child of the
# root, placed where its program asked.
WINDOW_MANAGERS = {
    "openbox": (("openbox", "--sm-disable"), True),
    "icewm": (("icewm",), True),
    "twm": (("twm",), False),
    "none": (None, False),
}
DEFAULT_WINDOW_MANAGER = "openbox"
WINDOW_MANAGER_VARIABLE = "QVX_WM"


def chosen_window_manager(name=None):
    """name, else QVX_WM, else openbox; ValueError for a manager the rig does not know."""
    name = name or os.environ.get(WINDOW_MANAGER_VARIABLE) or DEFAULT_WINDOW_MANAGER
    if name not in WINDOW_MANAGERS:
        raise ValueError(f"unknown window manager {name!r}; one of "
                         + ", ".join(WINDOW_MANAGERS))
    return name

# libXmu's editres sends widget ids as 32 bits and sign-extends them when it reads them back, so
# with a randomised heap about half the runs cannot resolve any widget. Programs the rig reads
# through xwidgets start without address randomisation.
NO_RANDOMISATION = ("setarch", "-R")


class XSessionError(Exception):
    """The server or window manager did not come up, or a window did not appear in time."""


def poll(condition, timeout, what):
    """condition()'s first true value, tried every POLL_SECONDS; XSessionError after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise XSessionError(f"{what}: not within {timeout} s")
        time.sleep(POLL_SECONDS)


class XSession:
    """One display with a window manager; a context manager (see the module's comment)."""

    def __init__(self, screen=SCREEN, timeout=10.0, window_manager=None, heads=1):
        self.screen = screen
        self.heads = heads
        self.timeout = timeout
        self.window_manager = chosen_window_manager(window_manager)
        self.display = None
        self._owned = True
        self._server = None
        self._nested = None
        self._manager = None
        self._folder = None
        self._x = None
        self._spawned = []

    @classmethod
    def existing(cls, display):
        """A session on a display that is already running; entering and leaving change nothing."""
        session = cls()
        session.display = display
        session._owned = False
        return session

    @property
    def ewmh(self):
        """Whether the window manager announces EWMH support (on a display someone else runs:
        whether a manager has put _NET_SUPPORTING_WM_CHECK on the root)."""
        if self._owned:
            return WINDOW_MANAGERS[self.window_manager][1]
        return self._supporting_wm_check() is not None

    def __enter__(self):
        if self._owned:
            try:
                self._start()
            except BaseException:
                self._stop()
                raise
        return self

    def __exit__(self, *exc):
        self._stop()
        return False

    def env(self, **extra):
        """A copy of os.environ naming this display, with extra variables added."""
        environment = dict(os.environ, DISPLAY=self.display)
        environment.update(extra)
        return environment

    @property
    def x(self):
        """This session's own python3-xlib connection, opened on first use."""
        if self._x is None:
            self._x = Xlib.display.Display(self.display)
        return self._x

    def spawn(self, argv, **popen_arguments):
        """Starts argv on this display without address randomisation; ended on exit if alive."""
        popen_arguments.setdefault("env", self.env())
        process = subprocess.Popen(list(NO_RANDOMISATION) + list(argv), **popen_arguments)
        self._spawned.append(process)
        return process

    # Starting and ending ---------------------------------------------------------------------

    def _log(self, name):
        return open(os.path.join(self._folder, name), "wb")

    def _start_server(self, name, arguments, env=None):
        """Starts an X server that announces its display number on a pipe: (process, display)."""
        reading, writing = os.pipe()
        try:
            with self._log(name + ".log") as log:
                process = subprocess.Popen(
                    [name, "-displayfd", str(writing), "-nolisten", "tcp", "-noreset"] + arguments,
                    pass_fds=(writing,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                    env=env)
        finally:
            os.close(writing)  # else no end of file should the server die before writing
        try:
            return process, ":" + self._read_display_number(reading, process, name)
        finally:
            os.close(reading)

    def _start(self):
        self._folder = tempfile.mkdtemp(prefix="xsession-")
        screen = self.screen
        if self.heads > 1:
            # Xephyr draws each of its screens in a window of its host: room for them all, with
            # some to spare.
            width, height = (int(n) for n in HEAD.split("x"))
            screen = f"{width * self.heads + 40}x{height + 76}x24"
        self._server, self.display = self._start_server("Xvfb", ["-screen", "0", screen])
        if self.heads > 1:
            # Xvfb's own Xinerama puts every screen at 0,0; Xephyr's places them side by side.
            heads = ["+xinerama"] + ["-screen", HEAD] * self.heads
            self._nested, self.display = self._start_server("Xephyr", heads, env=self.env())
        # A private home and configuration folder keep the user's own window manager settings
        # out: each manager runs on its shipped defaults, as a new user meets it.
        home = os.path.join(self._folder, "home")
        os.makedirs(home)
        command, ewmh = WINDOW_MANAGERS[self.window_manager]
        if command is None:
            return
        if self.window_manager == "icewm":
            # Its taskbar's clock and load meters would change every picture of the whole screen;
            # nothing else of the defaults is changed.
            os.makedirs(os.path.join(home, ".icewm"))
            with open(os.path.join(home, ".icewm", "preferences"), "w") as preferences:
                preferences.write("TaskBarShowClock=0\nTaskBarShowCPUStatus=0\n"
                                  "TaskBarShowNetStatus=0\nTaskBarShowMEMStatus=0\n")
        with self._log(self.window_manager + ".log") as log:
            self._manager = subprocess.Popen(
                command, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                env=self.env(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config")))
        try:
            if ewmh:
                poll(self._manager_ready, self.timeout, f"{self.window_manager} ready")
            self._wait_until_windows_are_managed()
        except XSessionError as error:
            raise XSessionError(str(error) + self._logs()) from None

    def _read_display_number(self, reading, server, name):
        text = b""
        deadline = time.monotonic() + self.timeout
        while not text.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or server.poll() is not None:
                raise XSessionError(f"{name} gave no display number" + self._logs())
            if select.select([reading], [], [], min(remaining, POLL_SECONDS))[0]:
                chunk = os.read(reading, 64)
                if not chunk:
                    raise XSessionError(f"{name} closed its display pipe" + self._logs())
                text += chunk
        return text.decode().strip()

    def _manager_alive(self):
        if self._manager.poll() is not None:
            raise XSessionError(f"{self.window_manager} exited with status "
                                f"{self._manager.returncode}" + self._logs())

    def _supporting_wm_check(self):
        """The window an EWMH manager names on the root, or None."""
        atom = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK", only_if_exists=True)
        if not atom:
            return None
        value = self.x.screen().root.get_full_property(atom, Xlib.Xatom.WINDOW)
        return value.value[0] if value and len(value.value) else None

    def _manager_ready(self):
        self._manager_alive()
        return self._supporting_wm_check() is not None

    def _wait_until_windows_are_managed(self):
        """A manager may announce itself before its event loop runs (openbox does), and a window
        mapped in between can stay unmapped for good; twm announces nothing at all. Once a probe
        window of ours gets a frame, the loop runs. The probe asks for its position as a user
        would (USPosition), so that twm does not wait for someone to place it."""
        root = self.x.screen().root
        probe = root.create_window(0, 0, 8, 8, 0, Xlib.X.CopyFromParent)
        probe.set_wm_normal_hints(flags=Xlib.Xutil.USPosition | Xlib.Xutil.USSize, x=0, y=0,
                                  width=8, height=8)
        probe.set_wm_name("xsession probe")
        attempts = 0

        def framed():
            nonlocal attempts
            self._manager_alive()
            if probe.query_tree().parent.id != root.id:
                return True
            if attempts % 10 == 0:  # asks again every 0.2 s: an early request may be lost
                probe.map()
                self.x.sync()
            attempts += 1
            return False
        try:
            poll(framed, self.timeout, f"{self.window_manager} managing windows")
        finally:
            probe.destroy()
            self.x.sync()

    def _logs(self):
        texts = []
        for name in ("Xvfb.log", "Xephyr.log", self.window_manager + ".log"):
            path = os.path.join(self._folder or "", name)
            if os.path.exists(path):
                with open(path, "rb") as log:
                    texts.append(f"\n{name}: " + log.read()[-2000:].decode(errors="replace"))
        return "".join(texts)

    def kill_server(self):
        """Kills the X server now, as a crash would; the session's programs lose their display."""
        if self._x is not None:
            self._x.close()
            self._x = None
        _end(self._nested or self._server, kill=True)

    def _stop(self):
        for process in self._spawned:
            _end(process)
        self._spawned = []
        if self._x is not None:
            self._x.close()
            self._x = None
        for process in (self._manager, self._nested, self._server):
            if process is not None:
                _end(process)
        self._manager = self._nested = self._server = None
        if self._folder is not None:
            shutil.rmtree(self._folder, ignore_errors=True)
            self._folder = None

    # Finding windows -------------------------------------------------------------------------

    def xdotool(self, *arguments, check=True):
        done = subprocess.run(["xdotool"] + [str(a) for a in arguments], env=self.env(),
                              capture_output=True, text=True, check=check)
        return done.stdout

    def on_top_at_pointer(self, window):
        """Whether the topmost window under the pointer is this application window's frame (or
        the window itself, without a window manager)."""
        root = self.x.screen().root
        under = root.query_pointer().child
        frame = self.x.create_resource_object("window", window)
        while (parent := frame.query_tree().parent).id != root.id:
            frame = parent
        return getattr(under, "id", under) == frame.id

    def find_windows(self, title_regex):
        """Ids of the visible windows whose title matches, as xdotool lists them."""
        found = self.xdotool("search", "--onlyvisible", "--name", title_regex, check=False)
        return [int(line) for line in found.split()]

    def find_window(self, title_regex, timeout=5.0):
        """The id of the first visible window whose title matches; XSessionError after timeout.

        This is the application's own window (a shell's), not the window manager's frame."""
        try:
            return poll(lambda: self.find_windows(title_regex), timeout,
                        f"window titled /{title_regex}/")[0]
        except XSessionError as error:
            raise XSessionError(f"{error}; visible: {self.window_titles()}") from None

    def wait_gone(self, window, timeout=5.0):
        """Waits until window is destroyed or no longer viewable."""
        poll(lambda: not self._viewable(window), timeout, f"window {window:#x} gone")

    def _viewable(self, window):
        try:
            attributes = self.x.create_resource_object("window", window).get_attributes()
        except Xlib.error.BadWindow:
            return False
        return attributes.map_state == Xlib.X.IsViewable

    def _walk(self, window=None):
        """Every window below window (the root by default), depth first, bottom of each stack
        first."""
        window = window or self.x.screen().root
        try:
            children = window.query_tree().children
        except Xlib.error.BadWindow:
            return  # destroyed while we walked
        for child in children:
            yield child
            yield from self._walk(child)

    def _name(self, window):
        """The window's title: _NET_WM_NAME if set, else WM_NAME (Latin-1 if typed STRING)."""
        for atom in (self.x.intern_atom("_NET_WM_NAME"), Xlib.Xatom.WM_NAME):
            try:
                title = window.get_full_property(atom, Xlib.X.AnyPropertyType)
            except Xlib.error.BadWindow:
                return None
            if title is not None and title.format == 8:
                encoding = "latin-1" if title.property_type == Xlib.Xatom.STRING else "utf-8"
                return title.value.decode(encoding, errors="replace")
        return None

    def title(self, window):
        """The title of the window with this id, or None."""
        return self._name(self.x.create_resource_object("window", window))

    def window_titles(self):
        """The titles of the viewable windows that have one, bottom of the stack first."""
        titles = []
        for window in self._walk():
            name = self._name(window)
            if name and self._viewable(window.id):
                titles.append(name)
        return titles

    def find_unmapped_by_name(self, name, timeout=5.0):
        """The id of a realized but unmapped window (such as a toplevel never mapped) whose
        title or WM_CLASS part is name; XSessionError after timeout."""
        def search():
            for window in self._walk():
                try:
                    names = {self._name(window)} | set(window.get_wm_class() or ())
                    unmapped = window.get_attributes().map_state == Xlib.X.IsUnmapped
                except Xlib.error.BadWindow:
                    continue
                if name in names and unmapped:
                    return window.id
            return None
        return poll(search, timeout, f"unmapped window named {name}")

    # Talking to windows ----------------------------------------------------------------------

    def send_client_message(self, window, data, message_type=Xlib.Xatom.STRING):
        """Sends a format 8 ClientMessage with up to 20 bytes of data, to the window's owner only
        (event mask 0)."""
        if len(data) > 20:
            raise ValueError("a ClientMessage holds at most 20 bytes")
        event = Xlib.protocol.event.ClientMessage(
            window=window, client_type=message_type, data=(8, bytes(data).ljust(20, b"\0")))
        missing = Xlib.error.CatchError(Xlib.error.BadWindow)
        self.x.send_event(window, event, event_mask=0, propagate=False, onerror=missing)
        self.x.sync()
        if missing.get_error():
            raise XSessionError(f"there is no window {window:#x}")

    def close_via_wm(self, window):
        """Asks for window to close, as the window manager's close button does: through an EWMH
        manager's _NET_CLOSE_WINDOW, else with the WM_DELETE_WINDOW message that twm's f.delete
        sends (and that any manager sends a window taking part in that protocol)."""
        if not self.ewmh:
            return self.send_delete_window(window)
        event = Xlib.protocol.event.ClientMessage(
            window=window, client_type=self.x.intern_atom("_NET_CLOSE_WINDOW"),
            data=(32, [Xlib.X.CurrentTime, 2, 0, 0, 0]))  # 2: a request from a pager or user
        mask = Xlib.X.SubstructureRedirectMask | Xlib.X.SubstructureNotifyMask
        self.x.screen().root.send_event(event, event_mask=mask)
        self.x.sync()

    def send_delete_window(self, window):
        """Sends window the ICCCM WM_PROTOCOLS/WM_DELETE_WINDOW message a window manager sends to
        close it; XSessionError when the window does not take part in that protocol (a manager
        would destroy it instead)."""
        resource = self.x.create_resource_object("window", window)
        protocols = self.x.intern_atom("WM_PROTOCOLS")
        delete = self.x.intern_atom("WM_DELETE_WINDOW")
        if delete not in (resource.get_wm_protocols() or ()):
            raise XSessionError(f"window {window:#x} does not take WM_DELETE_WINDOW")
        event = Xlib.protocol.event.ClientMessage(
            window=window, client_type=protocols,
            data=(32, [delete, Xlib.X.CurrentTime, 0, 0, 0]))
        resource.send_event(event, event_mask=0)
        self.x.sync()

    def click_at(self, x, y, button=1):
        """Moves the pointer to root position (x, y) and clicks there."""
        # No --sync: under openbox it never returns when the pointer already is at (x, y).
        self.xdotool("mousemove", int(x), int(y))
        time.sleep(0.05)
        self.xdotool("click", button)

    def screenshot(self, window, path, timeout=5.0):
        """Saves window as an image at path once two grabs in a row are identical."""
        path = os.fspath(path)
        grab = path + ".grab.png"
        previous = None

        def settled():
            nonlocal previous
            subprocess.run(["/usr/bin/import", "-window", str(window), grab], env=self.env(),
                           check=True, capture_output=True)
            pixels = subprocess.run(["/usr/bin/convert", grab, "rgba:-"], check=True,
                                    capture_output=True).stdout
            same, previous = pixels == previous, pixels
            return same
        try:
            poll(settled, timeout, f"a steady image of window {window:#x}")
            os.replace(grab, path)
        finally:
            if os.path.exists(grab):
                os.remove(grab)

    def net_wm_state(self, window):
        """The names of the window's _NET_WM_STATE atoms, e.g. {"_NET_WM_STATE_ABOVE"}. Interns
        nothing: a program that asks for the state only where the atoms exist must not be
        misled by the rig."""
        atom = self.x.intern_atom("_NET_WM_STATE", only_if_exists=True)
        if not atom:
            return set()
        resource = self.x.create_resource_object("window", window)
        state = resource.get_full_property(atom, Xlib.Xatom.ATOM)
        return {self.x.get_atom_name(atom) for atom in (state.value if state else ())}

    def monitors(self):
        """The monitors as Xinerama lists them, (x, y, width, height) each; the whole screen
        without Xinerama."""
        if self.x.has_extension("XINERAMA") and self.x.xinerama_is_active():
            return [(head.x, head.y, head.width, head.height)
                    for head in self.x.xinerama_query_screens().screens]
        return [(0, 0) + self.screen_size()]

    def screen_size(self):
        screen = self.x.screen()
        return screen.width_in_pixels, screen.height_in_pixels

    def frame_of(self, window):
        """The root's child holding window: the manager's frame, or window itself without one."""
        root = self.x.screen().root
        frame = self.x.create_resource_object("window", window)
        while (parent := frame.query_tree().parent).id != root.id:
            frame = parent
        return frame.id

    def placement(self, window):
        """(x, y, width, height) on the root of window itself and of its frame, as a pair."""
        root = self.x.screen().root
        shapes = []
        for identifier in (window, self.frame_of(window)):
            resource = self.x.create_resource_object("window", identifier)
            geometry = resource.get_geometry()
            corner = root.translate_coords(resource, 0, 0)  # inside the border
            shapes.append((corner.x - geometry.border_width, corner.y - geometry.border_width, geometry.width + 2 * geometry.border_width,
                           geometry.height + 2 * geometry.border_width))
        return tuple(shapes)

    def centre_offset(self, window):
        """How far the window sits from the screen's centre, per axis, after allowing for the
        manager's decorations: a manager places the frame's corner where the program asked for
        the window's (ICCCM's NorthWest gravity) or shifts it by the decorations, so a window
        centred by its program has its own centre or its frame's within the decorations' size
        of the screen's."""
        (x, y, width, height), (fx, fy, fwidth, fheight) = self.placement(window)
        screen_width, screen_height = self.screen_size()
        offsets = []
        for start, size, frame_start, frame_size, screen in (
                (x, width, fx, fwidth, screen_width), (y, height, fy, fheight, screen_height)):
            own = abs(start + size / 2 - screen / 2)
            framed = abs(frame_start + frame_size / 2 - screen / 2)
            offsets.append(max(0.0, min(own, framed) - (frame_size - size)))
        return tuple(offsets)


class RootMessages:
    """Records the ClientMessages sent to the root window, such as the _NET_WM_STATE requests a
    program makes of an EWMH manager: on a connection of its own that selects
    SubstructureNotify on the root (a message sent with that mask reaches every client selecting
    it, whether or not a manager holds SubstructureRedirect). A context manager."""

    def __init__(self, session):
        self._x = Xlib.display.Display(session.display)
        self._x.screen().root.change_attributes(event_mask=Xlib.X.SubstructureNotifyMask)
        self._x.sync()
        self.seen = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self._x.close()
        return False

    def types(self):
        """The names of the message types seen so far, in order; reads what has arrived."""
        self._x.sync()
        while self._x.pending_events():
            event = self._x.next_event()
            if event.type == Xlib.X.ClientMessage:
                self.seen.append((event.window.id, self._x.get_atom_name(event.client_type)))
        return [name for _, name in self.seen]


def _end(process, kill=False):
    """Ends one child we started: politely unless told to kill, then for certain."""
    if process.poll() is None:
        process.kill() if kill else process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main(argv):
    """xsession.py COMMAND...: runs the command on a fresh private display and returns its
    status (for programs that need a display and should not touch the user's)."""
    if not argv:
        print("usage: xsession.py COMMAND [ARGUMENT...]", file=sys.stderr)
        return 2
    with XSession() as session:
        return subprocess.call(argv, env=session.env())


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
