#!/usr/bin/env python3
"""Fails when an include breaks the direction of the layers:

    app -> launcher -> widgets -> gui -> platform -> gfx, settings -> base, i18n

Every include form is resolved to the file it names: "x" beside the
including file or from the root, <x> from the root (every library exports
it), relative paths such as "../../gui/Form.h" included. Besides the
direction:
  - product code includes nothing of app/ (but app itself), tests/,
    tools/ or bench/;
  - inside platform/, a backend (headless, x11, win32, wayland) includes
    support folders and the seam, never another backend, and a support
    folder includes no backend;
  - system headers of a desktop (X11, Win32, POSIX, FreeType, GLib, ...)
    are included only by platform/, the per-platform files of settings/
    and base/ (*Posix.cpp, *Win32.cpp) and of i18n/ (*Gettext.cpp,
    *Win32.cpp) and the per-platform entries of app/ (main_*.cpp);
    everywhere else only the C++ standard library.

    check-layers.py              checks the tree
    check-layers.py --self-test  also proves that it catches broken includes
"""
import os
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCES = (".h", ".hpp", ".cpp", ".cc", ".c")
PRODUCT = ("app", "launcher", "widgets", "gui", "platform", "gfx", "settings", "base", "i18n", "resources")
ANYTHING = ("tests", "tools", "bench")
LAYERS = PRODUCT + ANYTHING
# The project folders each layer may include (its own folder always).
ALLOWED = {
    "app": {"launcher", "widgets", "gui", "platform", "gfx", "settings", "base", "i18n", "resources"},
    "launcher": {"widgets", "gui", "gfx", "settings", "base", "i18n", "resources"},
    "widgets": {"gui", "gfx", "settings", "base", "i18n"},
    "gui": {"platform", "gfx", "settings", "base", "i18n"},
    "platform": {"gfx", "settings", "base", "i18n"},
    "resources": {"gfx", "base", "i18n"},
    "gfx": {"base", "i18n"},
    "settings": {"base", "i18n"},
    "base": set(),
    "i18n": set(),
}
BACKENDS = {"headless", "x11", "win32", "wayland"}
STANDARD = set("""
algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine csetjmp
csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque exception
execution filesystem format forward_list fstream functional future initializer_list iomanip ios iosfwd
iostream istream iterator latch limits list locale map memory memory_resource mutex new numbers numeric
optional ostream queue random ranges ratio regex scoped_allocator semaphore set shared_mutex
source_location span sstream stack stdexcept stop_token streambuf string string_view syncstream
system_error thread tuple type_traits typeindex typeinfo unordered_map unordered_set utility valarray
variant vector version
""".split())
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def may_include_system_headers(relative):
    parts = relative.parts
    name = relative.name
    if parts[0] in ANYTHING or parts[0] == "platform":
        return True
    if parts[0] in ("settings", "base") and re.search(r"(Posix|Win32)\.c(pp)?$", name):
        return True
    if parts[0] == "i18n" and re.search(r"(Gettext|Win32)\.c(pp)?$", name):
        return True
    return parts[0] == "app" and name.startswith("main_")


def resolve(including, quote, name, exists):
    """The project file an include names (relative to the root), or None
    for a header of the system."""
    if quote == '"':
        beside = os.path.normpath(os.path.join(str(including.parent), name))
        if not beside.startswith("..") and exists(pathlib.PurePosixPath(beside)):
            return pathlib.PurePosixPath(beside)
    from_root = os.path.normpath(name)
    if not from_root.startswith("..") and from_root.split("/")[0] in LAYERS:
        return pathlib.PurePosixPath(from_root)
    return None


def platform_part(relative):
    """'seam' for platform/'s own files, 'backend' or 'support', with the folder."""
    if len(relative.parts) < 3:
        return "seam", None
    folder = relative.parts[1]
    return ("backend" if folder in BACKENDS else "support"), folder


def check_include(relative, line, exists):
    match = INCLUDE.match(line)
    if not match:
        return None
    quote, name = match.groups()
    layer = relative.parts[0]
    target = resolve(relative, quote, name, exists)
    if target is None:
        if may_include_system_headers(relative) or name in STANDARD:
            return None
        return f"{layer}/ includes the system header <{name}>"
    target_layer = target.parts[0]
    if layer in ANYTHING:
        return None
    if target_layer != layer and target_layer not in ALLOWED[layer]:
        return f"{layer}/ includes {target}"
    if layer == "platform" and target_layer == "platform":
        kind, folder = platform_part(relative)
        target_kind, target_folder = platform_part(target)
        if target_kind == "backend" and target_folder != folder:
            what = "the backend" if kind == "backend" else "a support folder" if kind == "support" else "the seam"
            return f"{what} platform/{folder or ''} includes the backend platform/{target_folder}"
    return None


def source_files():
    for layer in LAYERS:
        for path in sorted((ROOT / layer).rglob("*")):
            if path.suffix in SOURCES and path.is_file():
                yield pathlib.PurePosixPath(path.relative_to(ROOT).as_posix())


def violations(extra=None):
    """Every broken include of the tree; `extra` maps relative paths to texts
    that stand in for (or add to) files of the tree."""
    extra = extra or {}
    files = set(source_files()) | set(extra)

    def exists(path):
        return path in files or (ROOT / path).exists()

    for relative in sorted(files):
        text = extra.get(relative)
        if text is None:
            text = (ROOT / relative).read_text(errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            problem = check_include(relative, line, exists)
            if problem:
                yield f"{relative}:{number}: {problem}"


# Includes that must be caught, each added to a file of the tree.
BROKEN = [
    ("platform/x11/Broken.cpp", '#include "../../gui/Form.h"'),
    ("platform/x11/Broken.cpp", "#include <gui/Form.h>"),
    ("launcher/Broken.cpp", '#include "app/Sorimo.h"'),
    ("gui/Broken.cpp", '#include "tests/support/TempDir.h"'),
    ("platform/xdg/Broken.cpp", '#include "platform/x11/X11Display.h"'),
    ("platform/x11/Broken.cpp", '#include "platform/win32/Win32Window.h"'),
    ("gui/Broken.cpp", "#include <X11/Xlib.h>"),
    ("gfx/Broken.cpp", '#include "gui/Form.h"'),
    ("widgets/Broken.cpp", "#include <unistd.h>"),
    ("base/Broken.cpp", '#include "settings/IniFile.h"'),
]


def self_test():
    failures = []
    for path, line in BROKEN:
        found = list(violations({pathlib.PurePosixPath(path): line + "\n"}))
        if not any(v.startswith(path + ":") for v in found):
            failures.append(f"not caught: {line} in {path}")
    fine = {pathlib.PurePosixPath("platform/x11/Fine.cpp"): '#include "../common/BlockScaling.h"\n',
            pathlib.PurePosixPath("gui/Fine.cpp"): "#include <vector>\n#include \"platform/Platform.h\"\n"}
    if list(violations(fine)):
        failures.append("allowed includes were refused")
    for failure in failures:
        print(failure, file=sys.stderr)
    return not failures


def main():
    found = list(violations())
    for line in found:
        print(line, file=sys.stderr)
    if found:
        print(f"{len(found)} include(s) against the layers", file=sys.stderr)
        return 1
    if "--self-test" in sys.argv[1:]:
        if not self_test():
            print("the layer check misses broken includes", file=sys.stderr)
            return 1
        print(f"layers: every include points down; the check catches all {len(BROKEN)} broken includes")
        return 0
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
