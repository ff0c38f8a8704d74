#!/usr/bin/env python3
"""Start-up benchmark of the program on its Wayland backend, on sway
(headless, the desktop the integration tests use).

    python3 bench/wayland/startup.py [--build build/release] [--runs 7]

Runs by hand, not as part of the tests: the figures depend on the machine
and its load. Starts, interleaved, sorimo with no settings file and with 28
slots filled with files of different types, and measures for each the time
from the spawn to its first frame (the first commit of a surface with a
buffer attached, read from the protocol log libwayland writes with
WAYLAND_DEBUG=1, which costs well under a millisecond here), the CPU time
the program had used by then, the resident memory 2 s later, and the
context switches over 3 s of idle time after that (most of all runs). The X11
figures to hold them against come from bench/x11/startup.py on the same
machine.
"""

import argparse
import os
import re
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
sys.path.insert(0, os.path.join(ROOT, "bench", "x11"))
from desktop import SwayDesktop, ini  # noqa: E402
from samplefiles import make_sample_files  # noqa: E402

RSS_DELAY_S = 2.0
IDLE_S = 3.0  # shown and left alone: no switch is expected
ATTACH = re.compile(r"-> wl_surface@(\d+)\.attach\(wl_buffer")


def cpu_ms(pid):
    """CPU time of all the process's threads so far, from the scheduler's
    nanosecond counts (the tick counts of /proc/PID/stat are too coarse)."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return total / 1e6


def context_switches(pid):
    """Voluntary and involuntary switches of every thread of the process."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                total += sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)
        except FileNotFoundError:
            pass
    return total


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def first_frame(process, timeout=10):
    """Seconds from now until the log shows a committed buffer."""
    attached, text = set(), ""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if not select.select([process.stderr], [], [], 0.5)[0]:
            continue
        chunk = os.read(process.stderr.fileno(), 65536).decode(errors="replace")
        if not chunk:
            break
        text += chunk
        lines, text = text.split("\n")[:-1], text.split("\n")[-1]
        for line in lines:
            if m := ATTACH.search(line):
                attached.add(m.group(1))
            elif any(f"-> wl_surface@{s}.commit()" in line for s in attached):
                return time.monotonic()
    raise RuntimeError("no frame within the time-out")


def run_once(desktop, executable, folder, settings):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(executable, os.path.join(folder, "sorimo"))
    if settings is not None:
        with open(os.path.join(folder, "sorimo.INI"), "w") as f:
            f.write(settings)
    desktop.hand_over(folder)
    env = dict(desktop.env, WAYLAND_DEBUG="1")
    begun = time.monotonic()
    process = subprocess.Popen([os.path.join(folder, "sorimo")], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, **desktop.as_user)
    try:
        shown = first_frame(process)
        cpu = cpu_ms(process.pid)
        # The log is no longer read: it goes nowhere from here on.
        time.sleep(RSS_DELAY_S)
        rss = rss_kb(process.pid)
        switches = context_switches(process.pid)
        time.sleep(IDLE_S)
        return (shown - begun) * 1000, cpu, rss, context_switches(process.pid) - switches
    finally:
        process.kill()
        process.wait()
        process.stderr.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    executable = os.path.join(args.build, "app", "sorimo")
    scratch = tempfile.mkdtemp(prefix="sorimo-bench-")
    files = make_sample_files(os.path.join(scratch, "files"))
    slots = {k + 1: path for k, path in enumerate(files)}
    desktop = SwayDesktop(xwayland=False)
    desktop.hand_over(scratch)
    configs = {"no settings": None, "28 slots": ini(100, 120, slots=slots)}
    figures = {name: [] for name in configs}
    try:
        for _ in range(args.runs):
            for name, settings in configs.items():
                figures[name].append(run_once(desktop, executable, os.path.join(scratch, "program"), settings))
    finally:
        desktop.close()
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"{'sway, headless':28} {'frame ms':>9} {'min-max':>13} {'CPU ms':>8} {'RSS MiB':>8} {'idle sw.':>8}")
    for name, runs in figures.items():
        frame = [r[0] for r in runs]
        print(f"{name:28} {statistics.median(frame):9.1f} {min(frame):6.1f}-{max(frame):<6.1f} "
              f"{statistics.median(r[1] for r in runs):8.1f} {statistics.median(r[2] for r in runs) / 1024:8.2f} "
              f"{max(r[3] for r in runs):8d}")


if __name__ == "__main__":
    main()
