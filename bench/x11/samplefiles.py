"""Twenty-eight real files of different kinds for the launcher's slots, so
that start-up goes through every path of the icon lookup: content types
that GIO guesses from names and from contents, folders, executables,
desktop entries with theme icons, a symbolic link, a file with no name
extension."""

import io
import os
import shutil
import stat
import struct
import tarfile
import zipfile
import zlib


def _png(width=16, height=16):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\x00" + bytes([x * 16 % 256, 128, 200]) * width for x in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def _pdf():
    return (b"%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
            b"2 0 obj << /Type /Pages /Kids [] /Count 0 >> endobj\n"
            b"trailer << /Root 1 0 R >>\n%%EOF\n")


def _zip(entries):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name, data in entries:
            archive.writestr(name, data)
    return buffer.getvalue()


def _desktop_entry(name, icon, command):
    return (f"[Desktop Entry]\nType=Application\nName={name}\nIcon={icon}\nExec={command}\n"
            "Terminal=false\n").encode()


def _tar(folder, name, source, gzip):
    path = os.path.join(folder, name)
    with tarfile.open(path, "w:gz" if gzip else "w") as archive:
        archive.add(source, arcname=os.path.basename(source))
    return path


def make_sample_files(folder):
    """Creates the files in `folder` and returns their 28 paths in slot order."""
    os.makedirs(folder)
    contents = [
        ("notes.txt", "テキストのメモ\nplain text\n".encode()),
        ("picture.png", _png()),
        ("photo.jpg", b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xd9"),
        ("manual.pdf", _pdf()),
        ("page.html", b"<!DOCTYPE html><html><head><title>page</title></head><body>hi</body></html>\n"),
        ("editor.desktop", _desktop_entry("Editor", "accessories-text-editor", "true %F")),
        ("terminal.desktop", _desktop_entry("Terminal", "utilities-terminal", "true")),
        ("data.csv", b"name,value\na,1\nb,2\n"),
        ("config.json", b'{"key": [1, 2, 3]}\n'),
        ("source.c", b"#include <stdio.h>\nint main(void) { return 0; }\n"),
        ("script.py", b"print('not executable')\n"),
        ("archive.zip", _zip([("a.txt", b"a")])),
        ("letter.odt", _zip([("mimetype", b"application/vnd.oasis.opendocument.text")])),
        ("drawing.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"><rect width="8" height="8"/></svg>\n'),
        ("song.mp3", b"ID3\x03\x00\x00\x00\x00\x00\x00" + b"\x00" * 64),
        ("movie.mp4", struct.pack(">I", 24) + b"ftypisom\x00\x00\x02\x00isomiso2"),
        ("readme.md", b"# Read me\n"),
        ("data.xml", b'<?xml version="1.0"?><data/>\n'),
        ("styles.css", b"body { color: black; }\n"),
        ("app.log", b"started\n"),
        ("Makefile", b"all:\n\ttrue\n"),
    ]
    paths = []
    for name, data in contents:
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data)
        paths.append(path)

    script = os.path.join(folder, "run.sh")
    with open(script, "w") as f:
        f.write("#!/bin/sh\necho run\n")
    os.chmod(script, 0o755)
    program = os.path.join(folder, "program")
    shutil.copy(shutil.which("true"), program)  # an ELF executable
    os.chmod(program, os.stat(program).st_mode | stat.S_IXUSR)
    documents = os.path.join(folder, "Documents")
    os.makedirs(documents)
    music = os.path.join(folder, "Music")
    os.makedirs(music)
    link = os.path.join(folder, "link-to-notes")
    os.symlink(paths[0], link)
    paths += [script, program, documents, music, link,
              _tar(folder, "bundle.tar.gz", documents, gzip=True),
              _tar(folder, "backup.tar", music, gzip=False)]
    assert len(paths) == 28, len(paths)
    return paths
