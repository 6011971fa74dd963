#!/usr/bin/python3
"""On one private Xvfb with openbox, in one run, the program's reactions beside xmessage's:

  - ActionRequest written -> action request dialog mapped, beside xmessage start -> mapped;
  - click on "Take Action" -> ActionTaken on the wire;
  - click on "Take Action" of a request with a PreActionMessage -> confirmation mapped;
  - the program's wake-ups per second, idle with the dialog open;
  - peak resident size with a window up, beside xmessage's.

  bench/x_bench.py PROGRAM [--runs N] [--idle-seconds S]

Each request is written, and each click made, at a random moment of the program's second, so
that a wait for its one-second clock would show in the medians. Clicks go through the XTEST
extension of the server, not a helper process, so their moment is known to the millisecond.
"""

import argparse
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "tools"))

import Xlib.X  # noqa: E402
import Xlib.ext.xtest  # noqa: E402

import qvxsim  # noqa: E402
import xsession  # noqa: E402
import xwidgets  # noqa: E402

DIALOG_TITLE = "Vantrel Action Requests"
CONFIRMATION_TITLE = "Confirmation Required"


def mapped_client(session, title):
    """A managed, viewable client window with this exact title, or None. An EWMH manager lists
    its clients on the root; under another the tree is walked."""
    x = session.x
    root = x.screen().root
    if session.ewmh:
        clients = root.get_full_property(x.intern_atom("_NET_CLIENT_LIST"), 0)
        windows = [x.create_resource_object("window", identifier)
                   for identifier in (clients.value if clients else ())]
    else:
        windows = list(session._walk())
    for window in windows:
        window_id = window.id
        try:
            if session._name(window) == title and session._viewable(window_id):
                return window_id
        except Exception:  # noqa: BLE001 - a window that went away is simply not it
            continue
    return None


def wait_mapped(session, title, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        window = mapped_client(session, title)
        if window:
            return time.monotonic(), window
        time.sleep(0.001)
    raise RuntimeError(f"no mapped window titled {title!r}")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def context_switches(pid):
    """Voluntary and involuntary switches of every thread of the process so far."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                    total += int(line.split()[1])
    return total


def click(session, x, y):
    """Presses and releases button 1 at root position (x, y); returns the moment of the press."""
    display = session.x
    Xlib.ext.xtest.fake_input(display, Xlib.X.MotionNotify, x=int(x), y=int(y))
    display.sync()
    time.sleep(0.05)
    pressed = time.monotonic()
    Xlib.ext.xtest.fake_input(display, Xlib.X.ButtonPress, 1)
    Xlib.ext.xtest.fake_input(display, Xlib.X.ButtonRelease, 1)
    display.sync()
    return pressed


def select_first_and_wait(session, window):
    """Clicks the first line of the action list and waits until "Take Action" can be clicked."""
    tree = xwidgets.WidgetTree.fetch(session.x, window)
    try:
        action_list = [node for node in tree.nodes if node.wclass == "List"][0]
        x = session.x
        corner = x.screen().root.translate_coords(
            x.create_resource_object("window", action_list.window), 0, 0)
        click(session, corner.x + 12, corner.y + int(xwidgets.get_value(action_list,
                                                                          "internalHeight")) + 6)
        button = tree.find("takeActions")
        xsession.poll(lambda: xwidgets.get_value(button, "sensitive") == "true", 5.0,
                      "Take Action sensitive")
        return xwidgets.widget_center(button)
    finally:
        tree.close()


def ours_once(session, program, folder, idle_seconds):
    client = qvxsim.Client(program, env=session.env(), prefix=xsession.NO_RANDOMISATION).start()
    result = {}
    try:
        client.read_frame()
        client.send_messages(qvxsim.initialization_info(BaseDirectory=folder))
        session.find_unmapped_by_name("QVXClientUIHiddenWindow", timeout=10)
        time.sleep(random.random())
        start = time.monotonic()
        client.send_messages(qvxsim.action_request(ID=7, Title="Security update",
                                                   ShortDescription="Monthly fixes"))
        mapped, dialog = wait_mapped(session, DIALOG_TITLE)
        result["mapped"] = mapped - start
        time.sleep(0.2)
        result["rss"] = peak_rss_kib(client.process.pid)
        if idle_seconds:
            before = context_switches(client.process.pid)
            time.sleep(idle_seconds)
            result["wakeups"] = (context_switches(client.process.pid) - before) / idle_seconds

        take = select_first_and_wait(session, dialog)
        time.sleep(random.random())
        clicked = click(session, *take)
        answer = client.read_message(timeout=5.0)
        result["answer"] = time.monotonic() - clicked
        assert answer == qvxsim.ActionTaken(False, False, 7, "ClientUI"), answer

        client.send_messages(qvxsim.action_request(ID=8, Title="Careful",
                                                   ShortDescription="Restarts",
                                                   PreActionMessage="Save your work."))
        take = select_first_and_wait(session, dialog)
        time.sleep(random.random())
        clicked = click(session, *take)
        confirmed, _ = wait_mapped(session, CONFIRMATION_TITLE)
        result["confirmation"] = confirmed - clicked
        return result
    finally:
        client.finish()


def xmessage_once(session):
    start = time.monotonic()
    process = subprocess.Popen(["xmessage", "-title", "xmessage bench", "Security update"],
                               env=session.env(), stderr=subprocess.DEVNULL)
    try:
        mapped, _ = wait_mapped(session, "xmessage bench")
        time.sleep(0.2)
        return mapped - start, peak_rss_kib(process.pid)
    finally:
        process.kill()
        process.wait()


def spread(values):
    milliseconds = [value * 1000 for value in values]
    return (f"{statistics.median(milliseconds):7.1f} ms  (min {min(milliseconds):.1f},"
            f" max {max(milliseconds):.1f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--idle-seconds", type=float, default=10.0,
                        help="how long the first run counts wake-ups with the dialog open")
    arguments = parser.parse_args()
    ours, theirs = [], []
    with xsession.XSession() as session, tempfile.TemporaryDirectory() as folder:
        for run in range(arguments.runs):
            idle = arguments.idle_seconds if run == 0 else 0
            ours.append(ours_once(session, arguments.program, os.path.join(folder, str(run)),
                                  idle))
            theirs.append(xmessage_once(session))
    mapped = statistics.median(result["mapped"] for result in ours)
    confirmation = statistics.median(result["confirmation"] for result in ours)
    anchor = statistics.median(seconds for seconds, _ in theirs)
    ours_rss = max(result["rss"] for result in ours)
    theirs_rss = max(rss for _, rss in theirs)
    print(f"Medians of {arguments.runs} runs, each beside an xmessage started in the same run:")
    print(f"  xmessage: started -> window mapped                  {spread([s for s, _ in theirs])}")
    print(f"  ActionRequest written -> dialog mapped              "
          f"{spread([r['mapped'] for r in ours])}  ratio {mapped / anchor:.2f}")
    print(f"  click on Take Action -> ActionTaken on the wire     "
          f"{spread([r['answer'] for r in ours])}")
    print(f"  click on Take Action -> confirmation mapped         "
          f"{spread([r['confirmation'] for r in ours])}  ratio {confirmation / anchor:.2f}")
    if arguments.idle_seconds:
        print(f"  wake-ups per second, idle with the dialog open      "
              f"{ours[0]['wakeups']:7.2f}  (over {arguments.idle_seconds:g} s, every thread)")
    print(f"  peak resident size with the window up: ours {ours_rss / 1024:.1f} MiB,"
          f" xmessage {theirs_rss / 1024:.1f} MiB, ratio {ours_rss / theirs_rss:.2f}")


if __name__ == "__main__":
    main()
