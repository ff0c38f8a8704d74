#!/usr/bin/env python3
"""Fails when a source file includes a project header from a layer above its
own. The layers point one way:
app -> launcher -> widgets -> gui -> platform -> gfx, settings."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
# The project folders each layer may include (its own folder always).
ALLOWED = {
    "gfx": set(),
    "settings": set(),
    "resources": {"gfx"},
    "platform": {"gfx", "settings"},
    "gui": {"platform", "gfx", "settings"},
    "widgets": {"gui", "gfx", "settings"},
    "launcher": {"widgets", "gui", "gfx", "settings", "resources"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')


def violations():
    for layer, allowed in ALLOWED.items():
        for path in sorted((ROOT / layer).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match[1] != layer and match[1] in ALLOWED and match[1] not in allowed:
                    yield f"{path.relative_to(ROOT)}:{number}: {layer}/ includes {match[1]}/"


def main():
    found = list(violations())
    for line in found:
        print(line, file=sys.stderr)
    if found:
        print(f"{len(found)} include(s) against the direction of the layers", file=sys.stderr)
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
