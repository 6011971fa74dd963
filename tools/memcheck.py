"""Runs the program under valgrind's memcheck when QVX_MEMCHECK=1, and reads what it found.

The simulator, the scenario player and the e2e tests start the program through prefix(); each
run writes its own log into the folder given, and findings() turns a folder of logs into the
errors they report. memcheck keeps the heap low enough for editres's 32-bit widget names, so
the dialogs can be read and clicked under it as they are without it.

Standard library only, for Debian's /usr/bin/python3.
"""

import glob
import os
import re

import qvxsim
import xsession

# Names the folder for the logs of a run under memcheck; a scratch folder without it.
LOG_FOLDER_VARIABLE = "QVX_MEMCHECK_LOGS"
# A status no run of the program ends with by itself, so a finding cannot pass for a clean exit.
ERROR_STATUS = 97
# Blocks that the toolkit's libraries lose on their own, each named there.
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "memcheck.supp")
# A run under memcheck starts, draws and ends several times slower; waits and time limits that
# are about the program's own pace get this many seconds more.
SLACK_SECONDS = 4.0

_SUMMARY = re.compile(r"^==\d+== ERROR SUMMARY: (\d+) errors", re.MULTILINE)


def enabled():
    return os.environ.get("QVX_MEMCHECK") == "1"


def prefix(log_folder):
    """The command the program runs under: memcheck with one log per process in log_folder,
    without address randomisation like every program xwidgets reads."""
    return list(xsession.NO_RANDOMISATION) + [
        "valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
        "--errors-for-leak-kinds=definite", f"--error-exitcode={ERROR_STATUS}",
        "--num-callers=30", f"--suppressions={SUPPRESSIONS}",
        "--log-file=" + os.path.join(log_folder, "memcheck.%p.log")]


def logs(log_folder):
    return sorted(glob.glob(os.path.join(log_folder, "memcheck.*.log")))


def findings(log_folder):
    """(errors, text) of each log in the folder that reports an error, the text headed by the
    log's file name. A log without a summary belongs to a run that was killed: what it reported
    so far counts."""
    found = []
    for path in logs(log_folder):
        with open(path, encoding="utf-8", errors="replace") as log:
            text = log.read()
        summary = _SUMMARY.search(text)
        reported = int(summary.group(1)) if summary else _error_count(text)
        if reported:
            found.append((reported, f"{os.path.basename(path)}:\n{text}"))
    return found


def _error_count(text):
    """Errors in a log cut short: each report opens with a line naming its kind."""
    return len(re.findall(r"^==\d+== (Invalid |Conditional |Use of uninit|Syscall param|"
                          r"Mismatched |Source and destination|Argument )", text, re.MULTILINE))


def let_exit(client, timeout=20.0):
    """Ends a qvxsim.Client's run as the client does, by closing the link, so that the leak check
    runs; a program still running after timeout is left to the caller to kill."""
    if not client.process.stdin.closed:
        client.close_writing()
    try:
        client.wait_exit(timeout)
    except qvxsim.SimulatorTimeout:
        pass
