"""The real program on an X desktop with hostile settings files and slot
targets: positions at the ends of int, named pipes, devices and huge files
where icons, desktop entries or the settings file are read, and termination
signals during start-up. Each test starts and stops its own servers."""

import glob
import os
import re
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, Sorimo, ini, wait_for  # noqa: E402

EXE = os.environ["SORIMO_EXE"]
INT_MAX, INT_MIN = 2**31 - 1, -2**31
SCREEN = (1024, 768)


def settings_values(text):
    """{(section, key): value} of an INI text, names in capitals."""
    values, section = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line[1:line.index("]")].upper()
        elif "=" in line and section:
            key, value = line.split("=", 1)
            values.setdefault((section, key.strip().upper()), value.strip())
    return values


class HostileDesktopTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop()
        self.addCleanup(self.desktop.close)
        self.scratch = tempfile.mkdtemp(prefix="sorimo-hostile-")

    def start(self, settings, **kwargs):
        program = Sorimo(self.desktop, EXE, settings, **kwargs)
        self.addCleanup(program.close)
        return program

    def assert_window_within(self, program, seconds):
        window = program.window(timeout=seconds + 5)
        elapsed = time.monotonic() - program.started
        self.assertLess(elapsed, seconds, f"the window took {elapsed:.2f} s")
        return window

    def close_by_handle(self, program, window):
        x, y, _, _ = self.desktop.geometry(window)
        self.desktop.click(x + 212 + 6, y + 6, button=3)

    def desktop_entry(self, name, icon):
        path = os.path.join(self.scratch, name)
        with open(path, "w") as f:
            f.write(f"[Desktop Entry]\nType=Application\nName=x\nExec=true\nIcon={icon}\n")
        return path


class PositionsAtTheEndsOfInt(HostileDesktopTest):
    def test_the_window_appears_on_the_screen_for_extreme_positions(self):
        width, height = SCREEN
        cases = [(INT_MAX, INT_MAX, (width - 264, height - 104)), (INT_MIN, INT_MIN, (0, 0)),
                 (INT_MAX - 100, INT_MIN, (width - 264, 0))]
        for left, top, shown in cases:
            with self.subTest(left=left, top=top):
                program = self.start(ini(left, top))
                window = program.window()
                self.assertEqual(self.desktop.geometry(window), (*shown, 264, 104))
                program.signal(signal.SIGTERM)  # the handle may lie under the tray
                self.assertEqual(program.wait(), 0)
                values = settings_values(program.settings())
                self.assertEqual((values[("FORM", "LEFT")], values[("FORM", "TOP")]), tuple(map(str, shown)))
                wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="the window to go")

    def test_a_position_beyond_int_after_scaling_is_brought_onto_the_screen(self):
        program = self.start(ini(INT_MAX - 100, INT_MAX // 2 + 1), extra_env={"GDK_SCALE": "2"})
        window = program.window()
        self.assertEqual(self.desktop.geometry(window), (1024 - 528, 768 - 208, 528, 208))


class FilesThatAreNotFiles(HostileDesktopTest):
    def test_a_fifo_a_device_or_a_huge_file_as_icon_lets_the_window_appear_at_once(self):
        fifo = os.path.join(self.scratch, "pipe.png")
        os.mkfifo(fifo)
        zero_link = os.path.join(self.scratch, "zero.png")
        os.symlink("/dev/zero", zero_link)
        huge = os.path.join(self.scratch, "huge.png")
        with open(huge, "wb") as f:
            f.truncate(200 << 20)  # sparse: no disk is used
        for icon in (fifo, "/dev/zero", zero_link, huge):
            with self.subTest(icon=icon):
                entry = self.desktop_entry("app.desktop", icon)
                program = self.start(ini(100, 120, slots={1: entry, 2: fifo}))
                window = self.assert_window_within(program, 2)
                self.close_by_handle(program, window)
                self.assertEqual(program.wait(), 0)
                wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="the window to go")

    def test_a_fifo_settings_file_starts_with_defaults_and_reports_the_refused_write(self):
        program = self.start(None, prepare=lambda folder: os.mkfifo(os.path.join(folder, "sorimo.INI")))
        window = self.assert_window_within(program, 2)
        self.assertEqual(self.desktop.geometry(window)[:2], (0, 0))
        self.close_by_handle(program, window)
        box = wait_for(lambda: self.desktop.find_window("sorimo"), what="the write error box")
        self.assertIsNotNone(box)
        self.assertIsNone(program.process.poll())  # the close was abandoned
        self.assertTrue(stat.S_ISFIFO(os.stat(program.settings_path).st_mode))

    def test_launching_a_fifo_slot_keeps_it_and_the_program_answers(self):
        fifo = os.path.join(self.scratch, "pipe")
        os.mkfifo(fifo)
        settings = ini(100, 120, slots={1: fifo})
        program = self.start(settings)
        window = program.window()
        x, y = 100 + 1 + 16 + 18, 120 + 1 + 16 + 18
        self.desktop.click(x, y)
        # The loop goes on: the pointer resting on the cell brings its hint.
        self.desktop.move(x + 3, y + 3)
        wait_for(lambda: self.desktop.find_window("Sorimoヒント"), what="the hint after the launch")
        self.close_by_handle(program, window)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(program.settings(), settings)


class SignalsDuringStartUp(HostileDesktopTest):
    def test_sigterm_at_any_moment_of_the_start_ends_the_program_with_the_settings_kept(self):
        entry = self.desktop_entry("app.desktop", "utilities-terminal")
        partial = f"[FILES]\r\n1={entry}\r\n2=/usr/bin/env\r\n3=/nonexistent/x.txt\r\n"
        # From the first moment the program catches the signal, then a little
        # later (settings, icons, window): whatever it is doing then, it ends
        # with status 0 and a settings file that is either untouched or whole.
        for later_s in (0.0, 0.05, 0.2):
            with self.subTest(later_s=later_s):
                program = self.start(partial)
                program.wait_until_catching(signal.SIGTERM)
                time.sleep(later_s)
                program.signal(signal.SIGTERM)
                self.assertEqual(program.wait(timeout=20), 0)
                text = program.settings()
                if text != partial:  # written: then completely
                    values = settings_values(text)
                    self.assertEqual(values[("FILES", "1")], entry)
                    self.assertEqual(values[("FILES", "3")], "/nonexistent/x.txt")
                    self.assertEqual(values[("FORM", "OFFSET")], "1")
                    self.assertEqual(sorted(k for s, k in values if s == "FILES"),
                                     sorted(str(k) for k in range(1, 29)))
                    self.assertRegex(text, re.compile(r"^\[FILES\]\r\n1="))
                wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="no window left")


class AnotherUser(HostileDesktopTest):
    """Another local user can neither stop the launcher from starting nor
    reach the channel through which later starts find it."""

    NOBODY = 65534

    def setUp(self):
        if os.getuid() != 0:
            self.skipTest("needs root to act as another user")
        super().setUp()
        # A temporary folder of this test (for the fallback channel folder),
        # open to all like /tmp.
        self.tmp = tempfile.mkdtemp(prefix="sorimo-tmp-")
        os.chmod(self.tmp, 0o1777)
        self.env = {"TMPDIR": self.tmp, "XDG_RUNTIME_DIR": ""}

    def as_nobody(self, script):
        return subprocess.Popen(["/usr/bin/python3", "-c", script], user=self.NOBODY, group=self.NOBODY, cwd="/",
                                stdout=subprocess.PIPE, text=True)

    def test_a_squatter_neither_stops_the_start_nor_receives_or_floods_the_requests(self):
        def squat(folder):
            key = fnv1a64(os.path.realpath(os.path.join(folder, "sorimo.INI")).encode())
            # The name an earlier design used in the abstract namespace,
            # where anybody could take it first.
            squatter = self.as_nobody(
                "import socket, time\n"
                "s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)\n"
                f"s.bind('\\0sorimo/0/{key}')\n"
                "print('ready', flush=True)\n"
                "time.sleep(3600)\n")
            self.addCleanup(lambda: (squatter.kill(), squatter.wait()))
            self.assertEqual(squatter.stdout.readline().strip(), "ready")

        program = self.start(ini(), extra_env=self.env, prepare=squat)
        program.window()
        self.assertEqual(program.start_again("--toggle")[0], 0)
        wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="the launcher hidden by --toggle")
        self.assertTrue(glob.glob(f"{self.tmp}/sorimo-0/*.socket"))
        reach = self.as_nobody(
            "import glob, socket\n"
            f"paths = glob.glob('{self.tmp}/sorimo-0/*.socket') or ['{self.tmp}/sorimo-0/x.socket']\n"
            "s = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)\n"
            "try:\n"
            "    s.connect(paths[0]); print('connected')\n"
            "except OSError as e:\n"
            "    print(type(e).__name__)\n")
        self.assertEqual(reach.communicate(timeout=10)[0].strip(), "PermissionError")

    def test_a_channel_folder_made_first_by_another_user_lets_the_launcher_start(self):
        maker = self.as_nobody(f"import os; os.mkdir('{self.tmp}/sorimo-0', 0o700)")
        self.assertEqual(maker.wait(timeout=10), 0)
        program = self.start(ini(), extra_env=self.env)
        program.window()


def fnv1a64(data):
    value = 0xcbf29ce484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return f"{value:016x}"


if __name__ == "__main__":
    unittest.main(verbosity=2)
