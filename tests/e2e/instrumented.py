"""Whether the program under test runs instrumented, on a sanitizer build or under memcheck, and
the slack its timings get then: both start, draw and end slower than a plain build."""

import functools
import subprocess

import memcheck


@functools.lru_cache(maxsize=None)
def sanitized(program):
    """True for an ASan or TSan build: editres names widgets by 32 bits of their address, and a
    sanitizer's heap lies higher, so its widgets cannot be read or clicked from outside."""
    libraries = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    return "libasan" in libraries or "libtsan" in libraries


def slack(program=None):
    """Seconds added to a limit on how soon the program answers, shows or ends something. The
    dialog tests leave out the program: a sanitizer build's dialogs cannot be read anyway."""
    if memcheck.enabled():
        return memcheck.SLACK_SECONDS
    return 1.5 if program is not None and sanitized(program) else 0.0
