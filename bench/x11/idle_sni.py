#!/usr/bin/env python3
"""Idle cost of the launcher while a StatusNotifierItem host shows its icon.

    python3 bench/x11/idle_sni.py [--build build/release] [--idle 10] [--stretches 2]

On a private desktop (Xvfb, openbox) with a private session bus and the
test notification panel (tests/integration/sni_host.py), it starts sorimo,
waits until its item is registered and the program has settled (2 s), then
counts the context switches of every thread of the process over stretches
of idle time, one after the other. It prints each thread's name and count
per stretch: GDBus runs an I/O thread of its own, and an idle program must
not wake it (nor any other) at all. Runs by hand; the figures are read by
people, not checked by a test.
"""

import argparse
import os
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
from desktop import launcher_with_item_panel  # noqa: E402

SETTLE_S = 2.0


def threads(pid):
    """{thread id: (name, voluntary + involuntary switches)}."""
    result = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/comm") as f:
                name = f.read().strip()
            with open(f"/proc/{pid}/task/{task}/status") as f:
                fields = dict(line.split(":", 1) for line in f if ":" in line)
        except FileNotFoundError:
            continue
        result[task] = (name, int(fields["voluntary_ctxt_switches"]) + int(fields["nonvoluntary_ctxt_switches"]))
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--idle", type=float, default=10.0, help="seconds per stretch")
    parser.add_argument("--stretches", type=int, default=2, help="stretches counted one after the other")
    args = parser.parse_args()
    executable = os.path.join(os.path.abspath(args.build), "app", "sorimo")
    if not os.access(executable, os.X_OK):
        sys.exit(f"missing {executable}: build it first (bash scripts/build.sh release)")

    with launcher_with_item_panel(executable) as (desktop, host, program, registered):
        desktop.move(0, 767)  # the pointer off every window: no hover, no hint timer
        print(f"registered {registered['at'] - program.started_at:.3f} s after the start")
        time.sleep(SETTLE_S)
        pid = program.process.pid
        total = 0
        for stretch in range(1, args.stretches + 1):
            before = threads(pid)
            time.sleep(args.idle)
            after = threads(pid)
            print(f"stretch {stretch} ({args.idle:g} s of idle):")
            for task, (name, count) in sorted(after.items()):
                switches = count - before.get(task, (name, count))[1]
                total += switches
                print(f"  {name:<16} {switches:6d}")
            for task in sorted(set(before) - set(after)):
                print(f"  {before[task][0]:<16} ended")
        print(f"idle context switches, all threads, all stretches: {total} (target 0)")

if __name__ == "__main__":
    main()
