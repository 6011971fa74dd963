#!/usr/bin/python3
"""What the tap adds to a round trip on the link: a frame written to an echoing program and
read back whole, directly and through the tap, with the transcript off and on.

  bench/tap_latency.py TAP [--rounds N] [--size BYTES]

Prints the median and 90th percentile round trip of each setup and the median added by the
tap. The echoing program is the same small Python process in every setup, so its own time
cancels out of the difference.
"""

import argparse
import os
import statistics
import struct
import subprocess
import sys
import tempfile
import time

LENGTH = struct.Struct("=I")
ECHO = r'''#!/usr/bin/python3
import os
while True:
    data = os.read(0, 1 << 20)
    if not data:
        break
    view = memoryview(data)
    while view:
        view = view[os.write(1, view):]
'''


def read_exactly(fd, count):
    data = bytearray()
    while len(data) < count:
        chunk = os.read(fd, count - len(data))
        if not chunk:
            raise EOFError("the link ended")
        data.extend(chunk)
    return bytes(data)


def round_trips(command, environment, rounds, size):
    """Seconds per round trip, after a warm-up."""
    frame = LENGTH.pack(size) + b"<" * size
    process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               bufsize=0, env=environment)
    times = []
    try:
        for round_number in range(rounds + 100):
            start = time.perf_counter()
            os.write(process.stdin.fileno(), frame)
            read_exactly(process.stdout.fileno(), len(frame))
            if round_number >= 100:
                times.append(time.perf_counter() - start)
    finally:
        process.stdin.close()
        process.wait()
        process.stdout.close()
    return times


def describe(name, times):
    ordered = sorted(times)
    print(f"{name:32} median {statistics.median(times) * 1e6:8.1f} us   "
          f"p90 {ordered[int(len(ordered) * 0.9)] * 1e6:8.1f} us")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tap")
    parser.add_argument("--rounds", type=int, default=5000)
    parser.add_argument("--size", type=int, default=300, help="frame body in bytes")
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="qvxtapbench-") as folder:
        echo = os.path.join(folder, "echo")
        with open(echo, "w") as file:
            file.write(ECHO)
        os.chmod(echo, 0o755)
        base = {key: value for key, value in os.environ.items()
                if not key.startswith("QVX_TAP_")}
        setups = [
            ("direct", [echo], base),
            ("through the tap", [arguments.tap], dict(base, QVX_TAP_PROGRAM=echo,
                                                      QVX_TAP_TRANSCRIPT="")),
            ("through the tap, transcript on", [arguments.tap],
             dict(base, QVX_TAP_PROGRAM=echo,
                  QVX_TAP_TRANSCRIPT=os.path.join(folder, "transcript.txt"))),
        ]
        medians = {}
        for name, command, environment in setups:
            times = round_trips(command, environment, arguments.rounds, arguments.size)
            medians[name] = statistics.median(times)
            describe(name, times)
    for name, label in (("through the tap", "transcript off"),
                        ("through the tap, transcript on", "transcript on")):
        added = (medians[name] - medians["direct"]) * 1e6
        print(f"added by the tap ({label}): {added:.1f} us median per round trip "
              f"(two relayed frames)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
