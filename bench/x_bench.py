#!/usr/bin/python3
"""On one private Xvfb with openbox, in one run: how long the action request dialog takes to be
mapped after the client writes an ActionRequest, beside how long xmessage takes from its start to
its window being mapped; and the peak resident size of each with its window up.

  bench/x_bench.py PROGRAM [--runs N]

The program dispatches on its one-second tick, so its figure includes the wait for the next tick,
uniform over the second because each request is written at a random moment: about 500 ms of the
median is that wait, not the dialog.
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

import qvxsim  # noqa: E402
import xsession  # noqa: E402

DIALOG_TITLE = "Vantrel Action Requests"


def mapped_client(session, title):
    """A managed, viewable client window with this exact title, or None."""
    x = session.x
    root = x.screen().root
    clients = root.get_full_property(x.intern_atom("_NET_CLIENT_LIST"), 0)
    for window_id in (clients.value if clients else ()):
        window = x.create_resource_object("window", window_id)
        try:
            if session._name(window) == title and session._viewable(window_id):
                return window_id
        except Exception:  # noqa: BLE001 - a window that went away is simply not it
            continue
    return None


def wait_mapped(session, title, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if mapped_client(session, title):
            return time.monotonic()
        time.sleep(0.001)
    raise RuntimeError(f"no mapped window titled {title!r}")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def ours_once(session, program, folder):
    client = qvxsim.Client(program, env=session.env(), prefix=xsession.NO_RANDOMISATION).start()
    try:
        client.read_frame()
        client.send_messages(qvxsim.initialization_info(BaseDirectory=folder))
        session.find_unmapped_by_name("QVXClientUIHiddenWindow", timeout=10)
        time.sleep(random.random())
        start = time.monotonic()
        client.send_messages(qvxsim.action_request(ID=7, Title="Security update",
                                                   ShortDescription="Monthly fixes"))
        mapped = wait_mapped(session, DIALOG_TITLE)
        time.sleep(0.2)
        return mapped - start, peak_rss_kib(client.process.pid)
    finally:
        client.finish()


def xmessage_once(session):
    start = time.monotonic()
    process = subprocess.Popen(["xmessage", "-title", "xmessage bench", "Security update"],
                               env=session.env(), stderr=subprocess.DEVNULL)
    try:
        mapped = wait_mapped(session, "xmessage bench")
        time.sleep(0.2)
        return mapped - start, peak_rss_kib(process.pid)
    finally:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=10)
    arguments = parser.parse_args()
    ours, theirs = [], []
    with xsession.XSession() as session, tempfile.TemporaryDirectory() as folder:
        for run in range(arguments.runs):
            ours.append(ours_once(session, arguments.program, os.path.join(folder, str(run))))
            theirs.append(xmessage_once(session))
    ours_ms = [seconds * 1000 for seconds, _ in ours]
    theirs_ms = [seconds * 1000 for seconds, _ in theirs]
    ours_rss = max(rss for _, rss in ours)
    theirs_rss = max(rss for _, rss in theirs)
    print(f"Window mapped, median of {arguments.runs} runs:")
    print(f"  ours: ActionRequest written -> dialog mapped   {statistics.median(ours_ms):7.1f} ms"
          f"  (min {min(ours_ms):.1f}, max {max(ours_ms):.1f}; includes the wait for the tick)")
    print(f"  xmessage: started -> window mapped            {statistics.median(theirs_ms):7.1f} ms"
          f"  (min {min(theirs_ms):.1f}, max {max(theirs_ms):.1f})")
    print("Peak resident size with the window up:")
    print(f"  ours {ours_rss / 1024:.1f} MiB, xmessage {theirs_rss / 1024:.1f} MiB,"
          f" ratio {ours_rss / theirs_rss:.2f}")


if __name__ == "__main__":
    main()
