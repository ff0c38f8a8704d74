"""A private X desktop for integration tests: Xvfb, a window manager, an
optional system tray, and the Sorimo program started from a folder of its
own (so that its settings file lies beside it)."""

import ctypes
import ctypes.util
import os
import shutil
import signal
import subprocess
import tempfile
import time


def _free_display():
    for number in range(120, 400):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return f":{number}"
    raise RuntimeError("no free X display number")


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
    def __init__(self, tray=True, width=1024, height=768):
        self.display = _free_display()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("XDG_CURRENT_DESKTOP", None)
        self.processes = []
        self._start(["Xvfb", self.display, "-screen", "0", f"{width}x{height}x24", "-noreset", "-nolisten", "tcp"])
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

    def tray_owned(self):
        """True when some client owns the system tray selection of screen 0."""
        with _Connection(self.display) as x:
            return x.selection_owner("_NET_SYSTEM_TRAY_S0") != 0

    def run(self, argv, check=True, **kwargs):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check, **kwargs)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        # A server that was killed leaves its lock and socket behind.
        number = self.display.lstrip(":")
        for leftover in (f"/tmp/.X{number}-lock", f"/tmp/.X11-unix/X{number}"):
            try:
                os.unlink(leftover)
            except OSError:
                pass

    # --- windows
    def find_window(self, name):
        result = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], check=False)
        ids = result.stdout.split()
        return ids[0] if ids else None

    def geometry(self, window):
        info = self.run(["xwininfo", "-id", window]).stdout
        values = {}
        for line in info.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    values[key] = int(line.split(":")[1])
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"], values["Height"])

    def prop(self, window, name):
        return self.run(["xprop", "-id", window, name]).stdout

    def click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)])

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(x), str(y)])

    def screenshot(self, window, path):
        self.run(["import", "-window", window, path])

    def pixels(self, window):
        """The window's picture as (width, height, RGB bytes, row by row)."""
        shot = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=self.env, capture_output=True,
                              check=True).stdout
        return _parse_ppm(shot)

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


class Sorimo:
    """The program run from a folder of its own."""

    def __init__(self, desktop, executable, settings=None, path_prefix=None, extra_env=None):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="sorimo-it-")
        self.executable = os.path.join(self.folder, "sorimo")
        shutil.copy(executable, self.executable)
        self.settings_path = os.path.join(self.folder, "sorimo.INI")
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(settings.encode("utf-8"))
        env = dict(desktop.env)
        if path_prefix:
            env["PATH"] = path_prefix + os.pathsep + env.get("PATH", "")
        env.update(extra_env or {})
        self.process = subprocess.Popen([self.executable], env=env, cwd="/",
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def window(self):
        return wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=30, what="the launcher window")

    def settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def mapped_files(self):
        """The files mapped into the process (libraries, fonts), one text."""
        with open(f"/proc/{self.process.pid}/maps") as f:
            return f.read()

    def wait(self, timeout=10):
        return self.process.wait(timeout=timeout)

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
