"""Files dragged from a real GTK drag source onto the launcher under Xvfb
(openbox, trayer), the pointer moved by xdotool: the pressed cell while
hovering, the slots and the settings file after a drop, a refused web
address, and paging while the drag rests on an arrow."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, DragSource, Sorimo, XdndProbe, ini, wait_for  # noqa: E402

EXE = os.environ["SORIMO_EXE"]
LEFT, TOP = 100, 120
CYAN, WHITE = (0, 255, 255), (255, 255, 255)


def cell(col, row):
    return LEFT + 1 + 16 + 36 * col + 18, TOP + 1 + 16 + 36 * row + 18


DOWN_ARROW = (LEFT + 1 + 160 + 18, TOP + 1 + 52 + 14)


class FileDrop(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(tray=True)
        self.addCleanup(self.desktop.close)
        self.scratch = tempfile.mkdtemp(prefix="sorimo-drop-")

    def start(self, settings, **kwargs):
        program = Sorimo(self.desktop, EXE, settings, **kwargs)
        self.addCleanup(program.close)
        self.window = program.window()
        return program

    def files(self, *names):
        paths = []
        for name in names:
            path = os.path.join(self.scratch, name)
            with open(path, "w") as f:
                f.write("x\n")
            paths.append(path)
        return paths

    def source(self, uris):
        source = DragSource(self.desktop, uris)
        self.addCleanup(source.close)
        return source

    def bevel_pixel(self, col, row):
        """The colour of a cell's row 1, white when raised, cyan when
        pressed; None when no screenshot could be taken."""
        shot = os.path.join(self.scratch, "shot.png")
        taken = self.desktop.run(["import", "-window", self.window, shot], check=False)
        if taken.returncode != 0:
            self.last_shot_error = taken.stderr
            return None  # a busy server now and then; the caller waits and asks again
        rgb = subprocess.run(["convert", shot, "rgb:-"], capture_output=True, check=True).stdout
        x, y = 1 + 16 + 36 * col + 5, 1 + 16 + 36 * row + 1
        i = (y * 264 + x) * 3
        return tuple(rgb[i:i + 3])

    def cell_pixels(self, col, row):
        return self.desktop.region(self.window, 1 + 16 + 36 * col, 1 + 16 + 36 * row, 36, 36)

    def shown_pixel(self, col, row):
        return wait_for(lambda: self.bevel_pixel(col, row), what="a screenshot of the launcher")

    def test_hovering_presses_the_cell_and_one_file_dropped_fills_its_slot(self):
        program = self.start(ini(LEFT, TOP))
        wait_for(lambda: self.bevel_pixel(1, 0) == WHITE, what="the first paint of the grid")
        (path,) = self.files("one file.txt")
        source = self.source(["file://" + path.replace(" ", "%20")])
        source.start()
        source.hover(*cell(1, 0))
        wait_for(lambda: self.bevel_pixel(1, 0) == CYAN, what="the hovered cell pressed")
        self.assertEqual(self.shown_pixel(0, 0), WHITE)
        source.hover(*cell(2, 1))
        wait_for(lambda: self.bevel_pixel(2, 1) == CYAN, what="the next hovered cell pressed")
        self.assertEqual(self.shown_pixel(1, 0), WHITE)
        source.drop()
        text = wait_for(lambda: os.path.exists(program.settings_path) and f"7={path}\r\n" in program.settings()
                        and program.settings(), what="the dropped file in slot 7")
        self.assertTrue(text.startswith(f"[FORM]\r\nLEFT={LEFT}\r\nTOP={TOP}\r\nOFFSET=1\r\n"), text[:60])
        self.assertIn("6=NOFILE\r\n", text)
        wait_for(lambda: self.bevel_pixel(2, 1) == WHITE, what="the grid repainted raised")

    def test_three_files_fill_the_slot_and_the_next_empty_ones(self):
        program = self.start(ini(LEFT, TOP, slots={2: "/kept/two"}))
        paths = self.files("a", "b", "c")
        source = self.source(["file://" + p for p in paths])
        source.start()
        source.hover(*cell(0, 0))
        wait_for(lambda: self.bevel_pixel(0, 0) == CYAN, what="the hovered cell pressed")
        source.drop()

        def filled():
            text = program.settings() if os.path.exists(program.settings_path) else ""
            return all(f"{k}={p}\r\n" in text for k, p in zip((1, 3, 4), paths)) and text
        text = wait_for(filled, what="slots 1, 3 and 4")
        self.assertIn("2=/kept/two\r\n", text)

    def test_a_web_address_is_refused_and_changes_nothing(self):
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        source = self.source(["https://example.org/page.html"])
        source.start()
        source.hover(*cell(0, 0))
        wait_for(lambda: self.bevel_pixel(0, 0) == CYAN, what="the hovered cell pressed")
        source.drop()
        wait_for(lambda: self.bevel_pixel(0, 0) == WHITE, what="the cell raised again")
        self.assertEqual(program.settings(), settings)

    def test_a_drag_resting_on_the_down_arrow_pages_the_grid(self):
        # Slot 13 has an icon of its own: the grid first shows it at offset 3.
        program = self.start(ini(LEFT, TOP, slots={13: "/usr/bin/env"}))
        (path,) = self.files("deep")
        source = self.source(["file://" + path])
        source.start()
        source.hover(*DOWN_ARROW)
        self.assertEqual(self.shown_pixel(0, 0), WHITE)  # an arrow takes no drop
        before = self.cell_pixels(0, 1)
        wait_for(lambda: self.cell_pixels(0, 1) != before, what="two pages down")
        source.hover(*cell(0, 0))
        source.drop()
        text = wait_for(lambda: os.path.exists(program.settings_path) and program.settings(),
                        what="the settings file")
        offset = int(text.split("OFFSET=")[1].split("\r\n")[0])
        self.assertGreaterEqual(offset, 3)
        self.assertIn(f"\r\n{4 * (offset - 1) + 1}={path}\r\n", text)

    def probe(self):
        probe = XdndProbe(self.desktop)
        self.addCleanup(probe.close)
        return probe

    def test_the_answers_a_source_gets_field_by_field(self):
        program = self.start(ini(LEFT, TOP))
        target = int(self.window)
        probe = self.probe()
        # Types the launcher cannot take: refused everywhere.
        probe.enter(target, types=("text/plain", "UTF8_STRING"))
        self.assertEqual(probe.position(target, *cell(0, 0)), (False, None))
        probe.send(target, "XdndLeave", 0)
        # The files offered as the fourth type: only the property lists it.
        probe.enter(target, types=("text/plain", "UTF8_STRING", "STRING", "text/uri-list"))
        self.assertEqual(probe.position(target, *cell(0, 0)), (True, "XdndActionCopy"))
        self.assertEqual(probe.position(target, *DOWN_ARROW), (False, None))
        # A move or a link is taken as a copy: only the path is kept.
        self.assertEqual(probe.position(target, *cell(3, 1), action="XdndActionMove"), (True, "XdndActionCopy"))
        self.assertEqual(probe.position(target, *cell(3, 1), action="XdndActionLink"), (True, "XdndActionCopy"))
        (path,) = self.files("probed")
        accepted, action, _ = probe.drop(target, answer=f"file://{path}\r\n".encode())
        self.assertEqual((accepted, action), (True, "XdndActionCopy"))
        self.assertEqual([t for t, _ in probe.requests], ["text/uri-list"])
        wait_for(lambda: os.path.exists(program.settings_path) and f"8={path}\r\n" in program.settings(),
                 what="the probed file in slot 8")

    def test_a_source_that_never_delivers_its_data_is_given_up(self):
        settings = ini(LEFT, TOP)
        program = self.start(settings)
        target = int(self.window)
        probe = self.probe()
        probe.enter(target)
        self.assertEqual(probe.position(target, *cell(1, 0)), (True, "XdndActionCopy"))
        wait_for(lambda: self.bevel_pixel(1, 0) == CYAN, what="the hovered cell pressed")
        accepted, action, seconds = probe.drop(target, answer=None)
        self.assertEqual((accepted, action), (False, None))
        self.assertGreater(seconds, 4)
        self.assertLess(seconds, 10)
        wait_for(lambda: self.bevel_pixel(1, 0) == WHITE, what="the cell raised again")
        self.assertEqual(program.settings(), settings)
        # The launcher goes on taking drops.
        probe.enter(target)
        self.assertEqual(probe.position(target, *cell(1, 0)), (True, "XdndActionCopy"))
        self.assertEqual(probe.drop(target, answer=b"http://example.org/\r\n")[:2], (False, None))

    def test_positions_in_screen_pixels_find_the_cell_on_a_scaled_screen(self):
        program = self.start(ini(LEFT, TOP), extra_env={"GDK_SCALE": "2"})
        target = int(self.window)
        probe = self.probe()
        probe.enter(target)
        x, y = cell(1, 0)
        self.assertEqual(probe.position(target, 2 * x, 2 * y), (True, "XdndActionCopy"))
        self.assertEqual(probe.position(target, 2 * DOWN_ARROW[0], 2 * DOWN_ARROW[1]), (False, None))
        # The cell's last screen pixel, and the first one beyond the grid.
        grid_right = 2 * (LEFT + 1 + 16 + 144)
        self.assertEqual(probe.position(target, grid_right - 1, 2 * y), (True, "XdndActionCopy"))
        self.assertEqual(probe.position(target, grid_right, 2 * y), (False, None))
        self.assertEqual(probe.position(target, 2 * x + 1, 2 * y + 1), (True, "XdndActionCopy"))
        (path,) = self.files("scaled")
        self.assertEqual(probe.drop(target, answer=f"file://{path}\r\n".encode())[:2], (True, "XdndActionCopy"))
        wait_for(lambda: f"2={path}\r\n" in program.settings(), what="the file in slot 2")


if __name__ == "__main__":
    unittest.main(verbosity=2)
