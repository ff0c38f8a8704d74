"""Sorimo.exe under Wine on a private X desktop (Xvfb, openbox, trayer),
driven with synthetic input. Wine docks the program's notification-area
icon into trayer, so the tray is seen from the X side. Runs in the build
folder's Wine prefix (WINEPREFIX), which the test wine_prefix makes."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, ini, wait_for  # noqa: E402

EXE = os.environ["SORIMO_EXE"]
WINE_RUN = os.environ["SORIMO_WINE_RUN"]
LEFT, TOP = 100, 120
HANDLE = (LEFT + 212 + 6, TOP + 6)
FIRST_CELL = (LEFT + 1 + 16 + 18, TOP + 1 + 16 + 18)


class WineSorimo:
    """Sorimo.exe copied into a folder of its own, so that Sorimo.INI lies
    beside it, and started under Wine."""

    def __init__(self, desktop, settings):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="sorimo-wine-")
        self.executable = os.path.join(self.folder, "Sorimo.exe")
        shutil.copy(EXE, self.executable)
        self.settings_path = os.path.join(self.folder, "Sorimo.INI")
        with open(self.settings_path, "wb") as f:
            f.write(settings.encode("ascii"))
        self.process = self.spawn()

    def spawn(self, *args):
        """Starts the same Sorimo.exe again (so with the same settings file)."""
        return subprocess.Popen(["bash", WINE_RUN, self.executable, *args], env=self.desktop.env,
                                cwd=self.folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def window(self):
        return wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=60,
                        what="the launcher window")

    def settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read().decode("ascii", "replace")

    def wait(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


class WineDesktopTest(unittest.TestCase):
    tray = True

    @classmethod
    def setUpClass(cls):
        # A Wine server left from the tests without a display would keep
        # serving this prefix without one: wait until it has gone.
        subprocess.run(["wineserver", "-w"], check=False)

    def setUp(self):
        self.desktop = Desktop(tray=self.tray)
        self.addCleanup(self.desktop.close)
        self.desktop.env["WINEPREFIX"] = os.environ["WINEPREFIX"]

    def start(self, settings):
        program = WineSorimo(self.desktop, settings)
        self.addCleanup(program.close)
        self.window = program.window()
        return program

    def click(self, x, y, button=1):
        # Wine loses a press that follows the pointer's arrival at once; a
        # hand is slower.
        self.desktop.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", str(button)])


    def wait_until_it_takes_input(self):
        """Rests the pointer on a cell until the hint shows: the program then
        gets the pointer's moves and runs its timers. A move Wine lost is
        made again."""
        for attempt in range(3):
            self.desktop.move(FIRST_CELL[0] + attempt, FIRST_CELL[1])
            try:
                return wait_for(lambda: self.desktop.find_window("Sorimoヒント"), timeout=10,
                                what="the hint")
            except AssertionError:
                continue
        self.fail("the program shows no hint: it takes no input; on screen:\n" + self.visible_windows())

    def close_by_right_click(self, program):
        """Right-clicks the drag handle until the program ends; its exit code.
        Under a loaded machine Wine now and then drops a synthetic click, so
        a click that changed nothing is given again (a few times at most)."""
        for _ in range(3):
            self.click(*HANDLE, button=3)
            try:
                return program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                continue
        try:
            return program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.fail("the right click never closed the program; on screen:\n" + self.visible_windows())

    def visible_windows(self):
        """Each visible window's id, name and geometry, for a failure message."""
        d = self.desktop
        lines = []
        for window in d.run(["xdotool", "search", "--onlyvisible", "--name", "."], check=False).stdout.split():
            name = d.run(["xdotool", "getwindowname", window], check=False).stdout.strip()
            try:
                lines.append(f"{window} {name!r} {d.geometry(window)}")
            except subprocess.CalledProcessError:
                lines.append(f"{window} {name!r} (gone)")
        return "\n".join(lines)

    def docked_icon(self):
        """Wine's window for our icon (made by its explorer.exe), docked
        into trayer's panel."""
        d = self.desktop
        panels = d.run(["xdotool", "search", "--name", "^panel$"], check=False).stdout.split()
        icons = d.run(["xdotool", "search", "--classname", "explorer.exe"], check=False).stdout.split()
        for panel in panels:
            px, py, pw, ph = d.geometry(panel)
            for icon in icons:
                x, y, w, h = d.geometry(icon)
                if w >= 16 and px <= x and x + w <= px + pw and py <= y and y + h <= py + ph:
                    return icon
        return None


class Launcher(WineDesktopTest):
    def test_starts_at_the_stored_place_with_its_tray_icon_shows_hints_and_a_right_click_saves_and_exits(self):
        program = self.start(ini(LEFT, TOP, offset=2))
        self.assertEqual(self.desktop.geometry(self.window), (LEFT, TOP, 264, 104))
        icon = wait_for(self.docked_icon, timeout=15, what="the docked tray icon")
        self.assertGreaterEqual(self.desktop.geometry(icon)[2], 16)
        self.wait_until_it_takes_input()
        self.assertEqual(self.close_by_right_click(program), 0)
        text = program.settings()
        self.assertTrue(text.startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\nOFFSET=2\r\n[FILES]\r\n"),
                        text[:80])
        for k in range(1, 29):
            self.assertIn(f"\r\n{k}=NOFILE\r\n", text)


class NoTray(WineDesktopTest):
    tray = False

    def test_starts_without_a_tray_and_its_icon_docks_when_a_tray_starts(self):
        # A refused add used to end start-up with an error box (exit code 1).
        program = self.start(ini(LEFT, TOP))
        d = self.desktop
        self.assertEqual(d.geometry(self.window), (LEFT, TOP, 264, 104))
        self.assertEqual(d.windows_named("Sorimo"), [self.window])  # no error box beside it
        self.wait_until_it_takes_input()
        d.tray = d.start_tray()
        icon = wait_for(self.docked_icon, timeout=15, what="the icon docked into the new tray")
        self.assertGreaterEqual(d.geometry(icon)[2], 16)
        self.assertEqual(self.close_by_right_click(program), 0)


class FileDrop(WineDesktopTest):
    """WM_DROPFILES with a real HDROP, posted by a test program as the shell
    posts it. (The Windows build takes drops through WM_DROPFILES alone:
    there is no hover picture to check.)"""

    def drop(self, client_x, client_y, *paths):
        argv = ["bash", WINE_RUN, os.environ["SORIMO_POST_DROP"], str(client_x), str(client_y), *paths]
        result = subprocess.run(argv, env=self.desktop.env, capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)

    @staticmethod
    def cell(col, row):
        return 1 + 16 + 36 * col + 18, 1 + 16 + 36 * row + 18

    def test_dropped_files_fill_the_slot_under_the_point_and_the_next_empty_ones(self):
        program = self.start(ini(LEFT, TOP).replace("2=NOFILE", "2=C:\\kept.txt"))
        self.wait_until_it_takes_input()
        self.drop(*self.cell(1, 1), "C:\\windows\\notepad.exe")
        wait_for(lambda: "\r\n6=C:\\windows\\notepad.exe\r\n" in program.settings(), timeout=30,
                 what="the dropped file in slot 6")
        self.drop(*self.cell(0, 0), "C:\\a.txt", "C:\\windows", "C:\\c d.txt")
        wait_for(lambda: "\r\n4=C:\\c d.txt\r\n" in program.settings(), timeout=30, what="slot 4")
        text = program.settings()
        for line in ("1=C:\\a.txt", "2=C:\\kept.txt", "3=C:\\windows", "6=C:\\windows\\notepad.exe"):
            self.assertIn("\r\n" + line + "\r\n", text)
        self.assertTrue(text.startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\nOFFSET=1\r\n"), text[:60])

    def test_refused_drops_change_no_slot(self):
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        self.wait_until_it_takes_input()
        self.drop(160 + 18, 16 + 18, "C:\\on-the-arrow.txt")
        self.drop(*self.cell(0, 0), "C:\\ok.txt", "C:\\" + "x" * 300)  # beyond MAX_PATH
        # A drop the launcher takes, after the refused ones: they were seen.
        self.drop(*self.cell(3, 1), "C:\\last.txt")
        wait_for(lambda: "\r\n8=C:\\last.txt\r\n" in program.settings(), timeout=30, what="slot 8")
        text = program.settings()
        self.assertIn("\r\n1=NOFILE\r\n", text)
        self.assertNotIn("on-the-arrow", text)
        self.assertNotIn("ok.txt", text)


class AboutBoxKeys(WineDesktopTest):
    def test_escape_and_return_close_the_about_box(self):
        program = self.start(ini(LEFT, TOP))
        self.wait_until_it_takes_input()
        d = self.desktop
        for key in ("Escape", "Return"):
            for _ in range(3):  # a click Wine dropped is given again
                self.click(LEFT + 212 + 6, TOP + 52 + 6)  # the about panel
                try:
                    box = wait_for(lambda: d.find_window("About Sorimo"), timeout=10, what="the about box")
                    break
                except AssertionError:
                    continue
            else:
                self.fail("the about box never opened; on screen:\n" + self.visible_windows())
            wait_for(lambda: d.focused_window() == box, timeout=10, what="the about box to take the focus")
            d.key(key)
            wait_for(lambda: d.find_window("About Sorimo") is None, timeout=10,
                     what=f"{key} to close the about box")
        self.assertEqual(self.close_by_right_click(program), 0)


class TwoCopies(WineDesktopTest):
    def test_a_second_start_exits_zero_and_brings_the_hidden_launcher_back(self):
        program = self.start(ini(LEFT, TOP))
        wait_for(self.docked_icon, timeout=15, what="the docked tray icon")
        self.wait_until_it_takes_input()
        for _ in range(3):  # a click Wine dropped is given again
            self.click(LEFT + 212 + 6, TOP + 52 + 6, button=3)  # the about/hide panel
            try:
                wait_for(lambda: self.desktop.find_window("Sorimo") is None, timeout=10,
                         what="the launcher to hide")
                break
            except AssertionError:
                continue
        self.assertIsNone(self.desktop.find_window("Sorimo"), "the launcher never hid")
        begun = time.monotonic()
        second = program.spawn()
        try:
            self.assertEqual(second.wait(timeout=30), 0)
        finally:
            if second.poll() is None:
                second.kill()
                second.wait()
        # Wine's own start is part of the time (about 0.2 s here when idle):
        # some room for a loaded machine.
        self.assertLess(time.monotonic() - begun, 2.0)
        window = wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=15,
                          what="the launcher to come back")
        self.assertEqual(self.desktop.geometry(window)[:2], (LEFT, TOP))
        self.assertIsNone(program.process.poll())
        self.assertEqual(self.close_by_right_click(program), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
