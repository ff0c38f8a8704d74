#!/usr/bin/env python3
"""Start-up benchmark of the Linux program on a private X desktop.

    python3 bench/x11/startup.py [--build build/release] [--runs 7] [--idle 10] [--bus]

Needs a build with the benchmarks (scripts/build.sh release) and the desktop
test tools (Xvfb, openbox, trayer). Runs by hand, not as part of the tests:
the figures depend on the machine and its load, so they are read by people,
not checked by a test.

Under Xvfb + openbox + trayer it starts, interleaved, (a) minimal_client, a
bare Xlib + FreeType program showing one line of Japanese text in a
264 x 104 window, (b) sorimo with no settings file and (c) sorimo with 28
slots filled with files of different types, and measures for each: the time
from the spawn to the first map of a window and the CPU time the program
had used by then (map_watch; the CPU time hardly moves with the machine's
load, the wall time does), the resident memory 2 s after the map, the
context switches over a stretch of idle time with the window shown (once
per configuration), and for sorimo the time until its tray icon is docked.
It prints a table and the ratios against the minimal client with their
targets. With --bus the desktop has a session bus without a notification
watcher, as most XEmbed desktops have: the icon then docks once the bus has
said that no watcher runs. (bench/x11/idle_sni.py measures the idle cost
with a watcher.)
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
from desktop import Desktop, ini  # noqa: E402  (the desktop the integration tests use)

from samplefiles import make_sample_files  # noqa: E402

RSS_DELAY_S = 2.0
TARGET_MAP_PLAIN = 1.3
TARGET_MAP_SLOTS = 2.5
TARGET_RSS = 1.5
# The slot icons are looked up after the map: 28 slots map as soon as none.
TARGET_MAP_SLOTS_VS_PLAIN = 1.15


class Configuration:
    def __init__(self, name, argv, tray_icon=False, prepare=None):
        self.name = name
        self.argv = argv
        self.tray_icon = tray_icon
        self.prepare = prepare or (lambda: None)
        self.map_ms, self.cpu_ms, self.embed_ms, self.rss_kb, self.anon_kb, self.threads = [], [], [], [], [], []
        self.idle_switches = None


def proc_status(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            values[key] = value.split()[0] if value.split() else ""
    return values


def context_switches(pid):
    """Voluntary + involuntary switches of every thread of the process: a
    worker thread that wakes up counts as much as the main one."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            status = proc_status(f"{pid}/task/{task}")
        except FileNotFoundError:
            continue  # the thread ended meanwhile
        total += int(status["voluntary_ctxt_switches"]) + int(status["nonvoluntary_ctxt_switches"])
    return total


def run_once(desktop, map_watch, config, idle_s, scratch):
    """One start of the configuration's program under map_watch."""
    config.prepare()
    argv = [map_watch] + (["--tray-icon"] if config.tray_icon else []) + ["--"] + config.argv
    errors = open(os.path.join(scratch, "map_watch.err"), "w+")
    watch = subprocess.Popen(argv, env=desktop.env, cwd="/", stdout=subprocess.PIPE,
                             stderr=errors, text=True)
    pid = None
    try:
        figures, mapped_at = {}, None
        wanted = {"pid", "map_us", "cpu_us"} | ({"embed_us"} if config.tray_icon else set())
        while not wanted <= figures.keys():
            line = watch.stdout.readline()
            if not line:
                errors.seek(0)
                raise RuntimeError(f"{config.name}: map_watch ended early: {errors.read().strip()}")
            key, _, value = line.strip().partition(" ")
            if key in wanted:  # anything else is the client's own output
                figures[key] = int(value)
                if key == "pid":
                    pid = figures["pid"]
                if key == "map_us":
                    mapped_at = time.monotonic()
        config.map_ms.append(figures["map_us"] / 1000)
        config.cpu_ms.append(figures["cpu_us"] / 1000)
        if config.tray_icon:
            config.embed_ms.append(figures["embed_us"] / 1000)
        time.sleep(max(0.0, mapped_at + RSS_DELAY_S - time.monotonic()))
        try:
            status = proc_status(pid)
        except FileNotFoundError:
            code = watch.wait()
            pid = None
            raise RuntimeError(f"{config.name}: the program ended {RSS_DELAY_S} s after its map "
                               f"(exit status {code})") from None
        config.rss_kb.append(int(status["VmRSS"]))
        config.anon_kb.append(int(status["RssAnon"]))
        config.threads.append(int(status["Threads"]))
        if idle_s:
            before = context_switches(pid)
            time.sleep(idle_s)
            config.idle_switches = context_switches(pid) - before
    finally:
        if pid:
            os.kill(pid, signal.SIGTERM)
        try:
            watch.wait(timeout=10)
        except subprocess.TimeoutExpired:
            if pid:
                os.kill(pid, signal.SIGKILL)
            watch.wait()
        errors.close()


def install(executable, folder, settings=None):
    """A copy of the program in a folder of its own, so that its settings file
    (when given) lies beside it; returns the copy's path and a preparation
    that restores the folder before every start."""
    os.makedirs(folder)
    program = os.path.join(folder, "sorimo")
    shutil.copy2(executable, program)
    ini_path = os.path.join(folder, "sorimo.INI")

    def prepare():
        # The program writes its settings when it ends: start every run alike.
        if settings is None:
            if os.path.exists(ini_path):
                os.unlink(ini_path)
        else:
            with open(ini_path, "wb") as f:
                f.write(settings.encode("utf-8"))
    return program, prepare


def ratio_line(label, value, base, target):
    ratio = value / base if base else float("inf")
    if target is None:
        return f"  {label:<44} {ratio:5.2f} x"
    verdict = "ok" if ratio <= target else "MISSED"
    return f"  {label:<44} {ratio:5.2f} x   (target <= {target} x)  {verdict}"


def report(configs, load_before, load_after):
    minimal, plain, slots = configs
    print()
    print(f"load average before {load_before[0]:.2f} {load_before[1]:.2f} {load_before[2]:.2f}, "
          f"after {load_after[0]:.2f} {load_after[1]:.2f} {load_after[2]:.2f}; {os.cpu_count()} CPUs")
    print()
    print(f"{'':28} {'map ms':>8} {'(min-max)':>16} {'CPU ms':>8} {'RSS MB':>8} {'anon MB':>8} {'threads':>8} "
          f"{'idle ctxsw':>11} {'tray ms':>8}")
    for c in configs:
        embed = f"{statistics.median(c.embed_ms):8.1f}" if c.embed_ms else f"{'-':>8}"
        spread = f"{min(c.map_ms):.1f}-{max(c.map_ms):.1f}"
        print(f"{c.name:28} {statistics.median(c.map_ms):8.1f} {spread:>16} {statistics.median(c.cpu_ms):8.1f} "
              f"{statistics.median(c.rss_kb) / 1024:8.2f} {statistics.median(c.anon_kb) / 1024:8.2f} {max(c.threads):8d} "
              f"{c.idle_switches:11d} {embed}")
    print()
    print(f"runs per configuration: {len(minimal.map_ms)} (medians); idle switches over one stretch each;")
    print("RSS counts the pages of mapped files (libraries, fonts) as well; anon is the private part")
    base_map = statistics.median(minimal.map_ms)
    base_rss = statistics.median(minimal.rss_kb)
    print("ratios against the minimal client:")
    print(ratio_line("map time, no settings", statistics.median(plain.map_ms), base_map, TARGET_MAP_PLAIN))
    print(ratio_line("map time, 28 slots", statistics.median(slots.map_ms), base_map, TARGET_MAP_SLOTS))
    base_cpu = statistics.median(minimal.cpu_ms)
    print(ratio_line("CPU time to map, no settings (no target)", statistics.median(plain.cpu_ms), base_cpu, None))
    print(ratio_line("CPU time to map, 28 slots (no target)", statistics.median(slots.cpu_ms), base_cpu, None))
    print(ratio_line("resident memory, no settings", statistics.median(plain.rss_kb), base_rss, TARGET_RSS))
    print(ratio_line("resident memory, 28 slots", statistics.median(slots.rss_kb), base_rss, TARGET_RSS))
    print("ratio of the two sorimo configurations:")
    print(ratio_line("map time, 28 slots against no settings", statistics.median(slots.map_ms),
                     statistics.median(plain.map_ms), TARGET_MAP_SLOTS_VS_PLAIN))
    for c in (plain, slots):
        verdict = "ok" if c.idle_switches == 0 else "MISSED"
        print(f"  {'idle context switches, ' + c.name:<44} {c.idle_switches:5d}     (target 0)      {verdict}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"),
                        help="the build folder (default: build/release)")
    parser.add_argument("--runs", type=int, default=7, help="measured starts per configuration")
    parser.add_argument("--idle", type=float, default=10.0, help="seconds of idle counted once per configuration")
    parser.add_argument("--bus", action="store_true", help="a session bus without a watcher on the desktop")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    sorimo = os.path.join(build, "app", "sorimo")
    map_watch = os.path.join(build, "bench", "x11", "map_watch")
    minimal = os.path.join(build, "bench", "x11", "minimal_client")
    for needed in (sorimo, map_watch, minimal):
        if not os.access(needed, os.X_OK):
            sys.exit(f"missing {needed}: build it first (bash scripts/build.sh release)")

    load_before = os.getloadavg()
    scratch = tempfile.mkdtemp(prefix="sorimo-bench-")
    desktop = None
    try:
        paths = make_sample_files(os.path.join(scratch, "files"))
        plain_program, plain_prepare = install(sorimo, os.path.join(scratch, "plain"))
        slots_program, slots_prepare = install(
            sorimo, os.path.join(scratch, "slots"),
            ini(slots={k + 1: path for k, path in enumerate(paths)}))
        configs = [
            Configuration("minimal client", [minimal]),
            Configuration("sorimo, no settings", [plain_program], tray_icon=True, prepare=plain_prepare),
            Configuration("sorimo, 28 slots", [slots_program], tray_icon=True, prepare=slots_prepare),
        ]
        desktop = Desktop(tray=True, bus=args.bus)
        # Keep the pointer off every window: no hover, no hint timer.
        desktop.move(0, 767)

        # One unmeasured start each fills the page cache and the font caches.
        for c in configs:
            run_once(desktop, map_watch, c, 0, scratch)
            for figures in (c.map_ms, c.cpu_ms, c.embed_ms, c.rss_kb, c.anon_kb, c.threads):
                figures.clear()
        for round_number in range(args.runs):
            # Rotate the order, so that no configuration always follows the same one.
            shift = round_number % len(configs)
            for c in configs[shift:] + configs[:shift]:
                idle = args.idle if round_number == 0 else 0
                run_once(desktop, map_watch, c, idle, scratch)
                print(f"round {round_number + 1}: {c.name}: map {c.map_ms[-1]:.1f} ms, CPU {c.cpu_ms[-1]:.1f} ms"
                      + (f", tray {c.embed_ms[-1]:.1f} ms" if c.embed_ms else "")
                      + f", RSS {c.rss_kb[-1]} kB", flush=True)
        report(configs, load_before, os.getloadavg())
    finally:
        if desktop:
            desktop.close()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
