"""The Windows download: the zip that cpack makes from the build folder holds
Sorimo.exe, the licence and the read-me in one folder; the program needs no
DLL of its own beside it and carries its manifest, version and icons."""

import os
import shutil
import subprocess
import tempfile
import unittest
import zipfile

BUILD = os.environ["SORIMO_BUILD_DIR"]
VERSION = os.environ["SORIMO_VERSION"]
OBJDUMP = os.environ["SORIMO_OBJDUMP"]
# DLLs that every Windows has; anything else would have to ship beside the exe.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comdlg32.dll",
               "ole32.dll", "advapi32.dll", "msvcrt.dll"}


class WindowsZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="sorimo-zip-")
        subprocess.run(["cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.scratch],
                       check=True, capture_output=True)
        cls.top = f"Sorimo-{VERSION}-win64"
        cls.zip_path = os.path.join(cls.scratch, cls.top + ".zip")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def test_zip_is_named_after_the_version_and_holds_the_exe_the_licence_and_the_read_me(self):
        with zipfile.ZipFile(self.zip_path) as z:
            files = sorted(n for n in z.namelist() if not n.endswith("/"))
            self.assertEqual(files, [f"{self.top}/LICENSE.txt", f"{self.top}/ReadMe.txt", f"{self.top}/Sorimo.exe"])
            readme = z.read(f"{self.top}/ReadMe.txt").decode("ascii")
            licence = z.read(f"{self.top}/LICENSE.txt").decode("ascii")
        # Notepad of older Windows shows a file with bare LF line ends as one line.
        for text in (readme, licence):
            self.assertNotIn("\n", text.replace("\r\n", ""))
        for topic in ("Sorimo.exe", "Sorimo.INI", "notification area", "double-click", "--toggle",
                      "--autostart on", "--autostart off", "CurrentVersion\\Run", "LICENSE.txt"):
            self.assertIn(topic, readme)
        self.assertIn("MIT License", licence)
        self.assertIn("Copyright (c) 2026 The Sorimo developers", licence)

    def test_exe_carries_its_manifest_version_and_icons(self):
        with zipfile.ZipFile(self.zip_path) as z:
            exe = z.read(f"{self.top}/Sorimo.exe")
        # The manifest is stored as it is written (UTF-8).
        for part in (b"supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"",  # 10, 11
                     b"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", b"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                     b"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", b"Microsoft.Windows.Common-Controls",
                     b"version=\"6.0.0.0\"", b"level=\"asInvoker\"", b"PerMonitorV2"):
            self.assertIn(part, exe)
        # Version strings are UTF-16: an English block beside the Japanese one.
        for text in ("040904B0", "041104B0", "CompanyName", "The Sorimo developers", "LegalCopyright",
                     "MIT licence", f"{VERSION}"):
            self.assertIn(text.encode("utf-16-le"), exe)
        # The icon group: one entry per size (GRPICONDIRENTRY: width, height, ...; 0 stands for 256).
        group = exe.find(bytes([0, 0, 1, 0, 5, 0]))
        self.assertGreater(group, 0, "no icon group of five sizes")
        sizes = sorted(exe[group + 6 + 14 * i] or 256 for i in range(5))
        self.assertEqual(sizes, [16, 24, 32, 48, 256])

    def test_exe_imports_only_dlls_of_windows_itself(self):
        with zipfile.ZipFile(self.zip_path) as z:
            exe = z.extract(f"{self.top}/Sorimo.exe", self.scratch)
        dump = subprocess.run([OBJDUMP, "-p", exe], check=True, capture_output=True, text=True).stdout
        imported = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
                    if line.strip().startswith("DLL Name:")}
        self.assertIn("kernel32.dll", imported)
        self.assertEqual(imported - SYSTEM_DLLS, set())


if __name__ == "__main__":
    unittest.main(verbosity=2)
