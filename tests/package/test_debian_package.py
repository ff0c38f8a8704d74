"""The Debian package that cpack makes from the build folder: Debian's name,
the files a desktop program brings, and no error or warning from lintian,
appstreamcli or desktop-file-validate."""

import os
import shutil
import subprocess
import tempfile
import unittest

BUILD = os.environ["SORIMO_BUILD_DIR"]
VERSION = os.environ["SORIMO_VERSION"]
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="sorimo-deb-")
        cls.addClassCleanup(shutil.rmtree, cls.scratch, ignore_errors=True)
        subprocess.run(["cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.scratch],
                       check=True, capture_output=True)
        arch = run("dpkg", "--print-architecture").stdout.strip()
        cls.deb = os.path.join(cls.scratch, f"sorimo_{VERSION}-1_{arch}.deb")
        cls.tree = os.path.join(cls.scratch, "tree")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.tree], check=True)

    def test_package_holds_the_files_of_a_desktop_program(self):
        usr = os.path.join(self.tree, "usr")
        expected = ["bin/sorimo", "share/man/man1/sorimo.1.gz", "share/doc/sorimo/copyright",
                    "share/doc/sorimo/changelog.Debian.gz", "share/applications/sorimo.desktop",
                    "share/metainfo/io.github.sorimo.sorimo.metainfo.xml", "share/sorimo/installed",
                    "share/locale/ja/LC_MESSAGES/sorimo.mo"]
        expected += [f"share/icons/hicolor/{n}x{n}/apps/sorimo.png" for n in ICON_SIZES]
        for path in expected:
            self.assertTrue(os.path.isfile(os.path.join(usr, path)), path)
        with open(os.path.join(usr, "share/doc/sorimo/copyright")) as f:
            copyright = f.read()
        self.assertIn("License: Expat", copyright)
        self.assertIn("THE SOFTWARE IS PROVIDED \"AS IS\"", copyright)
        control = run("dpkg-deb", "--field", self.deb).stdout
        self.assertIn("Section: utils", control)
        self.assertIn("Maintainer: The Sorimo developers <", control)

    def test_lintian_finds_no_error_and_no_warning(self):
        result = run("lintian", "--fail-on", "error,warning", self.deb)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        complaints = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:")]
        self.assertEqual(complaints, [])

    def test_desktop_files_pass_their_validators(self):
        metainfo = os.path.join(self.tree, "usr/share/metainfo/io.github.sorimo.sorimo.metainfo.xml")
        result = run("appstreamcli", "validate", "--no-net", metainfo)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        result = run("desktop-file-validate", os.path.join(self.tree, "usr/share/applications/sorimo.desktop"))
        self.assertEqual((result.returncode, result.stdout), (0, ""), result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
