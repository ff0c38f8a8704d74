"""The Windows download: the zip that cpack makes from the build folder holds
Sorimo.exe and the read-me in one folder, and the program needs no DLL of
its own beside it."""

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

    def test_zip_is_named_after_the_version_and_holds_the_exe_and_the_read_me(self):
        with zipfile.ZipFile(self.zip_path) as z:
            files = sorted(n for n in z.namelist() if not n.endswith("/"))
            self.assertEqual(files, [f"{self.top}/ReadMe.txt", f"{self.top}/Sorimo.exe"])
            readme = z.read(f"{self.top}/ReadMe.txt").decode("ascii")
        # Notepad of older Windows shows a file with bare LF line ends as one line.
        self.assertNotIn("\n", readme.replace("\r\n", ""))
        for topic in ("Sorimo.exe", "Sorimo.INI", "notification area", "double-click"):
            self.assertIn(topic, readme)

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
