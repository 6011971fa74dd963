#!/usr/bin/python3
"""Reads the widgets of a running X toolkit program from outside, through the editres protocol
that every shell of libXmu's toolkit programs answers (protocol version 5).

    xwidgets.py WINDOW        prints the widget tree of the program owning WINDOW (an id such
                              as 0x400030, or a title regular expression): names, classes,
                              windows and geometry; the names are the resource names to set.

As a module: WidgetTree.fetch(display, shell_window) reads the tree once; its nodes give name,
class, window and path, and get_value, geometry and widget_center ask the program about one node
at the time of the call. Tests use it to read labels and sensitivity and to click widgets.

How one request travels: we own a selection and send the program's shell a ClientMessage
"Editres" naming it; the program converts that selection to "EditresCommand" to fetch our
request, then takes the selection over once its answer is ready, and we convert the selection
to "EditresClientVal" to read the answer. Every number on the wire is big-endian.
"""

import argparse
import collections
import select
import struct
import sys
import time

import Xlib.display
import Xlib.error
import Xlib.protocol.event
import Xlib.X

PROTOCOL_VERSION = 5
SEND_WIDGET_TREE, GET_GEOMETRY, GET_VALUES = 0, 3, 5
FORMATTED, FAILURE, PROTOCOL_MISMATCH = 0, 1, 2
UNREALIZED, WINDOWLESS = 0, 2  # what the tree gives as the window of such widgets
GONE = "This widget no longer exists in the client."

Geometry = collections.namedtuple("Geometry", "mapped x y width height border_width")


class EditresError(Exception):
    """The program did not answer, refused the request, or no longer has the widget."""


class Reader:
    """Takes big-endian fields off the front of a reply."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, layout):
        values = struct.unpack_from(">" + layout, self.data, self.at)
        self.at += struct.calcsize(">" + layout)
        return values if len(values) > 1 else values[0]

    def string(self):
        length = self.take("H")
        self.at += length
        return self.data[self.at - length:self.at].decode("latin-1")

    def widget_ids(self):
        return tuple(self.take("I") for _ in range(self.take("H")))


def _string(text):
    data = text.encode("latin-1")
    return struct.pack(">H", len(data)) + data


def _widget_ids(ids):
    return struct.pack(f">H{len(ids)}I", len(ids), *ids)


class EditresLink:
    """Requests to the program owning one shell window, over our own selection."""

    # Every request made by this process: the toolkit keeps each one it parses, which a
    # measurement of the program's memory has to take out again.
    requests_made = 0

    def __init__(self, display, shell_window, timeout=5.0, keep_answers=False):
        self.x = Xlib.display.Display(display) if isinstance(display, str) else display
        self.shell = self.x.create_resource_object("window", shell_window)
        self.timeout = timeout
        atom = self.x.intern_atom
        self.editres, self.command = atom("Editres"), atom("EditresCommand")
        self.protocol, self.client_value = atom("EditresProtocol"), atom("EditresClientVal")
        self.selection, self.answer = atom("EditresComm"), atom("XWIDGETS_ANSWER")
        # An unmapped window of our own owns the selection and receives the answer.
        self.window = self.x.screen().root.create_window(0, 0, 1, 1, 0, Xlib.X.CopyFromParent)
        self.ident = 0
        # A slow resource editor's way: each answer stays on our window until release().
        self.keep_answers = keep_answers

    def release(self):
        """Deletes the answer kept last, which tells the program its transfer is over."""
        self.window.delete_property(self.answer)
        self.x.sync()

    def close(self):
        self.window.destroy()
        self.x.flush()

    def request(self, opcode, body=b""):
        """The data of the program's formatted answer to one request."""
        self.ident = self.ident % 255 + 1
        EditresLink.requests_made += 1
        payload = struct.pack(">BBI", self.ident, opcode, len(body)) + body
        self.window.set_selection_owner(self.selection, Xlib.X.CurrentTime)
        message = Xlib.protocol.event.ClientMessage(
            window=self.shell, client_type=self.editres,
            data=(32, [Xlib.X.CurrentTime, self.selection, self.ident, PROTOCOL_VERSION, 0]))
        missing = Xlib.error.CatchError(Xlib.error.BadWindow)
        self.shell.send_event(message, event_mask=0, onerror=missing)
        self.x.sync()
        if missing.get_error():
            raise EditresError(f"there is no window {self.shell.id:#x}")
        deadline = time.monotonic() + self.timeout
        while True:
            event = self._next_event(deadline)
            if event.type == Xlib.X.SelectionRequest and event.selection == self.selection:
                self._hand_over(event, payload)
            elif event.type == Xlib.X.SelectionClear and event.atom == self.selection:
                # The program has its answer ready and now owns the selection.
                self.window.convert_selection(self.selection, self.client_value, self.answer,
                                              Xlib.X.CurrentTime)
                self.x.flush()
            elif event.type == Xlib.X.SelectionNotify and event.selection == self.selection:
                return self._read_answer(event)

    def _next_event(self, deadline):
        while not self.x.pending_events():
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise EditresError(f"no editres answer from window {self.shell.id:#x} "
                                   f"within {self.timeout} s")
            select.select([self.x], [], [], remaining)
        return self.x.next_event()

    def _hand_over(self, event, payload):
        """Answers the program's conversion of our selection with the request."""
        target = event.property or event.target
        if event.target == self.command:
            event.requestor.change_property(target, self.protocol, 8, payload)
        else:
            target = Xlib.X.NONE
        notify = Xlib.protocol.event.SelectionNotify(
            time=event.time, requestor=event.requestor, selection=event.selection,
            target=event.target, property=target)
        event.requestor.send_event(notify, event_mask=0)
        self.x.flush()

    def _read_answer(self, event):
        if event.property == Xlib.X.NONE:
            raise EditresError("the program refused to give its editres answer")
        answer = self.window.get_full_property(self.answer, Xlib.X.AnyPropertyType)
        # Sent at once: the program's transfer ends with this deletion, and a closed dialog's
        # shell outlives the window until its transfers end or time out.
        if not self.keep_answers:
            self.release()
        if answer is None or answer.property_type != self.protocol:
            raise EditresError("the editres answer came in an unknown form (too large?)")
        reader = Reader(bytes(answer.value))
        ident, status, size = reader.take("BBI")
        if ident != self.ident:
            raise EditresError(f"an editres answer to request {ident}, not {self.ident}")
        if status == FAILURE:
            raise EditresError(reader.string())
        if status == PROTOCOL_MISMATCH:
            raise EditresError(f"the program speaks editres version {reader.take('B')}")
        return reader.data[reader.at:reader.at + size]


class Node:
    """One widget or windowless object as the tree gave it."""

    def __init__(self, tree, ids, name, wclass, window, parent):
        self.tree, self.ids, self.name, self.wclass = tree, ids, name, wclass
        self.window, self.parent, self.children = window, parent, []
        above = parent.path + "." if parent is not None and parent.parent is not None else ""
        self.path = above + name if parent is not None else ""

    @property
    def has_window(self):
        return self.window not in (UNREALIZED, WINDOWLESS)

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()

    def __repr__(self):
        return f"<{self.wclass} {self.path or self.name} window {self.window:#x}>"


class WidgetTree:
    """The widgets of the program owning a shell window; root is its top-level shell."""

    def __init__(self, link, data):
        self.link = link
        reader = Reader(data)
        by_ids = {}
        self.nodes = []
        for _ in range(reader.take("H")):
            ids = reader.widget_ids()
            name, wclass, window = reader.string(), reader.string(), reader.take("I")
            node = Node(self, ids, name, wclass, window, by_ids.get(ids[:-1]))
            if node.parent is not None:
                node.parent.children.append(node)
            by_ids[ids] = node
            self.nodes.append(node)
        self.root = self.nodes[0]
        self.toolkit = reader.string()

    @classmethod
    def fetch(cls, display, shell_window, timeout=5.0):
        """Reads the tree; display is a display name or a python3-xlib Display."""
        link = EditresLink(display, shell_window, timeout)
        return cls(link, link.request(SEND_WIDGET_TREE))

    def close(self):
        self.link.close()

    def find_all(self, name):
        """Nodes whose name is name, or whose path is or ends with the dotted path name."""
        return [node for node in self.nodes
                if name in (node.name, node.path) or node.path.endswith("." + name)]

    def find(self, name):
        """The first node find_all gives (in creation order); KeyError if there is none."""
        found = self.find_all(name)
        if not found:
            raise KeyError(f"no widget {name!r} in {[node.path for node in self.nodes]}")
        return found[0]

    def geometries(self, nodes):
        """Geometry of each node, in one request; root positions, outside the border."""
        body = struct.pack(">H", len(nodes)) + b"".join(_widget_ids(n.ids) for n in nodes)
        reader = Reader(self.link.request(GET_GEOMETRY, body))
        results = []
        for _ in range(reader.take("H")):
            reader.widget_ids()
            if reader.take("B"):
                raise EditresError(reader.string())
            mapped, x, y, width, height, border = reader.take("BhhHHH")
            results.append(Geometry(bool(mapped), x, y, width, height, border))
        return results


def get_value(node, resource):
    """One resource of node as the program's converters write it: "label" gives the text,
    "sensitive" "true" or "false"; an AsciiText's text is "string" of its child "textSource"."""
    body = _string(resource) + struct.pack(">H", 1) + _widget_ids(node.ids)
    reader = Reader(node.tree.link.request(GET_VALUES, body))
    reader.take("H")
    value = reader.string()
    if value == GONE:
        raise EditresError(f"{node!r}: {value}")
    if value == "NoValue":
        raise EditresError(f"{node!r} has no resource {resource!r}")
    return value


def text_of(node):
    """The text an AsciiText widget holds."""
    sources = [child for child in node.children if child.name == "textSource"]
    if not sources:
        raise EditresError(f"{node!r} has no textSource: not an AsciiText")
    return get_value(sources[0], "string")


def geometry(node):
    """node's Geometry now; x and y are root positions and miss a viewport's clip window."""
    return node.tree.geometries([node])[0]


def widget_center(node):
    """Root position of the middle of node, for a click: from its own X window when it has one,
    which a viewport's clip window cannot shift."""
    if not node.has_window:
        shape = geometry(node)
        edge = shape.border_width
        return shape.x + edge + shape.width // 2, shape.y + edge + shape.height // 2
    x = node.tree.link.x
    window = x.create_resource_object("window", node.window)
    corner = x.screen().root.translate_coords(window, 0, 0)
    shape = window.get_geometry()
    return corner.x + shape.width // 2, corner.y + shape.height // 2


def print_tree(tree, out=sys.stdout):
    for node, shape in zip(tree.nodes, tree.geometries(tree.nodes)):
        depth = len(node.ids) - 1
        window = {UNREALIZED: "unrealized", WINDOWLESS: "no window"}.get(
            node.window, f"{node.window:#x}")
        place = (f"{shape.width}x{shape.height}+{shape.x}+{shape.y}"
                 + (f" border {shape.border_width}" if shape.border_width else "")
                 if shape.mapped else "unmapped")
        print(f"{'  ' * depth}{node.name} ({node.wclass}) {window} {place}", file=out)


def main(arguments=None):
    parser = argparse.ArgumentParser(description="Prints the widget tree of an X toolkit "
                                     "program: names, classes, windows and geometry.")
    parser.add_argument("window", help="the program's shell window: an id or a title pattern")
    parser.add_argument("--display", help="the X display (default: $DISPLAY)")
    parser.add_argument("--timeout", type=float, default=5.0, help="seconds to wait (5)")
    options = parser.parse_args(arguments)
    connection = Xlib.display.Display(options.display)
    try:
        window = int(options.window, 0)
    except ValueError:
        import xsession
        session = xsession.XSession.existing(connection.get_display_name())
        window = session.find_window(options.window, options.timeout)
    try:
        tree = WidgetTree.fetch(connection, window, options.timeout)
        print_tree(tree)
    except EditresError as error:
        print(f"xwidgets: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
