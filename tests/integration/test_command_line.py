"""The program's command line without a display: a start without a
display says why in the user's language, through the catalogs of the build
folder. And every message the sources look up has its Japanese text in
po/ja.po."""

import os
import re
import subprocess
import unittest

EXE = os.environ["SORIMO_EXE"]
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Messages(unittest.TestCase):
    def run_without_display(self, display, **language):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
        env.update(language)
        if display is not None:
            env["DISPLAY"] = display
        return subprocess.run([EXE], env=env, capture_output=True, text=True, timeout=30)

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

    def test_every_message_looked_up_in_the_sources_is_in_the_japanese_catalog(self):
        with open(os.path.join(SOURCE, "po", "ja.po"), encoding="utf-8") as f:
            catalog = set(re.findall(r'^msgid "(.+)"$', f.read(), re.M))
        looked_up = set()
        for folder in ("app", "launcher", "widgets", "gui", "platform", "gfx", "settings", "i18n", "resources"):
            for root, _, files in os.walk(os.path.join(SOURCE, folder)):
                for name in files:
                    if name.endswith((".cpp", ".h")):
                        with open(os.path.join(root, name), encoding="utf-8") as f:
                            looked_up |= set(re.findall(r'\bTr\("((?:[^"\\]|\\.)*)"\)', f.read()))
        self.assertGreater(len(looked_up), 10)
        self.assertEqual(looked_up - catalog, set())


if __name__ == "__main__":
    unittest.main(verbosity=2)
