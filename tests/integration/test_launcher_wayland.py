"""The real program on sway (headless, one output, no Xwayland), as a
layer-shell client: checked from outside with screenshots (grim) and driven
with a virtual pointer and keyboard. Each test starts and stops its own compositor."""

import json
import os
import signal
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import LineReader, NotificationHost, Sorimo, SwayDesktop, gtk_python, ini, wait_for  # noqa: E402

EXE = os.environ["SORIMO_EXE"]
RENDER = os.environ["SORIMO_RENDER"]
INPUT = os.environ["SORIMO_VIRTUAL_INPUT"]
LEFT, TOP = 100, 120
WIDTH, HEIGHT = 264, 104


def cell(col, row):
    return LEFT + 1 + 16 + 36 * col + 18, TOP + 1 + 16 + 36 * row + 18


HANDLE = (LEFT + 212 + 6, TOP + 6)
ABOUT_PANEL = (LEFT + 212 + 6, TOP + 52 + 6)
WHITE, CYAN = bytes([255, 255, 255]), bytes([0, 255, 255])  # a cell's bevel raised, pressed
HINT_BACKGROUND = bytes([0xD6, 0xFD, 0xFE])  # the hint form's colour, 0xFEFDD6 as BGR



def rendered_rgb(settings, scale=1):
    """The launcher as the headless backend draws it, as RGB bytes, every
    pixel a scale x scale block."""
    folder = tempfile.mkdtemp(prefix="sorimo-render-")
    ini_path, png = os.path.join(folder, "r.INI"), os.path.join(folder, "r.png")
    with open(ini_path, "w") as f:
        f.write(settings)
    subprocess.run([RENDER, "launcher", "--ini", ini_path, "-o", png], check=True)
    resize = ["-sample", f"{100 * scale}%"] if scale > 1 else []
    rgb = subprocess.run(["convert", png, *resize, "rgb:-"], capture_output=True, check=True).stdout
    subprocess.run(["rm", "-rf", folder], check=True)
    return rgb


class SwayTest(unittest.TestCase):
    scale = 1
    bus = False

    def setUp(self):
        self.desktop = SwayDesktop(xwayland=False, scale=self.scale, bus=self.bus)
        self.addCleanup(self.desktop.close)
        self.desktop.input(INPUT)  # before the program, as a real seat's devices are

    def start(self, settings):
        program = Sorimo(self.desktop, EXE, settings)
        self.addCleanup(program.close)
        return program

    def shows(self, expected, left=LEFT, top=TOP):
        """True when the layout shows `expected` (RGB bytes) at left, top."""
        return self.desktop.layout_region(left, top, WIDTH, HEIGHT)[2] == expected

    def wait_shown(self, expected, left=LEFT, top=TOP, what="the launcher as rendered"):
        wait_for(lambda: self.shows(expected, left, top), timeout=15, what=what)


class Launcher(SwayTest):
    def test_it_shows_at_its_stored_place_as_rendered_and_a_drag_by_the_handle_moves_and_saves_it(self):
        settings = ini(LEFT, TOP, slots={2: "/nonexistent/file.txt"})
        program = self.start(settings)
        expected = rendered_rgb(settings)
        self.wait_shown(expected)
        pointer = self.desktop.input(INPUT)
        x, y = HANDLE
        pointer.move(x, y)
        pointer.press()
        for step in range(1, 6):
            pointer.move(x + 8 * step, y + 6 * step)
        pointer.release()
        pointer.move(self.desktop.width - 1, self.desktop.height - 1)  # the cursor is in screenshots
        self.wait_shown(expected, LEFT + 40, TOP + 30, what="the launcher at its new place")
        # A right click on the handle saves and ends.
        pointer.click(x + 40, y + 30, button="right")
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT + 40}\r\nTOP={TOP + 30}\r\n"))

    def test_resting_on_a_cell_shows_the_hint_beside_the_pointer(self):
        settings = ini(LEFT, TOP, slots={1: "/some/path.txt"})
        self.start(settings)
        self.wait_shown(rendered_rgb(settings))
        x, y = cell(0, 0)
        self.desktop.input(INPUT).move(x, y)
        # The hint's colour right of the cursor's arrow; the launcher has none
        # of it.
        beside = (x + 30, y + 4, 30, 8)
        self.assertNotIn(HINT_BACKGROUND, self.desktop.layout_region(*beside)[2])
        wait_for(lambda: HINT_BACKGROUND in self.desktop.layout_region(*beside)[2], what="the hint beside the pointer")

    def test_sigterm_writes_the_settings_and_exits_zero(self):
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        self.wait_shown(rendered_rgb(settings))
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\n"))

    def test_the_about_box_opens_centred_on_the_output_and_escape_and_return_close_it(self):
        settings = ini(LEFT, TOP)
        self.start(settings)
        self.wait_shown(rendered_rgb(settings))
        folder = tempfile.mkdtemp(prefix="sorimo-render-")
        png = os.path.join(folder, "about.png")
        subprocess.run([RENDER, "about", "-o", png], check=True)
        size = subprocess.run(["identify", "-format", "%w %h", png], capture_output=True, text=True, check=True)
        width, height = (int(v) for v in size.stdout.split())
        about = subprocess.run(["convert", png, "rgb:-"], capture_output=True, check=True).stdout
        subprocess.run(["rm", "-rf", folder], check=True)
        left, top = (self.desktop.width - width) // 2, (self.desktop.height - height) // 2
        box = self.desktop.layout_region(left, top, width, height)[2]
        self.assertNotEqual(box, about)
        keyboard = self.desktop.input(INPUT)
        for key in ("Escape", "Return"):
            keyboard.click(*ABOUT_PANEL)
            keyboard.move(0, self.desktop.height - 1)  # the cursor is in screenshots
            wait_for(lambda: self.desktop.layout_region(left, top, width, height)[2] == about, what="the about box")
            keyboard.key(key)
            wait_for(lambda: self.desktop.layout_region(left, top, width, height)[2] == box, what=f"{key} to close it")


class Drops(SwayTest):
    def test_a_file_dragged_from_a_wayland_program_and_dropped_on_a_cell_fills_its_slot(self):
        folder = tempfile.mkdtemp(prefix="sorimo-drop-")
        self.addCleanup(subprocess.run, ["rm", "-rf", folder])
        path = os.path.join(folder, "one file.txt")
        open(path, "w").close()
        self.desktop.hand_over(folder)
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        self.wait_shown(rendered_rgb(settings))
        hand = self.desktop.input(INPUT)
        # The source's window fills the output (sway tiles it) beneath the
        # launcher, which stays above it.
        script = os.path.join(os.path.dirname(__file__), "drag_source.py")
        source = self.desktop._start([gtk_python(), script, "0", "0", "file://" + path.replace(" ", "%20")],
                                     stdout=subprocess.PIPE)
        lines = LineReader(source.stdout)
        self.assertEqual(lines.next(15), "ready")
        x, y = self.desktop.width // 2, self.desktop.height - 100

        def drag_begun():
            # A press, then on past the source's threshold. The source says
            # "ready" once mapped, which may be before the compositor has
            # given it its place: a press that came too early is tried again.
            hand.move(x, y)
            hand.press()
            for step in range(1, 12):
                hand.move(x + 2 * step, y + step)
                if lines.next(0.05) == "begin":
                    return True
            hand.release()
            return False
        wait_for(drag_begun, what="the source to begin the drag")
        target = cell(2, 1)
        bevel = (LEFT + 1 + 16 + 36 * 2 + 5, TOP + 1 + 16 + 36 * 1 + 1, 1, 1)
        self.assertEqual(self.desktop.layout_region(*bevel)[2], WHITE)

        def hovering_presses_the_cell():
            # The pointer goes on arriving until the cell shows the drag.
            for offset in (3, 1, 0):
                hand.move(target[0] - offset, target[1] - offset)
            return self.desktop.layout_region(*bevel)[2] == CYAN
        wait_for(hovering_presses_the_cell, what="the hovered cell pressed")
        hand.release()
        self.assertTrue((lines.next(15) or "").startswith("end "))
        wait_for(lambda: os.path.exists(program.settings_path) and f"7={path}\r\n" in program.settings(),
                 what="the dropped file in slot 7")


class TwoOutputs(SwayTest):
    def setUp(self):
        super().setUp()
        self.desktop.run(["swaymsg", "create_output"])
        self.desktop.run(["swaymsg", "output", "HEADLESS-2", "resolution", "800x600", "position", "1280", "0"])

        def outputs():
            listed = json.loads(self.desktop.run(["swaymsg", "-r", "-t", "get_outputs"]).stdout)
            return sorted((o["rect"]["x"], o["rect"]["y"], o["rect"]["width"], o["rect"]["height"]) for o in listed)
        wait_for(lambda: outputs() == [(0, 0, 1280, 800), (1280, 0, 800, 600)], what="the second output")
        self.desktop.width = 1280 + 800  # the layout the virtual pointer spans

    def test_a_place_on_the_second_output_shows_there_and_a_place_on_none_comes_onto_the_first(self):
        # The margins count from the second output's corner.
        settings = ini(1280 + LEFT, TOP)
        program = self.start(settings)
        self.wait_shown(rendered_rgb(settings), 1280 + LEFT, TOP, what="the launcher on the second output")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        # Below the second output nothing is shown: the launcher comes just
        # onto the first one, as on X11, and that place is saved.
        settings = ini(1280 + LEFT, 700)
        program = self.start(settings)
        left, top = 1280 - WIDTH, 800 - HEIGHT
        self.wait_shown(rendered_rgb(settings), left, top, what="the launcher on the first output")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT={left}\r\nTOP={top}\r\n"))

    def test_a_drag_by_the_handle_carries_the_launcher_onto_the_second_output(self):
        settings = ini(1000, TOP)
        program = self.start(settings)
        expected = rendered_rgb(settings)
        self.wait_shown(expected, 1000, TOP)
        hand = self.desktop.input(INPUT)
        x, y = 1000 + 218, TOP + 6
        hand.move(x, y)
        hand.press()
        for step in range(1, 11):
            hand.move(x + 40 * step, y)
        hand.release()
        hand.move(0, 0)  # the cursor is in screenshots
        self.wait_shown(expected, 1400, TOP, what="the launcher on the second output")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait(), 0)
        self.assertTrue(program.settings().startswith(f"[FORM]\r\nLEFT=1400\r\nTOP={TOP}\r\n"))


class AtScaleTwo(SwayTest):
    scale = 2

    def test_every_pixel_is_a_two_by_two_block_of_the_rendered_picture_and_a_new_scale_redraws(self):
        settings = ini(LEFT, TOP)
        self.start(settings)

        def drawn_at(scale):
            expected = rendered_rgb(settings, scale=scale)

            def shown():
                width, height, pixels = self.desktop.layout_region(LEFT, TOP, WIDTH, HEIGHT)
                return (width, height) == (scale * WIDTH, scale * HEIGHT) and pixels == expected
            return shown
        wait_for(drawn_at(2), timeout=15, what="the launcher as 528 x 208 blocks of its picture")
        self.desktop.run(["swaymsg", "output", "HEADLESS-1", "scale", "1"])
        wait_for(drawn_at(1), timeout=15, what="the launcher redrawn at scale 1")


class TrayItem(SwayTest):
    bus = True

    def test_the_item_registers_and_toggle_hides_and_shows_the_launcher(self):
        host = NotificationHost(self.desktop)
        self.addCleanup(host.stop)
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        expected = rendered_rgb(settings)
        self.wait_shown(expected)
        registered = host.next_event("registered", timeout=10)
        self.assertEqual(registered["service"], registered["sender"])
        self.assertEqual(host.get("Title"), "Sorimo")
        self.assertEqual(program.start_again("--toggle")[0], 0)
        wait_for(lambda: not self.shows(expected), what="the launcher to hide")
        self.assertEqual(program.start_again("--toggle")[0], 0)
        self.wait_shown(expected, what="the launcher to show again")


if __name__ == "__main__":
    unittest.main()
