"""The real program on an X desktop (Xvfb, openbox, trayer), driven with
synthetic input. Each test starts and stops its own servers."""

import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, NotificationHost, Sorimo, ini, wait_for, xpm_argb  # noqa: E402

EXE = os.environ["SORIMO_EXE"]
RENDER = os.environ["SORIMO_RENDER"]
LEFT, TOP = 100, 120


def cell(col, row):
    return LEFT + 1 + 16 + 36 * col + 18, TOP + 1 + 16 + 36 * row + 18


HANDLE = (LEFT + 212 + 6, TOP + 6)
ABOUT_PANEL = (LEFT + 212 + 6, TOP + 52 + 6)


def read_text(path):
    """The file's text, or None while it does not exist."""
    try:
        with open(path) as f:
            return f.read()
    except FileNotFoundError:
        return None


def kill_quietly(pid):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def rgb_bytes(path):
    return subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout


class DesktopTest(unittest.TestCase):
    tray = True
    bus = False
    screen = (1024, 768)

    def setUp(self):
        self.desktop = Desktop(tray=self.tray, bus=self.bus, width=self.screen[0], height=self.screen[1])
        self.addCleanup(self.desktop.close)
        self.scratch = tempfile.mkdtemp(prefix="sorimo-files-")

    def start(self, settings, **kwargs):
        program = Sorimo(self.desktop, EXE, settings, **kwargs)
        self.addCleanup(program.close)
        self.window = program.window()
        return program

    def fake_chooser(self, answer):
        """A folder with a zenity that prints `answer`: for PATH."""
        fake = tempfile.mkdtemp(prefix="sorimo-fake-")
        self.addCleanup(shutil.rmtree, fake, True)
        with open(os.path.join(fake, "zenity"), "w") as f:
            f.write(f"#!/bin/sh\necho {answer}\n")
        os.chmod(os.path.join(fake, "zenity"), 0o755)
        return fake

    def script(self, name, body):
        path = os.path.join(self.scratch, name)
        with open(path, "w") as f:
            f.write("#!/bin/sh\n" + body)
        os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        return path


class WindowAndGrid(DesktopTest):
    def test_window_is_placed_frameless_off_the_taskbar_and_drawn_as_rendered(self):
        settings = ini(LEFT, TOP, slots={2: "/nonexistent/file.txt"})
        self.start(settings)
        self.assertEqual(self.desktop.geometry(self.window), (LEFT, TOP, 264, 104))
        self.assertIn("0, 0, 0, 0", self.desktop.prop(self.window, "_NET_FRAME_EXTENTS"))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", self.desktop.prop(self.window, "_NET_WM_STATE"))
        self.assertIn('WM_NAME(STRING) = "Sorimo"', self.desktop.prop(self.window, "WM_NAME"))
        self.assertRegex(self.desktop.prop(self.window, "_NET_WM_PID"), r"= \d+")
        ini_path = os.path.join(self.scratch, "r.INI")
        with open(ini_path, "w") as f:
            f.write(settings)
        expected_png = os.path.join(self.scratch, "expected.png")
        subprocess.run([RENDER, "launcher", "--ini", ini_path, "-o", expected_png], check=True)
        expected = rgb_bytes(expected_png)
        actual_png = os.path.join(self.scratch, "actual.png")

        def same_picture():
            self.desktop.screenshot(self.window, actual_png)
            return rgb_bytes(actual_png) == expected
        wait_for(same_picture, what="the screenshot to equal the rendered launcher")

    def test_an_empty_cell_assigns_the_file_the_chooser_prints(self):
        fake = tempfile.mkdtemp(prefix="sorimo-fake-")
        with open(os.path.join(fake, "zenity"), "w") as f:
            f.write("#!/bin/sh\necho \"$@\" > " + os.path.join(fake, "args") + "\necho /chosen/file.txt\n")
        os.chmod(os.path.join(fake, "zenity"), 0o755)
        program = self.start(ini(LEFT, TOP), path_prefix=fake)
        # GIO is loaded for the first file type asked and fonts for the first
        # text shown, neither at start-up.
        self.assertNotIn("libgio-2.0", program.mapped_files())
        self.assertNotIn("/fonts/", program.mapped_files())
        self.desktop.click(*cell(0, 0))
        wait_for(lambda: "1=/chosen/file.txt\r\n" in program.settings(), what="the assigned slot")
        self.assertIn("libgio-2.0", program.mapped_files())

    def test_a_script_slot_runs_in_its_folder_and_only_it(self):
        folder = os.path.join(self.scratch, "odd $dir; 'x\"")
        os.mkdir(folder)
        target = os.path.join(folder, "a b'c\"$d;e.sh")
        with open(target, "w") as f:
            f.write("#!/bin/sh\npwd > marker\n")
        os.chmod(target, 0o755)
        self.start(ini(LEFT, TOP, slots={1: target}))
        self.desktop.click(*cell(0, 0))
        marker = os.path.join(folder, "marker")
        written = wait_for(lambda: read_text(marker), what="the script's marker")
        self.assertEqual(written.strip(), folder)
        self.assertEqual(sorted(os.listdir(folder)), sorted(["a b'c\"$d;e.sh", "marker"]))

    def test_a_deleted_file_empties_its_slot(self):
        # Its folder is there, the file is not.
        program = self.start(ini(LEFT, TOP, slots={6: os.path.join(self.scratch, "gone.txt")}))
        self.desktop.click(*cell(1, 1))
        wait_for(lambda: os.path.exists(program.settings_path) and "6=NOFILE\r\n" in program.settings(),
                 what="the emptied slot")

    def test_resting_on_a_cell_shows_the_hint_beside_the_pointer(self):
        self.start(ini(LEFT, TOP, slots={1: "/some/path.txt"}))
        x, y = cell(0, 0)
        self.desktop.move(x, y)
        hint = wait_for(lambda: self.desktop.find_window("Sorimoヒント"), what="the hint window")
        hx, hy, w, h = self.desktop.geometry(hint)
        self.assertEqual((hx, hy), (x + 12, y + 2))
        self.assertGreater(w, 40)
        # A name beyond Latin-1 is compound text in the old property.
        self.assertIn("WM_NAME(COMPOUND_TEXT)", self.desktop.prop(hint, "WM_NAME"))


class FrameReplacements(DesktopTest):
    def test_dragging_the_handle_moves_the_window_and_a_right_click_saves_and_exits(self):
        program = self.start(ini(LEFT, TOP))
        x, y = HANDLE
        d = self.desktop
        d.run(["xdotool", "mousemove", str(x), str(y), "mousedown", "1"])
        for step in range(1, 6):
            d.run(["xdotool", "mousemove", str(x + 8 * step), str(y + 6 * step)])
        d.run(["xdotool", "mouseup", "1"])
        wait_for(lambda: d.geometry(self.window)[:2] == (LEFT + 40, TOP + 30), what="the moved window")
        d.click(x + 40, y + 30, button=3)
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT + 40}\r\nTOP={TOP + 30}\r\n"))

    def test_the_about_box_opens_centred_and_ok_closes_it(self):
        self.start(ini(LEFT, TOP))
        self.desktop.click(*ABOUT_PANEL)
        box = wait_for(lambda: self.desktop.find_window("About Sorimo"), what="the about box")
        self.assertEqual(self.desktop.geometry(box), ((1024 - 327) // 2, (768 - 152) // 2, 327, 152))
        self.desktop.click((1024 - 327) // 2 + 124 + 40, (768 - 152) // 2 + 114 + 13)
        wait_for(lambda: self.desktop.find_window("About Sorimo") is None, what="the about box to close")

    def test_hiding_to_the_tray_and_back(self):
        self.start(ini(LEFT, TOP))
        d = self.desktop
        icon = wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        ix, iy, iw, ih = d.geometry(icon)
        self.assertGreaterEqual(iw, 16)
        # A hand's click: the release comes a moment after the press (the
        # tray drops notifications that arrive while one is dispatched).
        d.run(["xdotool", "mousemove", str(ix + iw // 2), str(iy + ih // 2),
               "mousedown", "3", "sleep", "0.1", "mouseup", "3"])
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")
        d.run(["xdotool", "mousedown", "1", "sleep", "0.05", "mouseup", "1", "sleep", "0.05",
               "mousedown", "1", "sleep", "0.05", "mouseup", "1"])
        window = wait_for(lambda: d.find_window("Sorimo"), what="the launcher to come back")
        self.assertEqual(d.geometry(window)[:2], (LEFT, TOP))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", d.prop(window, "_NET_WM_STATE"))

    def test_a_click_sent_straight_to_the_icon_hides_the_launcher(self):
        # Press and release back to back, as a tray proxy forwards a click:
        # the release used to be dropped while the press was dispatched.
        self.start(ini(LEFT, TOP))
        d = self.desktop
        icon = wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        wait_for(lambda: d.docked(icon), what="the icon in the tray")
        d.click_window(icon, 3)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")

    def test_a_restarted_tray_gets_the_icon_again(self):
        self.start(ini(LEFT, TOP))
        d = self.desktop
        wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        d.tray.terminate()
        d.tray.wait()
        wait_for(lambda: not d.tray_owned(), what="the tray to go")
        d.tray = d.start_tray()
        wait_for(lambda: d.find_window("Sorimo tray icon"), what="the icon docked again")


class Ending(DesktopTest):
    def test_sigterm_writes_the_whole_file_and_exits_zero(self):
        # Slot 13 has an icon: the grid shows it in its upper row once the
        # click on the down arrow has been handled (offset 3).
        program = self.start(ini(LEFT, TOP, offset=2, slots={13: "/usr/bin/env"}))
        down = (LEFT + 1 + 160 + 18, TOP + 1 + 52 + 14)
        lower_left = (self.window, 1 + 16, 1 + 16 + 36, 36, 36)
        # Painted (a heart of several colours), not the bare background.
        before = wait_for(lambda: (lambda rgb: len({rgb[i:i + 3] for i in range(0, len(rgb), 3)}) > 2 and rgb)(
            self.desktop.region(*lower_left)), what="the first paint of the grid")
        self.desktop.click(*down)
        wait_for(lambda: self.desktop.region(*lower_left) != before, what="the grid one row down")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        text = program.settings()
        self.assertTrue(text.startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\nOFFSET=3\r\n"), text[:60])
        self.assertIn("28=NOFILE\r\n", text)

    def test_a_lost_display_writes_the_whole_file_and_exits_zero(self):
        program = self.start(ini(LEFT, TOP, offset=5))
        self.desktop.processes[0].kill()  # the X server
        self.assertEqual(program.wait(), 0)
        self.assertIn("OFFSET=5\r\n", program.settings())
        self.assertIn("28=NOFILE\r\n", program.settings())


class ScreenScale(DesktopTest):
    def test_at_scale_two_every_pixel_becomes_a_block_and_input_follows(self):
        settings = ini(LEFT, TOP)
        self.desktop.move(0, 0)  # the pointer starts mid-screen: over the doubled grid
        program = self.start(settings, extra_env={"GDK_SCALE": "2"})
        self.assertEqual(self.desktop.geometry(self.window), (2 * LEFT, 2 * TOP, 528, 208))
        ini_path = os.path.join(self.scratch, "r.INI")
        with open(ini_path, "w") as f:
            f.write(settings)
        rendered = os.path.join(self.scratch, "expected.png")
        subprocess.run([RENDER, "launcher", "--ini", ini_path, "-o", rendered], check=True)
        doubled = os.path.join(self.scratch, "doubled.png")
        subprocess.run(["convert", rendered, "-sample", "200%", doubled], check=True)
        expected = rgb_bytes(doubled)
        actual_png = os.path.join(self.scratch, "actual.png")

        def same_picture():
            self.desktop.screenshot(self.window, actual_png)
            return rgb_bytes(actual_png) == expected
        wait_for(same_picture, what="the doubled picture")
        self.desktop.click(2 * HANDLE[0], 2 * HANDLE[1], button=3)
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\n"))


class SeveralMonitors(DesktopTest):
    """1920 x 1080 (primary) beside 1280 x 1024 on a 3200 x 1080 root:
    nothing shows the strip below the smaller monitor."""
    screen = (3200, 1080)

    def setUp(self):
        super().setUp()
        self.desktop.set_monitors([("Big", 0, 0, 1920, 1080), ("Small", 1920, 0, 1280, 1024)])

    def test_a_launcher_stored_where_no_monitor_shows_opens_on_the_primary_and_the_about_box_centres_there(self):
        self.start(ini(2000, 1050))
        d = self.desktop
        self.assertEqual(d.geometry(self.window), (1920 - 264, 1080 - 104, 264, 104))
        d.click(1920 - 264 + 212 + 6, 1080 - 104 + 52 + 6)  # the about panel
        box = wait_for(lambda: d.find_window("About Sorimo"), what="the about box")
        left, top = (1920 - 327) // 2, (1080 - 152) // 2
        self.assertEqual(d.geometry(box), (left, top, 327, 152))
        # On screen at that place, the box as the renderer draws it.
        rendered = os.path.join(self.scratch, "about.png")
        subprocess.run([RENDER, "about", "-o", rendered], check=True)
        expected = rgb_bytes(rendered)
        shot = os.path.join(self.scratch, "root.png")
        crop = os.path.join(self.scratch, "crop.png")

        def box_on_screen():
            d.run(["import", "-window", "root", shot])
            subprocess.run(["convert", shot, "-crop", f"327x152+{left}+{top}", "+repage", crop], check=True)
            return rgb_bytes(crop) == expected
        wait_for(box_on_screen, what="the about box on the primary monitor")

    def test_deleting_the_monitor_that_holds_the_launcher_moves_it_and_saves_its_place(self):
        program = self.start(ini(2100, 300))
        d = self.desktop
        self.assertEqual(d.geometry(self.window)[:2], (2100, 300))
        d.delete_monitor("Small")
        # Onto the primary: just onto it by the program, or first by the
        # window manager (openbox leaves a strip of it on the primary),
        # where the launcher then stays. The place saved is the real one.
        wait_for(lambda: d.geometry(self.window)[0] < 1920, what="the launcher on the primary")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        saved = program.settings()
        self.assertTrue(saved.startswith("[FORM]\r\nLEFT="), saved[:40])
        left = int(saved.split("LEFT=")[1].split("\r\n")[0])
        self.assertIn(left, range(1920 - 264, 1920))
        self.assertIn("\r\nTOP=300\r\n", saved)


class TwoCopies(DesktopTest):
    def hide_to_tray(self):
        self.desktop.click(*ABOUT_PANEL, button=3)
        wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="the launcher to hide")

    def test_a_second_start_exits_zero_at_once_and_brings_the_hidden_launcher_back(self):
        program = self.start(ini(LEFT, TOP))
        d = self.desktop
        wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        self.hide_to_tray()
        code, seconds = program.start_again()
        self.assertEqual(code, 0)
        self.assertLess(seconds, 1.0)
        window = wait_for(lambda: d.find_window("Sorimo"), what="the launcher to come back")
        self.assertEqual(window, self.window)  # the first copy's
        self.assertEqual(d.geometry(window)[:2], (LEFT, TOP))
        wait_for(lambda: d.active_window() == window, what="the launcher to be activated")
        self.assertEqual(len(d.find_windows("Sorimo tray icon")), 1)
        self.assertEqual(program.process.poll(), None)

    def test_toggle_hides_the_running_launcher_to_the_tray_and_shows_it_again(self):
        program = self.start(ini(LEFT, TOP))
        d = self.desktop
        wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        self.assertEqual(program.start_again("--toggle")[0], 0)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")
        self.assertEqual(program.start_again("--toggle")[0], 0)
        wait_for(lambda: d.find_window("Sorimo") == self.window, what="the launcher to show")

    def test_the_settings_file_keeps_the_first_copys_slot_change_after_both_ended(self):
        program = self.start(ini(LEFT, TOP), path_prefix=self.fake_chooser("/chosen/file.txt"))
        self.assertEqual(program.start_again()[0], 0)
        self.desktop.click(*cell(0, 0))  # an empty cell: the chooser answers
        wait_for(lambda: "1=/chosen/file.txt\r\n" in program.settings(), what="the assigned slot")
        self.desktop.click(*HANDLE, button=3)
        self.assertEqual(program.wait(), 0)
        self.assertIn("1=/chosen/file.txt\r\n", program.settings())

    def test_a_killed_copy_does_not_stop_a_new_start_even_with_a_program_it_launched_still_running(self):
        marker = os.path.join(self.scratch, "started")
        long_running = self.script("long.sh", f"echo $$ > {marker}.tmp && mv {marker}.tmp {marker}\nexec sleep 60\n")
        program = self.start(ini(LEFT, TOP, slots={1: long_running}))
        self.desktop.click(*cell(0, 0))
        child = int(wait_for(lambda: read_text(marker), what="the launched program"))
        self.addCleanup(kill_quietly, child)
        program.signal(signal.SIGKILL)
        program.wait()
        wait_for(lambda: self.desktop.find_window("Sorimo") is None, what="the killed copy's window to go")
        program.process = program.spawn()
        window = wait_for(lambda: self.desktop.find_window("Sorimo"), timeout=30, what="the new copy's window")
        self.assertEqual(self.desktop.geometry(window)[:2], (LEFT, TOP))
        self.assertIsNone(program.process.poll())

    def test_copies_with_other_settings_files_run_side_by_side(self):
        first = self.start(ini(LEFT, TOP))
        second = Sorimo(self.desktop, EXE, ini(LEFT + 300, TOP))  # another folder
        self.addCleanup(second.close)
        wait_for(lambda: len(self.desktop.find_windows("Sorimo")) == 2, timeout=30, what="two launchers")
        self.assertIsNone(first.process.poll())
        self.assertIsNone(second.process.poll())

    def test_two_starts_at_the_same_moment_leave_one_copy(self):
        program = Sorimo(self.desktop, EXE, ini(LEFT, TOP))
        self.addCleanup(program.close)
        other = program.spawn()
        self.addCleanup(lambda: other.poll() is None and (other.kill(), other.wait()))
        d = self.desktop
        wait_for(lambda: d.find_window("Sorimo"), timeout=30, what="a launcher window")
        # The copy that lost ends by itself with 0; the winner runs on.
        deadline = time.monotonic() + 10
        while program.process.poll() is None and other.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        codes = [program.process.poll(), other.poll()]
        self.assertEqual(sorted(codes, key=lambda c: c is None), [0, None])
        wait_for(lambda: d.find_window("Sorimo tray icon"), what="the docked tray icon")
        self.assertEqual(len(d.find_windows("Sorimo")), 1)
        self.assertEqual(len(d.find_windows("Sorimo tray icon")), 1)


class BoxKeys(DesktopTest):
    def test_return_and_escape_close_the_error_box_that_takes_the_focus(self):
        program = self.start(ini(LEFT, TOP))
        d = self.desktop
        # A folder where the settings file should be: closing fails and says so.
        os.remove(program.settings_path)
        os.mkdir(program.settings_path)
        for key in ("Return", "Escape"):
            d.click(*HANDLE, button=3)
            box = wait_for(lambda: d.find_window("sorimo"), what="the error box")
            wait_for(lambda: d.focused_window() == box, what="the error box to take the focus")
            d.key(key)
            wait_for(lambda: d.find_window("sorimo") is None, what=f"{key} to close the error box")
            self.assertIsNone(program.process.poll())
            # A search while the box's window is destroyed may miss windows:
            # asked again.
            wait_for(lambda: d.find_window("Sorimo") == self.window, what="the launcher still shown")

    def test_return_and_escape_close_the_about_box(self):
        self.start(ini(LEFT, TOP))
        d = self.desktop
        for key in ("Escape", "Return"):
            d.click(*ABOUT_PANEL)
            box = wait_for(lambda: d.find_window("About Sorimo"), what="the about box")
            wait_for(lambda: d.focused_window() == box, what="the about box to take the focus")
            d.key(key)
            wait_for(lambda: d.find_window("About Sorimo") is None, what=f"{key} to close the about box")


class CommandLine(unittest.TestCase):
    """Answered without a display."""

    def run_program(self, *args):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        return subprocess.run([EXE, *args], env=env, capture_output=True, text=True, timeout=10)

    def test_help_and_version_print_and_exit_zero(self):
        result = self.run_program("--help")
        self.assertEqual(result.returncode, 0)
        self.assertIn("--toggle", result.stdout)
        result = self.run_program("--version")
        self.assertEqual((result.returncode, result.stdout), (0, "Sorimo 4.05\n"))

    def test_an_unknown_argument_prints_the_usage_to_stderr_and_exits_two(self):
        result = self.run_program("--tog")
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, "")
        self.assertIn("unknown argument '--tog'", result.stderr)
        self.assertIn("Usage: sorimo", result.stderr)


class NoTray(DesktopTest):
    tray = False

    def test_without_a_tray_it_runs_refuses_to_hide_and_docks_into_a_tray_started_later(self):
        # It used to show an error box and end with exit code 1.
        self.start(ini(LEFT, TOP))
        d = self.desktop
        self.assertEqual(d.windows_named("sorimo"), [])  # no error box
        d.click(*ABOUT_PANEL, button=3)
        # The program handles input in order: once the hint of a cell shows,
        # the release on the panel has been handled.
        d.move(*cell(0, 0))
        wait_for(lambda: d.find_window("Sorimoヒント"), what="the hint after the release")
        self.assertEqual(d.windows_named("Sorimo"), [self.window])  # not hidden: no way back
        d.tray = d.start_tray()
        icon = wait_for(lambda: d.find_window("Sorimo tray icon"), timeout=15, what="the tray icon")
        wait_for(lambda: d.docked(icon), timeout=15, what="the icon in the tray")
        ix, iy, iw, ih = d.geometry(icon)
        d.run(["xdotool", "mousemove", str(ix + iw // 2), str(iy + ih // 2),
               "mousedown", "3", "sleep", "0.1", "mouseup", "3"])
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")

    def test_a_tray_that_goes_away_brings_the_hidden_launcher_back(self):
        d = self.desktop
        d.tray = d.start_tray()
        self.start(ini(LEFT, TOP))
        icon = wait_for(lambda: d.find_window("Sorimo tray icon"), what="the tray icon")
        wait_for(lambda: d.docked(icon), what="the icon in the tray")
        d.click(*ABOUT_PANEL, button=3)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")
        d.tray.terminate()
        d.tray.wait()
        window = wait_for(lambda: d.find_window("Sorimo"), what="the launcher to come back")
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", d.prop(window, "_NET_WM_STATE"))


class StatusNotifier(DesktopTest):
    """A desktop whose panel shows StatusNotifierItems (a watcher and host on
    the session bus), with no XEmbed tray unless a test starts one."""
    tray = False
    bus = True

    def setUp(self):
        super().setUp()
        self.host = NotificationHost(self.desktop)
        self.addCleanup(lambda: self.host.stop())

    def launch(self):
        program = self.start(ini(LEFT, TOP))
        registered = self.host.next_event("registered", timeout=10)
        return program, registered

    def test_the_item_registers_within_a_second_with_the_icon_and_the_tip(self):
        program, registered = self.launch()
        self.assertLess(registered["at"] - program.started_at, 1.0)
        # Its connection's name: the item is the object /StatusNotifierItem there.
        self.assertEqual(registered["service"], registered["sender"])
        pixmaps = self.host.get("IconPixmap")
        self.assertEqual([(w, h) for w, h, _ in pixmaps], [(16, 16), (22, 22), (24, 24), (32, 32), (48, 48)])
        for w, h, data in pixmaps:
            self.assertEqual(len(data), 2 * 4 * w * h)
            self.assertNotEqual(data, "00" * 4 * w * h)
        self.assertEqual(pixmaps[3][2], xpm_argb("heart")[2].hex())
        self.assertEqual(self.host.get("Title"), "Sorimo")
        self.assertEqual(self.host.get("ToolTip")[2], "Sorimo")
        for name, value in (("Category", "ApplicationStatus"), ("Id", "sorimo"), ("Status", "Active"),
                            ("ItemIsMenu", False), ("WindowId", 0)):
            self.assertEqual(self.host.get(name), value, name)
        self.assertIsNone(self.desktop.find_window("Sorimo tray icon"))

    def test_a_context_menu_request_hides_and_activations_show(self):
        self.launch()
        d = self.desktop
        self.host.call("ContextMenu", 900, 5)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")
        self.host.call("SecondaryActivate", 900, 5)  # a middle click: nothing
        self.host.call("Scroll", 1, "vertical")
        self.host.get("Status")  # answered after the calls before it were handled
        self.assertIsNone(d.find_window("Sorimo"))
        self.host.call("Activate", 900, 5)
        window = wait_for(lambda: d.find_window("Sorimo"), what="the launcher to come back")
        self.assertEqual(d.geometry(window)[:2], (LEFT, TOP))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", d.prop(window, "_NET_WM_STATE"))
        self.host.call("Activate", 900, 5)  # a panel's double click: two activations
        self.host.call("Activate", 900, 5)
        self.host.get("Status")
        self.assertEqual(d.windows_named("Sorimo"), [window])

    def test_a_watcher_that_goes_brings_the_launcher_back_and_a_new_one_gets_the_item(self):
        self.launch()
        d = self.desktop
        self.host.call("ContextMenu", 900, 5)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide")
        self.host.stop()
        wait_for(lambda: d.find_window("Sorimo"), what="the launcher to come back")
        self.host = NotificationHost(d)
        self.host.next_event("registered", timeout=2)
        self.assertEqual(self.host.get("Title"), "Sorimo")
        self.host.call("ContextMenu", 900, 5)
        wait_for(lambda: d.find_window("Sorimo") is None, what="the launcher to hide again")

    def test_beside_an_xembed_tray_only_the_item_is_shown(self):
        d = self.desktop
        d.tray = d.start_tray()
        self.launch()
        self.host.get("Status")
        self.assertIsNone(d.find_window("Sorimo tray icon"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
