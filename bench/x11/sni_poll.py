#!/usr/bin/env python3
"""What a panel that polls the tray item's picture costs the launcher.

    python3 bench/x11/sni_poll.py [--build build/release] [--reads 10000] [--bursts 2]

On a private desktop (Xvfb, openbox) with a private session bus and the
test notification panel (tests/integration/sni_host.py), it starts sorimo,
waits until its item is registered, then sends bursts of IconPixmap reads
(all at once, as a panel that polls and reads the answers later). During
each burst it times a `sorimo --toggle` (the launcher must stay responsive)
and after it prints the launcher's resident memory. Runs by hand; the
figures are read by people, not checked by a test.
"""

import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
from desktop import _python_with_dbus as python_with_dbus, launcher_with_item_panel  # noqa: E402

# Sends READS Get(IconPixmap) calls without waiting, then collects every answer.
BURST = r"""
import sys
import dbus, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
name, path, reads = sys.argv[1], sys.argv[2], int(sys.argv[3])
props = dbus.Interface(dbus.SessionBus().get_object(name, path, introspect=False),
                       "org.freedesktop.DBus.Properties")
left = [reads]
loop = GLib.MainLoop()
def answered(*_):
    left[0] -= 1
    if left[0] == 0:
        loop.quit()
for _ in range(reads):
    props.Get("org.kde.StatusNotifierItem", "IconPixmap", reply_handler=answered, error_handler=answered)
print("sent", flush=True)
loop.run()
"""


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--reads", type=int, default=10000)
    parser.add_argument("--bursts", type=int, default=2)
    args = parser.parse_args()
    executable = os.path.join(os.path.abspath(args.build), "app", "sorimo")
    if not os.access(executable, os.X_OK):
        sys.exit(f"missing {executable}: build it first (bash scripts/build.sh release)")

    with launcher_with_item_panel(executable) as (desktop, host, program, registered):
        service, sender = registered["service"], registered["sender"]
        name, path = (sender, service) if service.startswith("/") else (service, "/StatusNotifierItem")
        pid = program.process.pid
        print(f"resident before: {rss_mb(pid):.1f} MB")
        for burst in range(1, args.bursts + 1):
            reader = subprocess.Popen([python_with_dbus(), "-c", BURST, name, path, str(args.reads)],
                                      env=desktop.env, stdout=subprocess.PIPE, text=True)
            reader.stdout.readline()  # every call is sent
            began = time.monotonic()
            code, toggle_s = program.start_again("--toggle", timeout=60)
            reader.wait()
            answered_s = time.monotonic() - began
            print(f"burst {burst}: {args.reads} reads answered in {answered_s:.2f} s; "
                  f"--toggle during it took {toggle_s * 1000:.0f} ms (status {code}); "
                  f"resident after: {rss_mb(pid):.1f} MB")

if __name__ == "__main__":
    main()
