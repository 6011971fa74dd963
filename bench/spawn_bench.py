#!/usr/bin/python3
"""How long the program takes from being spawned to its first frame (ReadyForData) on standard
output, beside a fork and exec of /bin/true waited for, each the median of one run's spawns.

  bench/spawn_bench.py PROGRAM [--runs N] [--floor FLOOR_PROGRAM]

Both sides are started the same way, with standard input and output on pipes, and alternate so
that a busy moment of the machine falls on both. The program would wait for InitializationInfo;
it is killed once its frame is read. --floor adds a third line: another program timed to its
first frame like ours, such as bench/SpawnFloor.cpp, which links the program's libraries and
writes a frame at once: what the dynamic loader alone costs.
"""

import argparse
import os
import signal
import statistics
import struct
import subprocess
import time

LENGTH = struct.Struct("=I")


def read_exactly(fd, count):
    data = bytearray()
    while len(data) < count:
        chunk = os.read(fd, count - len(data))
        if not chunk:
            raise RuntimeError(f"output ended after {len(data)} of {count} bytes")
        data.extend(chunk)
    return bytes(data)


def spawn(command):
    return subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, bufsize=0, close_fds=True)


def first_frame_seconds(program):
    """Popen until the first frame is whole on the program's standard output."""
    start = time.perf_counter()
    process = spawn([program])
    try:
        fd = process.stdout.fileno()
        (length,) = LENGTH.unpack(read_exactly(fd, LENGTH.size))
        read_exactly(fd, length)
        return time.perf_counter() - start
    finally:
        os.kill(process.pid, signal.SIGKILL)
        process.wait()
        process.stdin.close()
        process.stdout.close()


def run_to_exit_seconds(program):
    """Popen until the process has exited and been reaped."""
    start = time.perf_counter()
    process = spawn([program])
    process.wait()
    elapsed = time.perf_counter() - start
    process.stdin.close()
    process.stdout.close()
    return elapsed


def line(label, samples):
    milliseconds = [seconds * 1000 for seconds in samples]
    return (f"  {label:<40} {statistics.median(milliseconds):7.2f} ms"
            f"  (min {min(milliseconds):.2f}, max {max(milliseconds):.2f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=50)
    parser.add_argument("--floor", help="a program to time to its first frame like ours")
    arguments = parser.parse_args()
    ours, anchor, floor = [], [], []
    # One of each first, unmeasured: the page cache then holds every file both sides open.
    first_frame_seconds(arguments.program)
    run_to_exit_seconds("/bin/true")
    if arguments.floor:
        first_frame_seconds(arguments.floor)
    for _ in range(arguments.runs):
        ours.append(first_frame_seconds(arguments.program))
        anchor.append(run_to_exit_seconds("/bin/true"))
        if arguments.floor:
            floor.append(first_frame_seconds(arguments.floor))
    print(f"Spawn, median of {arguments.runs} runs:")
    print(line("ours: Popen -> ReadyForData read", ours))
    print(line("/bin/true: Popen -> exited", anchor))
    if arguments.floor:
        print(line(f"floor {os.path.basename(arguments.floor)}: Popen -> frame read", floor))
    print(f"  ratio ours / true {statistics.median(ours) / statistics.median(anchor):.2f}")
    if arguments.floor:
        print(f"  ratio floor / true {statistics.median(floor) / statistics.median(anchor):.2f}")


if __name__ == "__main__":
    main()
