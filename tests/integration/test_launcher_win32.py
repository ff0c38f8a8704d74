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
ABOUT_PANEL = (LEFT + 212 + 6, TOP + 52 + 6)
UP_ARROW = (LEFT + 1 + 160 + 18, TOP + 1 + 16 + 18)
DOWN_ARROW = (LEFT + 1 + 160 + 18, TOP + 1 + 52 + 18)
CYAN = b"\x00\xff\xff"


def cell(col, row):
    """The screen point at the middle of a grid cell."""
    return LEFT + 1 + 16 + 36 * col + 18, TOP + 1 + 16 + 36 * row + 18


FIRST_CELL = cell(0, 0)


def wine_path(path):
    """A file of this machine as Wine's programs name it (drive Z: is /)."""
    return "Z:" + path.replace("/", "\\")


def pixel(picture, x, y):
    width, _, data = picture
    return data[3 * (y * width + x):3 * (y * width + x) + 3]


def blocks(picture, scale):
    """The picture with every pixel as a block of scale x scale pixels."""
    width, height, data = picture
    rows = []
    for y in range(height):
        row = b"".join(data[3 * (y * width + x):3 * (y * width + x) + 3] * scale for x in range(width))
        rows.append(row * scale)
    return width * scale, height * scale, b"".join(rows)


def blank(picture, x, y, w, h):
    """The picture with a rectangle of it black."""
    width, height, data = picture
    data = bytearray(data)
    for r in range(y, y + h):
        data[3 * (r * width + x):3 * (r * width + x + w)] = bytes(3 * w)
    return width, height, bytes(data)


def area(picture, x, y, w, h):
    """The RGB bytes of a rectangle of a picture, row by row."""
    width, _, data = picture
    return b"".join(data[3 * ((y + r) * width + x):3 * ((y + r) * width + x + w)] for r in range(h))


class WineSorimo:
    """Sorimo.exe copied into a folder of its own, so that Sorimo.INI lies
    beside it, and started under Wine."""

    def __init__(self, desktop, settings, extra_env=None):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="sorimo-wine-")
        self.executable = os.path.join(self.folder, "Sorimo.exe")
        shutil.copy(EXE, self.executable)
        self.settings_path = os.path.join(self.folder, "Sorimo.INI")
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(settings if isinstance(settings, bytes) else settings.encode("ascii"))
        self.env = dict(desktop.env, **(extra_env or {}))
        self.process = self.spawn()

    def spawn(self, *args):
        """Starts the same Sorimo.exe again (so with the same settings file)."""
        return subprocess.Popen(["bash", WINE_RUN, self.executable, *args], env=self.env,
                                cwd=self.folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def window(self):
        return wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=60,
                        what="the launcher window")

    def settings(self):
        return self.settings_bytes().decode("ascii", "replace")

    def settings_bytes(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

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
        # Runs last: the next test's Wine starts afresh on its own display,
        # not joined to processes left from this one's.
        self.addCleanup(self.wait_for_wine_to_end)
        self.desktop = Desktop(tray=self.tray)
        self.addCleanup(self.desktop.close)
        self.desktop.env["WINEPREFIX"] = os.environ["WINEPREFIX"]
        self.taking_input = False

    @staticmethod
    def wait_for_wine_to_end():
        try:
            subprocess.run(["wineserver", "-w"], check=False, timeout=30,
                           env=dict(os.environ), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            pass

    ATTEMPTS = 3

    def run(self, result=None):
        """Runs the test again, on a new desktop, when it fails: Wine on a
        loaded machine now and then loses a synthetic click or move before
        the program sees it. A test that fails every attempt fails."""
        if result is None:
            return super().run(result)
        for attempt in range(1, self.ATTEMPTS):
            trial = unittest.TestResult()
            super().run(trial)
            if trial.wasSuccessful():
                result.startTest(self)
                for _, reason in trial.skipped:
                    result.addSkip(self, reason)
                if not trial.skipped:
                    result.addSuccess(self)
                result.stopTest(self)
                return result
            problems = trial.failures + trial.errors
            print(f"\n{self.id()} failed (attempt {attempt}), run again:\n{problems[0][1]}",
                  file=sys.stderr)
        return super().run(result)

    def start(self, settings, extra_env=None):
        self.taking_input = False
        program = WineSorimo(self.desktop, settings, extra_env)
        self.addCleanup(program.close)
        self.window = program.window()
        return program

    def scratch_folder(self):
        folder = tempfile.mkdtemp(prefix="sorimo-wine-files-")
        self.addCleanup(shutil.rmtree, folder, True)
        return folder

    def picture(self):
        return self.desktop.pixels(self.window)

    def wait_for_cells(self, scale=1):
        """Waits until the grid is drawn (the program draws it a second after
        start) and returns the window's picture then."""
        def drawn():
            shot = self.picture()
            return shot if pixel(shot, 17 * scale, 17 * scale) == CYAN else None
        return wait_for(drawn, timeout=20, what="the grid's cells")

    def click_until(self, point, changed, button=1, what="a change", timeout=5):
        """Clicks until `changed()` holds: Wine now and then drops a
        synthetic click on a loaded machine, so a click that changed nothing
        is given again (a few times at most). The first waits until the
        program takes input."""
        if not self.taking_input:
            self.wait_until_it_takes_input()
        for _ in range(3):
            self.click(*point, button=button)
            try:
                return wait_for(changed, timeout=timeout, what=what)
            except AssertionError:
                continue
        self.fail(f"no click made {what}; on screen:\n" + self.visible_windows())

    def page_down(self):
        """Clicks the down arrow until the grid shows another page (the next
        row must look different); the picture then."""
        before = self.wait_for_cells()[2]
        self.click_until(DOWN_ARROW, lambda: self.picture()[2] != before, what="a page down")
        return self.wait_for_cells()

    def click(self, x, y, button=1):
        # Wine loses a press that follows the pointer's arrival at once; a
        # hand is slower.
        self.desktop.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", str(button)])


    def wait_until_it_takes_input(self, scale=1):
        """Rests the pointer on a cell until the hint shows: the program then
        gets the pointer's moves and runs its timers. A move Wine lost is
        made again."""
        self.taking_input = True
        for attempt in range(3):
            self.desktop.move(LEFT + (FIRST_CELL[0] - LEFT) * scale + attempt, TOP + (FIRST_CELL[1] - TOP) * scale)
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
        if not self.taking_input:
            self.wait_until_it_takes_input()
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

    def set_registry(self, key, name, dword):
        """Sets a DWORD in the prefix's registry, or deletes it (None)."""
        if dword is None:
            argv = ["wine", "reg", "delete", key, "/v", name, "/f"]
        else:
            argv = ["wine", "reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(dword), "/f"]
        self.desktop.run(argv, check=False, timeout=60)
        self.desktop.run(["wineserver", "-w"], check=False, timeout=60)

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
                # Wine keeps an unmapped window of the panel's size beside the icon.
                viewable = "IsViewable" in d.run(["xwininfo", "-id", icon], check=False).stdout
                if viewable and w >= 16 and px <= x and x + w <= px + pw and py <= y and y + h <= py + ph:
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


class Grid(WineDesktopTest):
    def test_left_release_on_a_filled_cell_runs_its_batch_file(self):
        folder = self.scratch_folder()
        marker = os.path.join(folder, "ran.txt")
        batch = os.path.join(folder, "run.bat")
        with open(batch, "w", newline="\r\n") as f:
            f.write(f"@echo ran> \"{wine_path(marker)}\"\n")
        self.start(ini(LEFT, TOP, slots={1: wine_path(batch)}))
        self.wait_for_cells()
        self.click_until(cell(0, 0), lambda: os.path.exists(marker), what="the batch file run",
                         timeout=15)

    def test_a_slot_whose_file_is_missing_is_emptied_and_written_at_once(self):
        # Its folder is there, the file is not.
        program = self.start(ini(LEFT, TOP, slots={2: wine_path(os.path.join(self.scratch_folder(), "gone.txt"))}))
        self.wait_for_cells()
        self.click_until(cell(1, 0), lambda: "\r\n2=NOFILE\r\n" in program.settings(),
                         what="slot 2 emptied in the file", timeout=10)
        self.assertIsNone(program.process.poll())  # written while it runs, not at the end

    def test_right_release_opens_the_dialog_and_the_chosen_file_fills_the_slot(self):
        chosen = os.path.join(self.scratch_folder(), "chosen.txt")
        with open(chosen, "w") as f:
            f.write("x")
        program = self.start(ini(LEFT, TOP))
        self.wait_for_cells()
        dialog = self.click_until(cell(2, 0), lambda: self.desktop.find_window("Open"), button=3,
                                  what="the open-file dialog")
        self.desktop.run(["xdotool", "windowactivate", "--sync", dialog], check=False)
        self.desktop.type_text(wine_path(chosen))
        self.desktop.key("Return")
        wait_for(lambda: f"\r\n3={wine_path(chosen)}\r\n" in program.settings(), timeout=15,
                 what="slot 3 written with the chosen file")
        self.assertIsNone(self.desktop.find_window("Open"))

    def test_arrows_page_the_rows_and_the_offset_is_saved_at_close(self):
        # Slot 5 shows in the lower row at offset 1, the upper at 2, not at 3:
        # each page looks different.
        program = self.start(ini(LEFT, TOP, slots={5: wine_path(EXE)}))
        pictures = [self.wait_for_cells()]
        for _ in range(2):
            pictures.append(self.page_down())
        self.click_until(UP_ARROW, lambda: self.picture()[2] == pictures[1][2], what="a page up")
        self.assertEqual(self.close_by_right_click(program), 0)
        self.assertIn("\r\nOFFSET=2\r\n", program.settings())

    def test_slot_icons_come_from_the_shell_one_per_kind_of_file(self):
        folder = self.scratch_folder()
        text = os.path.join(folder, "notes.txt")
        with open(text, "w") as f:
            f.write("x")
        self.start(ini(LEFT, TOP, slots={1: "C:\\windows\\notepad.exe", 2: wine_path(text), 3: wine_path(folder)}))
        shot = self.wait_for_cells()
        program, text_file, folder, empty = (area(shot, 1 + 16 + 36 * col, 1 + 16, 36, 36) for col in range(4))
        for kind, picture in (("program", program), ("text file", text_file), ("folder", folder)):
            self.assertNotEqual(picture, empty, f"the {kind} shows the empty slot's icon")
        # Wine 8 maps no type to ".exe" or ".txt" (Windows does): both get its
        # icon of an unknown file. A folder's icon is another.
        self.assertNotEqual(folder, text_file)


class WindowHandling(WineDesktopTest):
    def test_dragging_the_handle_moves_the_window_and_the_place_is_saved(self):
        program = self.start(ini(LEFT, TOP))
        self.wait_until_it_takes_input()
        target = (HANDLE[0] + 60, HANDLE[1] + 40)
        self.desktop.drag(HANDLE, target)
        wait_for(lambda: self.desktop.geometry(self.window)[:2] == (LEFT + 60, TOP + 40),
                 what="the window at its new place")
        self.click(*target, button=3)
        self.assertEqual(program.wait(timeout=15), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT + 60}\r\nTOP={TOP + 40}\r\n"),
                        program.settings()[:60])

    def test_about_box_opens_on_the_lower_panel_and_closes_on_ok(self):
        program = self.start(ini(LEFT, TOP))
        self.wait_for_cells()
        box = self.click_until(ABOUT_PANEL, lambda: self.desktop.find_window("About Sorimo"),
                               what="the about box")
        x, y, w, h = self.desktop.geometry(box)
        self.assertEqual((w, h), (327, 152))
        ok = (x + 124 + 39, y + 114 + 13)
        self.click_until(ok, lambda: not self.desktop.find_window("About Sorimo"), what="the about box closed")
        # The launcher takes input again.
        self.assertEqual(self.close_by_right_click(program), 0)

    def test_hidden_to_the_tray_by_the_lower_panel_and_back_by_a_double_click_on_the_icon(self):
        program = self.start(ini(LEFT, TOP, offset=3))
        icon = wait_for(self.docked_icon, timeout=15, what="the docked tray icon")
        self.wait_for_cells()
        self.click_until(ABOUT_PANEL, lambda: not self.desktop.find_window("Sorimo"), button=3,
                         what="the window hidden")
        ix, iy, iw, ih = self.desktop.geometry(icon)
        for _ in range(3):
            self.desktop.double_click(ix + iw // 2, iy + ih // 2)
            try:
                window = wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=5, what="the window back")
                break
            except AssertionError:
                continue
        else:
            self.fail("a double click on the tray icon never brought the window back")
        self.assertEqual(self.desktop.geometry(window), (LEFT, TOP, 264, 104))
        self.assertEqual(self.close_by_right_click(program), 0)
        self.assertIn("\r\nOFFSET=3\r\n", program.settings())

    def test_the_end_of_the_session_saves_the_place(self):
        program = self.start(ini(LEFT, TOP))
        self.wait_until_it_takes_input()
        self.desktop.drag(HANDLE, (HANDLE[0] + 30, HANDLE[1] + 20))
        wait_for(lambda: self.desktop.geometry(self.window)[:2] == (LEFT + 30, TOP + 20),
                 what="the window at its new place")
        self.desktop.run(["wine", "wineboot", "--end-session"], check=False, timeout=60)
        self.assertEqual(program.wait(timeout=30), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT + 30}\r\nTOP={TOP + 20}\r\n"),
                        program.settings()[:60])


class UnicodeSettings(WineDesktopTest):
    """Settings files that Notepad saved as "Unicode" and "UTF-8 with BOM",
    with a path in Japanese, read in the ANSI code page 932."""

    JAPANESE = {"LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8"}

    def setUp(self):
        locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
        if "ja_jp.utf8" not in locales:
            self.skipTest("the locale ja_JP.UTF-8 is missing (scripts/setup-deps.sh makes it)")
        super().setUp()

    def check(self, encoding, mark):
        folder = os.path.join(self.scratch_folder(), "日本語のフォルダ")
        os.mkdir(folder)
        marker = os.path.join(os.path.dirname(folder), "ran.txt")
        batch = os.path.join(folder, "起動.bat")
        with open(batch, "w", newline="\r\n") as f:
            f.write(f"@echo ran> \"{wine_path(marker)}\"\n")
        text = ini(LEFT, TOP, slots={1: wine_path(batch)})
        original = mark + text.encode(encoding)
        program = self.start(original, extra_env=self.JAPANESE)
        self.wait_for_cells()
        self.click_until(cell(0, 0), lambda: os.path.exists(marker), what="the batch file run",
                         timeout=15)
        self.page_down()
        self.assertEqual(self.close_by_right_click(program), 0)
        # The file keeps its form; only the offset's line changed.
        expected = mark + text.replace("OFFSET=1", "OFFSET=2").encode(encoding)
        self.assertEqual(program.settings_bytes(), expected)

    def test_utf16_file_with_a_japanese_path_opens_the_slot_and_stays_utf16(self):
        self.check("utf-16-le", b"\xff\xfe")

    def test_utf8_file_with_mark_and_a_japanese_path_opens_the_slot_and_keeps_its_form(self):
        self.check("utf-8", b"\xef\xbb\xbf")


class DenseScreen(WineDesktopTest):
    DESKTOP = "HKCU\\Control Panel\\Desktop"

    def test_at_192_dpi_every_pixel_is_a_block_of_two_and_places_stay_in_screen_pixels(self):
        settings = ini(LEFT, TOP, slots={1: "C:\\windows\\notepad.exe"})
        program = self.start(settings)
        single = self.wait_for_cells()
        self.assertEqual(self.close_by_right_click(program), 0)

        self.addCleanup(self.set_registry, self.DESKTOP, "LogPixels", None)
        self.set_registry(self.DESKTOP, "LogPixels", 192)
        program = self.start(settings)
        self.assertEqual(self.desktop.geometry(self.window), (LEFT, TOP, 528, 208))
        double = self.wait_for_cells(scale=2)
        self.assertEqual(double[:2], (528, 208))
        # The shell's picture of a file may differ with the density (Wine's
        # does); around it, the cell and all else is the 1x picture in blocks
        # of 2, and the icon stays inside its cell.
        icon = (1 + 16 + 2, 1 + 16 + 2, 32, 32)
        expected = blank(blocks(single, 2), *(2 * v for v in icon))
        self.assertTrue(blank(double, *(2 * v for v in icon))[2] == expected[2],
                        "the picture is not the 1x one in blocks of 2")

        # The pressed point stays under the pointer; the place is saved in
        # screen pixels.
        handle = (LEFT + 2 * (212 + 6), TOP + 2 * 6)
        self.wait_until_it_takes_input(scale=2)
        self.desktop.drag(handle, (handle[0] + 60, handle[1] + 40))
        wait_for(lambda: self.desktop.geometry(self.window)[:2] == (LEFT + 60, TOP + 40),
                 what="the window at its new place")
        self.click(handle[0] + 60, handle[1] + 40, button=3)
        self.assertEqual(program.wait(timeout=15), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT + 60}\r\nTOP={TOP + 40}\r\n"),
                        program.settings()[:60])


    def test_window_on_a_monitor_of_another_density_takes_the_suggested_place_at_whole_blocks(self):
        # The backend's window tests, which need a display, on this desktop.
        tests = os.environ["SORIMO_WIN32_TESTS"]
        result = self.desktop.run(["bash", WINE_RUN, tests, "--gtest_filter=Win32WindowDpi.*"],
                                  check=False, timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout[-3000:])
        self.assertIn("[  PASSED  ] 2 tests", result.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
