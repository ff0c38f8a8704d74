"""The program's command line without a display: sorimo --autostart on|off
writes the session's autostart entry for this executable (also from a
folder whose name needs quoting), valid for desktop-file-validate, and
removes it again; a start without a display says why in the user's
language, through the catalogs of the build folder. And every message the
sources look up has its Japanese text in po/ja.po."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

EXE = os.environ["SORIMO_EXE"]
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STRING_ESCAPES = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}


def read_entry(path):
    """The keys of a desktop entry's main group, string escapes undone."""
    keys = {}
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines()[1:]:
            key, value = line.split("=", 1)
            keys[key] = re.sub(r"\\(.)", lambda m: STRING_ESCAPES.get(m[1], "\\" + m[1]), value)
    return keys


def exec_argv(value):
    """An Exec value as the program and its arguments: arguments part at
    spaces; inside double quotes a backslash makes the next of " ` $ \\
    plain; %% stands for %."""
    argv, arg, quoted, i = [], None, False, 0
    value = value.replace("%%", "%")
    while i < len(value):
        c = value[i]
        if quoted and c == "\\" and i + 1 < len(value) and value[i + 1] in "\"`$\\":
            arg, i = (arg or "") + value[i + 1], i + 2
            continue
        if c == '"':
            quoted, arg = not quoted, arg or ""
        elif c == " " and not quoted:
            if arg is not None:
                argv.append(arg)
            arg = None
        else:
            arg = (arg or "") + c
        i += 1
    if arg is not None:
        argv.append(arg)
    return argv


class Autostart(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="sorimo-autostart-")
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.env["XDG_CONFIG_HOME"] = os.path.join(self.scratch, "config")
        self.entry = os.path.join(self.scratch, "config", "autostart", "sorimo.desktop")

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def sorimo(self, exe, *args):
        return subprocess.run([exe, *args], env=self.env, capture_output=True, text=True, timeout=30)

    def test_on_writes_a_valid_entry_starting_this_executable_and_off_removes_it(self):
        for folder in ("plain", "with space", "odd $`\"\\' % chars"):
            with self.subTest(folder=folder):
                exe = os.path.join(self.scratch, folder, "sorimo")
                os.makedirs(os.path.dirname(exe))
                shutil.copy2(EXE, exe)
                result = self.sorimo(exe, "--autostart", "on")
                self.assertEqual(result.returncode, 0, result.stderr)
                keys = read_entry(self.entry)
                self.assertEqual(exec_argv(keys["Exec"]), [exe])
                self.assertEqual(keys["X-KDE-autostart-after"], "panel")
                self.assertEqual(keys["X-LXQt-Need-Tray"], "true")
                self.assertGreater(int(keys["X-GNOME-Autostart-Delay"]), 0)
                if shutil.which("desktop-file-validate"):
                    check = subprocess.run(["desktop-file-validate", self.entry], capture_output=True, text=True)
                    self.assertEqual((check.returncode, check.stdout), (0, ""), check.stderr)
                self.assertEqual(os.listdir(os.path.dirname(self.entry)), ["sorimo.desktop"])

        self.assertEqual(self.sorimo(EXE, "--autostart", "off").returncode, 0)
        self.assertFalse(os.path.exists(self.entry))
        # Off when it is already off is no fault.
        self.assertEqual(self.sorimo(EXE, "--autostart", "off").returncode, 0)

    def test_an_entry_that_cannot_be_written_is_an_error_saying_where(self):
        os.makedirs(os.path.dirname(self.env["XDG_CONFIG_HOME"]), exist_ok=True)
        with open(self.env["XDG_CONFIG_HOME"], "w"):
            pass  # a file where the configuration folder should be
        result = self.sorimo(EXE, "--autostart", "on")
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stderr.startswith("sorimo: "), result.stderr)
        self.assertIn(self.env["XDG_CONFIG_HOME"], result.stderr)


class Messages(unittest.TestCase):
    def run_without_display(self, display, *args, **language):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
        env.update(language)
        if display is not None:
            env["DISPLAY"] = display
        return subprocess.run([EXE, *args], env=env, capture_output=True, text=True, timeout=30)

    def free_display(self):
        number = next(n for n in range(250, 300) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        return f":{number}"

    def test_no_display_is_told_apart_from_one_that_does_not_answer_in_the_users_language(self):
        silent = self.free_display()
        cases = [
            (None, {"LANG": "C"}, "sorimo: Cannot open the X display: DISPLAY is not set.\n"),
            ("", {}, "sorimo: Cannot open the X display: DISPLAY is not set.\n"),
            (silent, {"LC_ALL": "C"}, f"sorimo: Cannot open the X display {silent}: it does not answer.\n"),
            (None, {"LC_ALL": "C.UTF-8", "LANGUAGE": "de"}, "sorimo: Cannot open the X display: DISPLAY is not set.\n"),
        ]
        if "ja_JP.utf8" in subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout:
            cases += [
                (None, {"LANG": "ja_JP.UTF-8"}, "sorimo: X ディスプレイを開けません: DISPLAY が設定されていません。\n"),
                (silent, {"LC_MESSAGES": "ja_JP.UTF-8"}, f"sorimo: X ディスプレイ {silent} を開けません: 応答がありません。\n"),
            ]
        for display, language, expected in cases:
            with self.subTest(display=display, language=language):
                result = self.run_without_display(display, **language)
                self.assertEqual((result.returncode, result.stderr), (1, expected))

    def test_the_help_and_the_usage_are_in_the_users_language(self):
        cases = [({"LANG": "C"}, "Usage: sorimo [--toggle]\n", "sorimo: unknown argument '-x'\n"
                  "Usage: sorimo [--toggle | --autostart on|off | --help | --version]\n")]
        if "ja_JP.utf8" in subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout:
            cases.append(({"LANG": "ja_JP.UTF-8"}, "使い方: sorimo [--toggle]\n", "sorimo: 不明な引数 '-x'\n"
                          "使い方: sorimo [--toggle | --autostart on|off | --help | --version]\n"))
        for language, help_start, usage in cases:
            with self.subTest(language=language):
                result = self.run_without_display(None, "--help", **language)
                self.assertEqual(result.returncode, 0)
                self.assertTrue(result.stdout.startswith(help_start), result.stdout)
                self.assertTrue(all(len(line.encode("euc-jp")) <= 80 for line in result.stdout.splitlines()),
                                result.stdout)  # within 80 columns: a Japanese character takes two
                result = self.run_without_display(None, "-x", **language)
                self.assertEqual((result.returncode, result.stderr), (2, usage))

    def test_every_message_looked_up_in_the_sources_is_in_the_japanese_catalog(self):
        with open(os.path.join(SOURCE, "po", "ja.po"), encoding="utf-8") as f:
            catalog = set(re.findall(r'^msgid "(.+)"$', f.read(), re.M))
        looked_up = set()
        for folder in ("app", "launcher", "widgets", "gui", "platform", "gfx", "settings", "i18n", "resources"):
            for root, _, files in os.walk(os.path.join(SOURCE, folder)):
                for name in files:
                    if name.endswith((".cpp", ".h")):
                        with open(os.path.join(root, name), encoding="utf-8") as f:
                            # A message may be written as adjacent literals.
                            for literals in re.findall(r'\bTr\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*\)', f.read()):
                                looked_up.add("".join(re.findall(r'"((?:[^"\\]|\\.)*)"', literals)))
        self.assertGreater(len(looked_up), 10)
        self.assertEqual(looked_up - catalog, set())


if __name__ == "__main__":
    unittest.main(verbosity=2)
