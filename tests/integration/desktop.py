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


def _selection_owner(display, selection):
    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetSelectionOwner.restype = ctypes.c_ulong
    xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    handle = xlib.XOpenDisplay(display.encode())
    if not handle:
        return 0
    try:
        atom = xlib.XInternAtom(handle, selection.encode(), 0)
        return xlib.XGetSelectionOwner(handle, atom)
    finally:
        xlib.XCloseDisplay(handle)


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
        wait_for(lambda: "_NET_SUPPORTING_WM_CHECK" in self.run(["xprop", "-root"]).stdout, what="the window manager")
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
        return _selection_owner(self.display, "_NET_SYSTEM_TRAY_S0") != 0

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
