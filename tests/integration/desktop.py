"""Private desktops for integration tests, each with its own servers: X
(Xvfb, a window manager, an optional system tray, an optional session bus
with a notification panel: the stand-in of sni_host.py or a real panel from
Debian: lxqt-panel, xfce4-panel, tint2) and sway (headless, with Xwayland,
run as an unprivileged user); and the Sorimo program started from a folder
of its own (so that its settings file lies beside it)."""

import contextlib
import ctypes
import ctypes.util
import glob
import json
import os
import pwd
import queue
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "..", "resources")

def _start_server(argv, timeout=30):
    """Starts an X server that picks a free display number itself and
    reports it (-displayfd): two test runs starting at the same moment can
    never end up on one server. Returns the process and the display."""
    read, write = os.pipe()
    try:
        server = subprocess.Popen(argv[:1] + ["-displayfd", str(write)] + argv[1:], pass_fds=(write,),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        os.close(write)
    text = b""
    deadline = time.monotonic() + timeout
    with os.fdopen(read, "rb", buffering=0) as pipe:
        while not text.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([pipe], [], [], remaining)[0]:
                server.kill()
                server.wait()
                raise RuntimeError("the X server did not start")
            chunk = pipe.read(16)
            if not chunk:
                server.wait()
                raise RuntimeError("the X server ended at start-up")
            text += chunk
    return server, ":" + text.decode().strip()


def _xlib():
    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    handle, window, atom = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong
    xlib.XOpenDisplay.restype = handle
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XCloseDisplay.argtypes = [handle]
    xlib.XInternAtom.restype = atom
    xlib.XInternAtom.argtypes = [handle, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetSelectionOwner.restype = window
    xlib.XGetSelectionOwner.argtypes = [handle, atom]
    xlib.XDefaultRootWindow.restype = window
    xlib.XDefaultRootWindow.argtypes = [handle]
    xlib.XCreateSimpleWindow.restype = window
    xlib.XCreateSimpleWindow.argtypes = [handle, window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                         ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    xlib.XMapWindow.argtypes = [handle, window]
    xlib.XDestroyWindow.argtypes = [handle, window]
    xlib.XFlush.argtypes = [handle]
    xlib.XQueryTree.argtypes = [handle, window, ctypes.POINTER(window), ctypes.POINTER(window),
                                ctypes.POINTER(ctypes.c_void_p), ctypes.POINTER(ctypes.c_uint)]
    xlib.XFree.argtypes = [ctypes.c_void_p]
    return xlib


class _Connection:
    """A short-lived Xlib connection of the test itself."""

    def __init__(self, display):
        self.xlib = _xlib()
        self.handle = self.xlib.XOpenDisplay(display.encode())

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.handle:
            self.xlib.XCloseDisplay(self.handle)

    def selection_owner(self, selection):
        if not self.handle:
            return 0
        return self.xlib.XGetSelectionOwner(self.handle, self.xlib.XInternAtom(self.handle, selection.encode(), 0))

    def parent(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.c_void_p(), ctypes.c_uint()
        self.xlib.XQueryTree(self.handle, window, ctypes.byref(root), ctypes.byref(parent),
                             ctypes.byref(children), ctypes.byref(count))
        if children:
            self.xlib.XFree(children)
        return parent.value

    def window_manager_frames_a_window(self, timeout):
        """Maps a probe window and says whether the window manager framed it
        (reparented it) within `timeout` seconds."""
        root = self.xlib.XDefaultRootWindow(self.handle)
        probe = self.xlib.XCreateSimpleWindow(self.handle, root, 0, 0, 10, 10, 0, 0, 0)
        try:
            self.xlib.XMapWindow(self.handle, probe)
            self.xlib.XFlush(self.handle)
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                if self.parent(probe) != root:
                    return True
                time.sleep(0.02)
            return False
        finally:
            self.xlib.XDestroyWindow(self.handle, probe)
            self.xlib.XFlush(self.handle)


def _parse_ppm(data):
    """(width, height, pixels) of a binary PPM (P6) with 8-bit samples."""
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + 3 * width * height]


def _stop_all(processes, timeout):
    """Ends the processes, the last started first: politely, then by force."""
    for process in reversed(processes):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        for pipe in (process.stdin, process.stdout):
            if pipe:
                pipe.close()


@contextlib.contextmanager
def launcher_with_item_panel(executable, settings=None):
    """A private desktop with a session bus and the test notification panel,
    and the launcher started on it with its item registered: yields
    (desktop, host, program, the registration event). Ends all of them,
    the launcher by SIGTERM."""
    desktop = Desktop(tray=False, bus=True)
    host = program = None
    try:
        host = NotificationHost(desktop)
        program = Sorimo(desktop, executable, settings if settings is not None else ini())
        program.window()
        yield desktop, host, program, host.next_event("registered", timeout=10)
    finally:
        if program:
            program.signal(signal.SIGTERM)
            program.wait()
            shutil.rmtree(program.folder, ignore_errors=True)
        if host:
            host.stop()
        desktop.close()


def wait_for(condition, timeout=10.0, what="condition"):
    """Polls `condition` until it returns a true value, with a bounded wait."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


class Desktop:
    """`tray`: an XEmbed system tray (trayer); `bus`: a private session bus
    (without it the programs see none: no bus address, an empty runtime
    folder)."""

    def __init__(self, tray=True, bus=False, width=1024, height=768):
        self.env = dict(os.environ)
        self.env.pop("XDG_CURRENT_DESKTOP", None)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("WAYLAND_DISPLAY", None)  # the program must not pick the tester's compositor
        self.runtime = tempfile.mkdtemp(prefix="sorimo-run-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime
        self.processes = []
        if bus:
            self.start_bus()
        server, self.display = _start_server(
            ["Xvfb", "-screen", "0", f"{width}x{height}x24", "-noreset", "-nolisten", "tcp"])
        self.processes.append(server)
        self.env["DISPLAY"] = self.display
        wait_for(lambda: self.run(["xdpyinfo"], check=False).returncode == 0, what="the X server")
        self.wm = self._start(["openbox", "--sm-disable"])
        # The window manager announces itself before it is ready: a window
        # mapped in the first moments may never be managed. Wait until a probe
        # window is framed; a probe that was missed is replaced by another.
        with _Connection(self.display) as x:
            wait_for(lambda: x.window_manager_frames_a_window(timeout=0.5), what="the window manager")
        self.tray = self.start_tray() if tray else None

    def _start(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def start_tray(self):
        tray = self._start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                            "--width", "120", "--height", "32", "--transparent", "false"])
        wait_for(self.tray_owned, what="the tray")
        return tray

    def start_bus(self):
        """A session bus of our own, its socket at $XDG_RUNTIME_DIR/bus."""
        daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                                   f"--address=unix:path={self.runtime}/bus"],
                                  env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.processes.append(daemon)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = daemon.stdout.readline().strip()
        daemon.stdout.close()

    def start_panel(self, kind, edge="bottom", size=32, items=True):
        """A real panel from Debian along one edge of the screen, with a
        notification area: "lxqt" (lxqt-panel: items, and its XEmbed tray
        plugin; only the tray plugin without `items`), "xfce" (xfce4-panel's
        notification area: items and XEmbed icons), "tint2" (an XEmbed tray
        only). Returns once it shows."""
        config = os.path.join(self.runtime, "config")
        self.env["XDG_CONFIG_HOME"] = config
        self.env["HOME"] = self.runtime
        if kind == "lxqt":
            os.makedirs(os.path.join(config, "lxqt"), exist_ok=True)
            with open(os.path.join(config, "lxqt", "panel.conf"), "w") as f:
                f.write(f"[General]\n__userfile__=true\npanels=panel1\n\n[panel1]\n"
                        f"plugins={'statusnotifier,' if items else ''}tray\nposition={edge.capitalize()}\ndesktop=0\n"
                        f"panelSize={size}\n\n[statusnotifier]\ntype=statusnotifier\n\n[tray]\ntype=tray\n")
            panel = self._start(["lxqt-panel"])
        elif kind == "xfce":
            channel = os.path.join(config, "xfce4", "xfconf", "xfce-perchannel-xml")
            os.makedirs(channel, exist_ok=True)
            with open(os.path.join(channel, "xfce4-panel.xml"), "w") as f:
                f.write(XFCE_PANEL.format(position=6 if edge == "top" else 8, size=size))
            panel = self._start(["xfce4-panel", "--disable-wm-check"])
        elif kind == "tint2":
            path = os.path.join(self.runtime, "tint2rc")
            with open(path, "w") as f:
                f.write(TINT2RC.format(edge=edge, size=size))
            panel = self._start(["tint2", "-c", path])
        else:
            raise ValueError(kind)
        if kind != "lxqt" or not items:
            wait_for(self.tray_owned, timeout=30, what=f"the {kind} panel's tray")
        else:
            wait_for(lambda: self.bus_names("org.kde.StatusNotifierHost-"), timeout=30, what="the lxqt panel")
        return panel

    def bus_names(self, prefix=""):
        """The names on the private session bus that start with `prefix`."""
        out = self.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                        "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"], check=False).stdout
        return [n for n in out.split() if n.startswith(prefix) and n not in ("array", "[", "]")]

    def registered_items(self):
        """What the StatusNotifierWatcher lists as registered items."""
        out = self.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.kde.StatusNotifierWatcher",
                        "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties.Get",
                        "string:org.kde.StatusNotifierWatcher", "string:RegisteredStatusNotifierItems"],
                       check=False).stdout
        return [w for w in out.split() if w not in ("variant", "array", "[", "]")]

    def screen_rgb(self):
        """The whole screen as (width, height, RGB bytes)."""
        shot = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, check=True).stdout
        return _parse_ppm(shot)

    def tray_owned(self):
        """True when some client owns the system tray selection of screen 0."""
        with _Connection(self.display) as x:
            return x.selection_owner("_NET_SYSTEM_TRAY_S0") != 0

    def run(self, argv, check=True, **kwargs):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check, **kwargs)

    # --- monitors (RandR 1.5 monitors on the one Xvfb screen)
    def set_monitors(self, monitors):
        """Splits the root into monitors, given as (name, x, y, width,
        height), the first the primary one: it takes over Xvfb's output, so
        that the monitor covering the whole root goes; the others have no
        output. Parts of the root may lie on no monitor."""
        output = self.run(["xrandr", "--listmonitors"]).stdout.split()[-1]
        for index, (name, x, y, width, height) in enumerate(monitors):
            # 96 pixels per inch, for the millimetres xrandr asks for.
            geometry = f"{width}/{width * 254 // 960}x{height}/{height * 254 // 960}+{x}+{y}"
            self.run(["xrandr", "--setmonitor", name, geometry, output if index == 0 else "none"])
        wait_for(lambda: self.monitors() == [m[0] for m in monitors], what="the monitors")

    def monitors(self):
        """The names of the monitors, as RandR lists them."""
        lines = self.run(["xrandr", "--listmonitors"]).stdout.splitlines()[1:]
        return [line.split()[1].lstrip("+*") for line in lines]

    def delete_monitor(self, name):
        self.run(["xrandr", "--delmonitor", name])

    def close(self):
        _stop_all(self.processes, timeout=5)
        shutil.rmtree(self.runtime, ignore_errors=True)
        # A server that was killed leaves its lock and socket behind.
        number = self.display.lstrip(":")
        for leftover in (f"/tmp/.X{number}-lock", f"/tmp/.X11-unix/X{number}"):
            try:
                os.unlink(leftover)
            except OSError:
                pass

    # --- windows
    def find_window(self, name):
        ids = self.find_windows(name)
        return ids[0] if ids else None

    def find_windows(self, name):
        """The visible windows with exactly this name (xdotool matches
        without regard to case; the names are compared again here)."""
        result = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], check=False)
        return [w for w in result.stdout.split()
                if self.run(["xdotool", "getwindowname", w], check=False).stdout.rstrip("\n") == name]

    def focused_window(self):
        return self.run(["xdotool", "getwindowfocus"], check=False).stdout.strip()

    def active_window(self):
        """The window _NET_ACTIVE_WINDOW names, as a decimal id."""
        text = self.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"]).stdout
        return str(int(text.split()[-1], 16)) if "window id" in text else None

    def key(self, name):
        """A key press and release, sent to the window with the focus."""
        self.run(["xdotool", "key", name])

    def geometry(self, window):
        info = self.run(["xwininfo", "-id", window]).stdout
        values = {}
        for line in info.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    values[key] = int(line.split(":")[1])
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"], values["Height"])

    def docked(self, window):
        """True when the window was taken out of the root (by a tray)."""
        with _Connection(self.display) as x:
            return x.parent(int(window)) != x.xlib.XDefaultRootWindow(x.handle)

    def windows_named(self, name):
        """Every visible window whose name is exactly `name` (case counts)."""
        found = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], check=False).stdout.split()
        return [w for w in found if self.run(["xdotool", "getwindowname", w], check=False).stdout.strip() == name]

    def prop(self, window, name):
        return self.run(["xprop", "-id", window, name]).stdout

    def click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)])

    def click_window(self, window, button=1):
        """A synthetic press and release sent straight to the window, back to
        back (as a tray proxy sends a click on to an icon)."""
        self.run(["xdotool", "click", "--window", window, str(button)])

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(x), str(y)])

    def screenshot(self, window, path):
        self.run(["import", "-window", window, path])

    def pixels(self, window):
        """The window's picture as (width, height, RGB bytes, row by row)."""
        shot = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=self.env, capture_output=True,
                              check=True).stdout
        return _parse_ppm(shot)

    def region(self, window, left, top, width, height):
        """The RGB bytes of a rectangle of the window's picture, row by row."""
        full_width, _, rgb = self.pixels(window)
        return b"".join(rgb[3 * (y * full_width + left):3 * (y * full_width + left + width)]
                        for y in range(top, top + height))

    def drag(self, start, end, button=1, steps=5, pause=0.1):
        """Presses at `start`, moves in steps to `end` and releases there,
        with pauses between the steps as a hand would make them."""
        argv = ["xdotool", "mousemove", str(start[0]), str(start[1]), "sleep", "0.2", "mousedown", str(button)]
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            argv += ["sleep", str(pause), "mousemove", str(x), str(y)]
        argv += ["sleep", "0.2", "mouseup", str(button)]
        self.run(argv)

    def double_click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2",
                  "click", "--repeat", "2", "--delay", "120", str(button)])

    def type_text(self, text):
        """Types `text` into the window that has the keyboard focus."""
        self.run(["xdotool", "type", "--delay", "30", text])

    def key(self, *names):
        self.run(["xdotool", "key", "--delay", "50", *names])


def _python_with_dbus():
    """An interpreter that has python3-dbus and python3-gi (Debian's own
    Python; the one running the tests may be another)."""
    for candidate in ("/usr/bin/python3", shutil.which("python3")):
        if candidate and subprocess.run([candidate, "-c", "import dbus, gi"],
                                        capture_output=True).returncode == 0:
            return candidate
    raise RuntimeError("no Python with python3-dbus and python3-gi (scripts/setup-deps.sh installs them)")


class NotificationHost:
    """The panel of a desktop that shows StatusNotifierItems: a watcher and
    host on the desktop's session bus (sni_host.py), recording registrations
    and reading or clicking the registered item."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.events = queue.Queue()
        self.process = subprocess.Popen([_python_with_dbus(), os.path.join(HERE, "sni_host.py")],
                                        env=desktop.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, **getattr(desktop, "as_user", {}))
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.next_event("ready", timeout=15)

    def _read(self):
        for line in self.process.stdout:
            event = json.loads(line)
            event["at"] = time.monotonic()
            self.events.put(event)

    def next_event(self, kind, timeout=5.0):
        """The next event of the kind, skipping others (signals are kept apart)."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                event = self.events.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise AssertionError(f"the notification host sent no {kind!r} event") from None
            if event["event"] == kind:
                return event

    def signals(self, timeout=0.5):
        """The names of the item's signals that arrive within `timeout`."""
        names, deadline = [], time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                event = self.events.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                break
            if event["event"] == "signal":
                names.append(event["name"])
        return names

    def _ask(self, command):
        self.process.stdin.write(json.dumps(command) + "\n")
        self.process.stdin.flush()
        deadline = time.monotonic() + 5
        while True:
            event = self.events.get(timeout=max(0.0, deadline - time.monotonic()))
            if event["event"] == "reply":
                return event["value"]
            if event["event"] == "error":
                raise AssertionError("the item refused: " + event["message"])

    def get(self, prop):
        return self._ask({"get": prop})

    def call(self, method, *args):
        return self._ask({"call": method, "args": list(args)})

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.reader.join()
        self.process.stdin.close()
        self.process.stdout.close()


# --- sway: a Wayland compositor placing X11 windows itself

TEST_USER = "sorimo-desktop"


def unprivileged_user():
    """The user that sway and the program run as when the tests run as
    root (sway refuses root): one made for the tests; None otherwise."""
    if os.getuid() != 0:
        return None
    for attempt in range(2):
        try:
            return pwd.getpwnam(TEST_USER)
        except KeyError:
            subprocess.run(["useradd", "--system", "--no-create-home", "--home-dir", "/nonexistent",
                            "--shell", "/usr/sbin/nologin", TEST_USER], check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return pwd.getpwnam(TEST_USER)


class SwayDesktop(Desktop):
    """sway on its headless backend, one output of `width` x `height` at
    `scale`, and grim for pictures. With `xwayland` the X11 program runs
    through Xwayland, with a virtual pointer for input (`pointer`, see
    wayland_pointer); without it, the program runs natively on Wayland and
    `input()` gives a virtual pointer and keyboard. `bus`: a session bus.
    Run as an unprivileged user when the tests run as root; the X tools run
    as that user too."""

    def __init__(self, width=1280, height=800, xwayland=True, scale=1, bus=False):
        from wayland_pointer import VirtualPointer
        self.user = unprivileged_user()
        self.as_user = dict(user=self.user.pw_uid, group=self.user.pw_gid, extra_groups=[]) if self.user else {}
        self.width, self.height = width, height
        self.processes = []
        self.pointer = None
        self._input = None
        self.runtime = tempfile.mkdtemp(prefix="sorimo-sway-")
        os.chmod(self.runtime, 0o700)
        if self.user:
            os.chown(self.runtime, self.user.pw_uid, self.user.pw_gid)
        config = os.path.join(self.runtime, "config")
        with open(config, "w") as f:
            f.write(f"output HEADLESS-1 resolution {width}x{height} position 0 0 scale {scale}\n"
                    f"xwayland {'force' if xwayland else 'disable'}\n")
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.runtime,
                    "XDG_RUNTIME_DIR": self.runtime, "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "WLR_RENDERER": "pixman", "LANG": "C.UTF-8"}
        if xwayland:
            # The X11 program through Xwayland: sway would give it the
            # Wayland backend.
            self.env["SORIMO_BACKEND"] = "x11"
        if bus:
            self.start_bus()
        self.sway = self._start(["sway", "-c", config])
        wayland = wait_for(lambda: [os.path.basename(p) for p in glob.glob(os.path.join(self.runtime, "wayland-*"))
                                    if not p.endswith(".lock")], timeout=30, what="sway")[0]
        self.env["WAYLAND_DISPLAY"] = wayland
        self.env["SWAYSOCK"] = wait_for(lambda: glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock")),
                                        what="sway's socket")[0]
        self.tray = None
        if not xwayland:
            # The layout in logical pixels, where positions are given.
            self.width, self.height = width // scale, height // scale
            wait_for(lambda: self.run(["swaymsg", "-t", "get_outputs"], check=False).returncode == 0,
                     what="sway to answer")
            return
        # Xwayland's display, as sway hands it to the programs it starts.
        answer = os.path.join(self.runtime, "display")
        self.run(["swaymsg", "exec", f"printenv DISPLAY > {answer}.part && mv {answer}.part {answer}"])
        def display():
            if os.path.exists(answer):
                with open(answer) as f:
                    return f.read().strip()
            return None
        self.display = wait_for(display, timeout=30, what="Xwayland's display")
        self.env["DISPLAY"] = self.display
        wait_for(lambda: self.run(["xdpyinfo"], check=False).returncode == 0, timeout=30, what="Xwayland")
        self.pointer = VirtualPointer(os.path.join(self.runtime, wayland), width, height)

    def start_bus(self):
        """A session bus of the desktop's user, for what starts after it."""
        daemon = self._start(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                              f"--address=unix:path={self.runtime}/bus"], stdout=subprocess.PIPE, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = daemon.stdout.readline().strip()
        daemon.stdout.close()

    def start_waybar(self, height=30):
        """Waybar along the top edge with only its tray (items), on a
        session bus of its own; returns once its host is on the bus."""
        self.start_bus()
        folder = os.path.join(self.runtime, "waybar")
        os.makedirs(folder)
        with open(os.path.join(folder, "config"), "w") as f:
            json.dump({"layer": "top", "position": "top", "height": height, "modules-right": ["tray"],
                       "tray": {"icon-size": 21}}, f)
        with open(os.path.join(folder, "style.css"), "w") as f:
            f.write("window#waybar { background: #333333; }\n")
        for path in (folder, *(os.path.join(folder, n) for n in ("config", "style.css"))):
            if self.user:
                os.chown(path, self.user.pw_uid, self.user.pw_gid)
        self._start(["waybar", "-c", os.path.join(folder, "config"), "-s", os.path.join(folder, "style.css")])
        wait_for(lambda: self.bus_names("org.kde.StatusNotifierHost-") and self.bus_names("org.kde.StatusNotifierWatcher"),
                 timeout=30, what="waybar's tray")

    def _start(self, argv, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=self.env, stderr=subprocess.DEVNULL, **self.as_user, **kwargs)
        self.processes.append(process)
        return process

    def run(self, argv, check=True, **kwargs):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check,
                              **self.as_user, **kwargs)

    def hand_over(self, path):
        """Gives a folder of the test (and what it holds) to the desktop's user."""
        if not self.user:
            return
        for root, _dirs, files in os.walk(path):
            os.chown(root, self.user.pw_uid, self.user.pw_gid)
            for name in files:
                os.chown(os.path.join(root, name), self.user.pw_uid, self.user.pw_gid)

    def layout_region(self, left, top, width, height):
        """The pixels of a rectangle of the layout (logical pixels) as the
        output shows them, at its scale: (width, height, RGB bytes)."""
        shot = subprocess.run(["grim", "-t", "ppm", "-g", f"{left},{top} {width}x{height}", "-"],
                              env=self.env, capture_output=True, check=True, **self.as_user)
        return _parse_ppm(shot.stdout)

    def input(self, tool):
        """The virtual pointer and keyboard (tests/wayland/VirtualInput.cpp)
        on a desktop without Xwayland, made at the first call: make them
        before the program starts. A program binds the seat's pointer and
        keyboard only once the seat has them, and input that comes before
        it did is lost to it."""
        if not self._input:
            self._input = VirtualInput(self, tool)
        return self._input

    def screen_rgb(self):
        shot = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env, capture_output=True, check=True,
                              **self.as_user).stdout
        return _parse_ppm(shot)

    def screenshot_to(self, path):
        """The whole output as a PNG at `path` (written through a file of
        the desktop's user)."""
        own = os.path.join(self.runtime, "shot.png")
        self.run(["grim", own])
        shutil.copy(own, path)

    def close(self):
        if self.pointer:
            self.pointer.close()
        _stop_all(self.processes, timeout=10)
        shutil.rmtree(self.runtime, ignore_errors=True)


class VirtualInput:
    """Moves, presses and releases a pointer and types keys on a SwayDesktop
    without Xwayland; each call returns once the compositor has taken it."""

    def __init__(self, desktop, tool):
        self.desktop = desktop
        self.process = desktop._start([tool], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self._expect("ready")

    def _expect(self, word):
        line = self.process.stdout.readline().strip()
        if line != word:
            raise AssertionError(f"the virtual input said {line!r}, not {word!r}")

    def _say(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        self._expect("ok")

    def move(self, x, y):
        self._say(f"move {x} {y} {self.desktop.width} {self.desktop.height}")

    def press(self, button="left"):
        self._say(f"press {button}")

    def release(self, button="left"):
        self._say(f"release {button}")

    def click(self, x, y, button="left"):
        self.move(x, y)
        self.press(button)
        self.release(button)

    def key(self, name):
        """Types the key of a keysym name (Escape, Return)."""
        self._say(f"key {name}")


def icons_in(picture, area, colour=(0x00, 0x33, 0xCC), gap=6):
    """The tray icons shown in `area` (x, y, width, height) of a picture
    (width, height, RGB): clusters of the heart's outline colour, apart by
    more than `gap` pixels, as their bounding boxes (x, y, width, height)."""
    width, _, data = picture
    ax, ay, aw, ah = area
    points = [(x, y) for y in range(ay, ay + ah) for x in range(ax, ax + aw)
              if all(abs(data[(y * width + x) * 3 + i] - colour[i]) < 40 for i in range(3))]
    boxes = []
    for x, y in sorted(points):
        for box in boxes:
            if box[0] - gap <= x <= box[2] + gap and box[1] - gap <= y <= box[3] + gap:
                box[:] = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
                break
        else:
            boxes.append([x, y, x, y])
    return [(b[0], b[1], b[2] - b[0] + 1, b[3] - b[1] + 1) for b in boxes]


XFCE_PANEL = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p={position};x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="{size}"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
"""

TINT2RC = """panel_items = S
panel_position = {edge} center horizontal
panel_size = 100% {size}
panel_background_id = 0
wm_menu = 0
panel_dock = 0
panel_layer = top
strut_policy = follow_size
systray_padding = 2 2 4
systray_icon_size = 24
"""


def xpm_argb(name):
    """The picture of resources/<name>.xpm as (width, height, ARGB bytes in
    network order), transparent pixels all zero."""
    with open(os.path.join(RESOURCES, name + ".xpm")) as f:
        rows = [line.split('"')[1] for line in f if line.startswith('"')]
    width, height, colours, chars = (int(v) for v in rows[0].split()[:4])
    palette = {}
    for entry in rows[1:1 + colours]:
        key, value = entry[:chars], entry[chars:].split()[-1]
        palette[key] = b"\0\0\0\0" if value == "None" else b"\xff" + bytes.fromhex(value.lstrip("#"))
    pixels = b"".join(palette[row[x:x + chars]] for row in rows[1 + colours:1 + colours + height]
                      for x in range(0, width * chars, chars))
    return width, height, pixels


class Sorimo:
    """The program run from a folder of its own."""

    def __init__(self, desktop, executable, settings=None, path_prefix=None, extra_env=None, prepare=None):
        """`prepare`, when given, is called with the program's folder before
        it starts (to put something odd where its settings file goes)."""
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="sorimo-it-")
        self.executable = os.path.join(self.folder, "sorimo")
        shutil.copy(executable, self.executable)
        self.settings_path = os.path.join(self.folder, "sorimo.INI")
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(settings.encode("utf-8"))
        # A desktop run by another user (sway) runs the program as that user.
        self.user = getattr(desktop, "user", None)
        if self.user:
            for path in (self.folder, self.executable, self.settings_path):
                if os.path.exists(path):
                    os.chown(path, self.user.pw_uid, self.user.pw_gid)
        env = dict(desktop.env)
        if path_prefix:
            env["PATH"] = path_prefix + os.pathsep + env.get("PATH", "")
        env.update(extra_env or {})
        if prepare:
            prepare(self.folder)
        self.env = env
        self.started_at = time.monotonic()
        self.process = self.spawn()
        self.started = time.monotonic()

    def spawn(self, *args):
        """Starts the same executable again (so with the same settings
        file), with the arguments given."""
        as_user = {}
        if self.user:
            as_user = dict(user=self.user.pw_uid, group=self.user.pw_gid, extra_groups=[])
        return subprocess.Popen([self.executable, *args], env=self.env, cwd="/",
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **as_user)

    def start_again(self, *args, timeout=10):
        """A later start of the same program: its exit code and how many
        seconds it ran."""
        begun = time.monotonic()
        process = self.spawn(*args)
        try:
            code = process.wait(timeout=timeout)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        return code, time.monotonic() - begun

    def window(self, timeout=30):
        return wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=timeout, what="the launcher window")

    def catches(self, number):
        """True once the process has a handler for the signal (its SigCgt
        mask in /proc), i.e. once sending it can no longer kill it."""
        try:
            with open(f"/proc/{self.process.pid}/status") as f:
                for line in f:
                    if line.startswith("SigCgt:"):
                        return bool(int(line.split()[1], 16) >> (number - 1) & 1)
        except FileNotFoundError:
            pass
        return False

    def wait_until_catching(self, number):
        wait_for(lambda: self.catches(number), what=f"a handler for signal {number}")

    def settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def mapped_files(self):
        """The files mapped into the process (libraries, fonts), one text."""
        with open(f"/proc/{self.process.pid}/maps") as f:
            return f.read()

    def wait(self, timeout=10):
        return self.process.wait(timeout=timeout)

    @contextlib.contextmanager
    def stopped(self):
        """The program held still (as a busy machine would hold it) while
        the block runs; its input queues up meanwhile."""
        def state():
            with open(f"/proc/{self.process.pid}/stat") as f:
                return f.read().rsplit(")", 1)[1].split()[0]
        self.process.send_signal(signal.SIGSTOP)
        try:
            wait_for(lambda: state() == "T", what="the program stopped")
            yield
        finally:
            self.process.send_signal(signal.SIGCONT)

    def signal(self, number):
        self.process.send_signal(number)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def ini(left=100, top=120, offset=1, slots=None):
    text = f"[FORM]\r\nLEFT={left}\r\nTOP={top}\r\nOFFSET={offset}\r\n[FILES]\r\n"
    for k in range(1, 29):
        text += f"{k}={(slots or {}).get(k, 'NOFILE')}\r\n"
    return text


# --- dragging files from another program

def gtk_python():
    """A Python that has GTK 3 through python3-gi: this one, else Debian's."""
    for candidate in (os.environ.get("SORIMO_GTK_PYTHON"), "/usr/bin/python3"):
        if candidate and subprocess.run([candidate, "-c", "import gi; gi.require_version('Gtk', '3.0')"],
                                        capture_output=True).returncode == 0:
            return candidate
    raise RuntimeError("no Python with python3-gi and GTK 3 (apt-get install python3-gi gir1.2-gtk-3.0)")


class LineReader:
    """The lines a process prints on a pipe (opened in binary), each waited
    for at most a time. Read from the descriptor with a buffer of our own:
    two lines that arrive together (a drag that begins and ends at once on
    a busy machine) would leave the second in a file object's buffer, where
    select cannot see it."""

    def __init__(self, pipe):
        self.pipe = pipe
        self.pending = b""

    def next(self, timeout):
        """The next line, or None when none comes in time."""
        deadline = time.monotonic() + timeout
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            ready = left > 0 and select.select([self.pipe], [], [], left)[0]
            chunk = os.read(self.pipe.fileno(), 4096) if ready else b""
            if not chunk:
                return None
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode().strip()


class DragSource:
    """A real drag source (drag_source.py, GTK 3) offering `uris` as
    text/uri-list from a small window at (x, y); the pointer, moved with
    xdotool, drags from it."""

    def __init__(self, desktop, uris, x=600, y=400):
        self.desktop = desktop
        self.x, self.y = x + 40, y + 40
        script = os.path.join(os.path.dirname(__file__), "drag_source.py")
        self.process = subprocess.Popen([gtk_python(), script, str(x), str(y), *uris], env=desktop.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = LineReader(self.process.stdout)
        if self._line(15) != "ready":
            raise AssertionError("the drag source did not start")
        # The window is mapped; give it the moment to draw and take input.
        self.desktop.run(["xdotool", "sleep", "0.3"])

    def _line(self, timeout):
        return self.lines.next(timeout)

    def start(self):
        """Presses on the source and moves past the drag threshold: the drag
        begins and the source takes the pointer."""
        steps = []
        for step in range(1, 6):
            steps += ["mousemove", str(self.x + 6 * step), str(self.y + 4 * step), "sleep", "0.05"]
        self.desktop.run(["xdotool", "mousemove", str(self.x), str(self.y), "sleep", "0.1",
                          "mousedown", "1", "sleep", "0.1", *steps])

    def hover(self, x, y):
        """Moves the dragging pointer to (x, y), arriving in small steps as a
        hand does (each move is one position message)."""
        self.desktop.run(["xdotool", "mousemove", str(x - 3), str(y - 3), "sleep", "0.05",
                          "mousemove", str(x - 1), str(y - 1), "sleep", "0.05",
                          "mousemove", str(x), str(y), "sleep", "0.1"])

    def drop(self, timeout=15):
        """Releases the button and waits until the drag has ended. (GTK 3
        reports the action it offered whatever the target answered: what a
        drop did shows in the launcher, and XdndProbe checks the answers.)"""
        self.desktop.run(["xdotool", "mouseup", "1"])
        line = self._line(timeout)
        while line == "begin":
            line = self._line(timeout)
        if not line or not line.startswith("end "):
            raise AssertionError(f"the drag did not end: {line!r}")

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()


class _XEvent(ctypes.Structure):
    _fields_ = [("l", ctypes.c_long * 24)]


class XdndProbe:
    """A drag source speaking XDND by hand over an Xlib connection of the
    test, to check the target's answers field by field: what XdndStatus and
    XdndFinished say, and what a target does with a source that never
    delivers the data it asked for."""

    def __init__(self, desktop):
        self.x = _xlib()
        x = self.x
        handle, window, atom = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong
        x.XSendEvent.argtypes = [handle, window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_XEvent)]
        x.XSetSelectionOwner.argtypes = [handle, atom, window, ctypes.c_ulong]
        x.XPending.argtypes = [handle]
        x.XNextEvent.argtypes = [handle, ctypes.POINTER(_XEvent)]
        x.XChangeProperty.argtypes = [handle, window, atom, atom, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_char_p, ctypes.c_int]
        self.d = x.XOpenDisplay(desktop.display.encode())
        root = x.XDefaultRootWindow(self.d)
        self.window = x.XCreateSimpleWindow(self.d, root, 0, 0, 1, 1, 0, 0, 0)
        self.requests = []  # (target, property) of each request for the data

    def atom(self, name):
        return self.x.XInternAtom(self.d, name.encode(), 0)

    def close(self):
        if self.d:
            self.x.XDestroyWindow(self.d, self.window)
            self.x.XCloseDisplay(self.d)
            self.d = None

    def send(self, target, message, *data):
        event = _XEvent()
        event.l[0] = 33  # ClientMessage
        event.l[3] = self.d
        event.l[4] = target
        event.l[5] = self.atom(message)
        event.l[6] = 32
        for i, value in enumerate((self.window, *data)):
            event.l[7 + i] = value
        self.x.XSendEvent(self.d, target, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.d)

    def enter(self, target, types=("text/uri-list",)):
        """Starts a drag offering `types`; more than three are listed in the
        XdndTypeList property, as the protocol has it."""
        self.x.XSetSelectionOwner(self.d, self.atom("XdndSelection"), self.window, 0)
        atoms = [self.atom(t) for t in types]
        flags = 5 << 24
        if len(atoms) > 3:
            data = struct.pack(f"{len(atoms)}l", *atoms)
            self.x.XChangeProperty(self.d, self.window, self.atom("XdndTypeList"), 4, 32, 0, data, len(atoms))
            flags |= 1
        self.send(target, "XdndEnter", flags, *atoms[:3])

    def position(self, target, x, y, action="XdndActionCopy"):
        """Sends a position; the XdndStatus answer as (accepted, action name)."""
        self.send(target, "XdndPosition", 0, (x << 16) | y, 0, self.atom(action))
        data = self.wait_message("XdndStatus")
        return bool(data[1] & 1), self.name(data[4])

    def drop(self, target, answer=None, timeout=15):
        """Drops; answers the request for the data with `answer` (bytes), or
        never when None. The XdndFinished answer as (accepted, action name,
        seconds it took)."""
        started = time.monotonic()
        self.send(target, "XdndDrop", 0, 0)
        data = self.wait_message("XdndFinished", timeout=timeout, answer=answer)
        return bool(data[1] & 1), self.name(data[2]), time.monotonic() - started

    def name(self, atom):
        if not atom:
            return None
        self.x.XGetAtomName.restype = ctypes.c_char_p
        self.x.XGetAtomName.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        return self.x.XGetAtomName(self.d, atom).decode()

    def wait_message(self, message, timeout=10, answer=None):
        wanted = self.atom(message)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.x.XPending(self.d):
                event = _XEvent()
                self.x.XNextEvent(self.d, ctypes.byref(event))
                kind = event.l[0] & 0xFFFFFFFF
                if kind == 30:  # SelectionRequest
                    self._request(event, answer)
                elif kind == 33 and event.l[5] == wanted:
                    return [event.l[7 + i] for i in range(5)]
            time.sleep(0.02)
        raise AssertionError(f"no {message} within {timeout} s")

    def _request(self, event, answer):
        requestor, selection, target, prop, when = (event.l[i] for i in (5, 6, 7, 8, 9))
        self.requests.append((self.name(target), prop))
        if answer is None:
            return  # a source that hangs
        self.x.XChangeProperty(self.d, requestor, prop, target, 8, 0, answer, len(answer))
        notify = _XEvent()
        notify.l[0] = 31  # SelectionNotify
        notify.l[3] = self.d
        notify.l[4], notify.l[5], notify.l[6], notify.l[7], notify.l[8] = requestor, selection, target, prop, when
        self.x.XSendEvent(self.d, requestor, 0, 0, ctypes.byref(notify))
        self.x.XFlush(self.d)
