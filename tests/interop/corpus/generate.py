#!/usr/bin/env python3
"""Writes the interchange corpus: RTF files made by other word processors.

src/ holds the hand-written sources: flat ODT (.fodt) for LibreOffice, HTML for
AbiWord, Markdown and HTML for pandoc, and templates (*.in) for documents that
embed the pictures.  This script draws the pictures, fills the templates and
converts each source with the program it is named after:

    lo-*.fodt        soffice --headless --convert-to rtf   (one call for all)
    abiword-*.html   abiword --to=rtf
    pandoc-*.md|html pandoc -s -t rtf
    *.rtf.in         the picture data filled in, nothing else changed

The Word- and RichEdit-shaped files (word-*.rtf, richedit-*.rtf) next to this
script are written by hand and left alone, except those made from templates.

Usage: generate.py [lo|abiword|pandoc|rtf ...]   (default: everything)
The outputs are committed, so the tests never need these programs.
"""
import base64
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "src")


def png(width, height, rows):
    """A truecolour PNG from rows of (r, g, b) tuples."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def stripes_png():
    """6 x 4 pixels: red, green and blue stripes, a white bottom row."""
    colours = [(220, 30, 30), (220, 30, 30), (30, 160, 60), (30, 160, 60), (30, 60, 200), (30, 60, 200)]
    rows = [colours] * 3 + [[(255, 255, 255)] * 6]
    return png(6, 4, rows)


def wmf():
    """A Windows metafile (no placeable header, as RTF holds it): a filled rectangle, 100 x 50 units."""
    def rec(function, *words):
        return struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dH" % len(words), *words)
    records = [
        rec(0x020B, 0, 0),                                   # SETWINDOWORG y, x
        rec(0x020C, 50, 100),                                # SETWINDOWEXT h, w
        rec(0x02FC, 0, 0x3C14, 0x00DC, 0),                   # CREATEBRUSHINDIRECT solid, colour 0x00DC3C14
        rec(0x012D, 0),                                      # SELECTOBJECT 0
        rec(0x041B, 50, 100, 0, 0),                          # RECTANGLE bottom, right, top, left
        rec(0x0000),                                         # EOF
    ]
    body = b"".join(records)
    size_words = (18 + len(body)) // 2
    max_record = max(len(r) for r in records) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, size_words, 1, max_record, 0)
    return header + body


def emf():
    """An enhanced metafile: a filled rectangle, 2 cm x 1 cm."""
    records = [
        struct.pack("<IIIIII", 39, 24, 1, 0, 0x00208040, 0),  # CREATEBRUSHINDIRECT ihBrush=1, solid, green
        struct.pack("<III", 37, 12, 1),                       # SELECTOBJECT 1
        struct.pack("<II4i", 43, 24, 0, 0, 75, 37),           # RECTANGLE
        struct.pack("<IIIII", 14, 20, 0, 16, 20),             # EOF
    ]
    total = 88 + sum(len(r) for r in records)
    header = struct.pack("<II4i4iIIIIHHIII2i2i",
                         1, 88, 0, 0, 75, 37, 0, 0, 2000, 1000,
                         0x464D4520, 0x10000, total, len(records) + 1, 2, 0, 0, 0, 0,
                         1024, 768, 270, 203)
    return header + b"".join(records)


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def make_pictures():
    write_if_changed(os.path.join(SRC, "stripes.png"), stripes_png())
    write_if_changed(os.path.join(SRC, "shape.wmf"), wmf())
    write_if_changed(os.path.join(SRC, "shape.emf"), emf())
    jpeg = os.path.join(SRC, "photo.jpg")
    if not os.path.exists(jpeg):   # ImageMagick's output varies by version: keep the committed one
        subprocess.run(["convert", "-size", "16x12", "gradient:#3060c0-#f0c020",
                        "-quality", "60", "-strip", jpeg], check=True)


def picture(name):
    with open(os.path.join(SRC, name), "rb") as f:
        return f.read()


def expand(data):
    """Replaces @BASE64:file@, @HEX:file@ (128 digits a line) and @BIN:file@ (\\binN and raw bytes)."""
    def value(match):
        kind, blob = match.group(1), picture(match.group(2).decode())
        if kind == b"BASE64":
            return base64.b64encode(blob)
        if kind == b"HEX":
            digits = blob.hex().encode()
            return b"\n".join(digits[i:i + 128] for i in range(0, len(digits), 128))
        return b"\\bin%d " % len(blob) + blob
    return re.sub(rb"@(BASE64|HEX|BIN):([\w.-]+)@", value, data)


def sources(prefix, *suffixes):
    return sorted(n for n in os.listdir(SRC) if n.startswith(prefix) and n.endswith(suffixes))


def out_name(name):
    for suffix in (".fodt.in", ".rtf.in", ".fodt", ".html", ".md"):
        if name.endswith(suffix):
            return name[:-len(suffix)] + ".rtf"
    raise ValueError(name)


def libreoffice(work):
    names = sources("lo-", ".fodt", ".fodt.in")
    inputs = []
    for name in names:
        with open(os.path.join(SRC, name), "rb") as f:
            data = expand(f.read())
        path = os.path.join(work, name[:-3] if name.endswith(".in") else name)
        with open(path, "wb") as f:
            f.write(data)
        inputs.append(path)
    profile = "file://" + os.path.join(work, "profile")
    subprocess.run(["soffice", "--headless", "-env:UserInstallation=" + profile,
                    "--convert-to", "rtf", "--outdir", HERE] + inputs,
                   check=True, stdout=subprocess.DEVNULL, timeout=600)


def abiword(work):
    for name in sources("abiword-", ".html"):
        out = os.path.join(HERE, out_name(name))
        subprocess.run(["abiword", "--to=rtf", "-o", out, name], cwd=SRC, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                       env=dict(os.environ, HOME=work))


def pandoc(work):
    for name in sources("pandoc-", ".md", ".html"):
        out = os.path.join(HERE, out_name(name))
        subprocess.run(["pandoc", "-s", "-t", "rtf", "-o", out, name], cwd=SRC, check=True, timeout=120)


def templates(work):
    for name in sources("", ".rtf.in"):
        with open(os.path.join(SRC, name), "rb") as f:
            write_if_changed(os.path.join(HERE, out_name(name)), expand(f.read()))


def main(argv):
    steps = {"rtf": templates, "lo": libreoffice, "abiword": abiword, "pandoc": pandoc}
    wanted = argv or list(steps)
    unknown = [w for w in wanted if w not in steps]
    if unknown:
        sys.exit(__doc__)
    make_pictures()
    with tempfile.TemporaryDirectory() as work:
        for step in wanted:
            steps[step](work)


if __name__ == "__main__":
    main(sys.argv[1:])
