#!/usr/bin/env python3
"""Draw Scribvale's toolbar and program images as 16 x 16 XPM files.

Each image below is a grid of sixteen strings of sixteen characters; each
character is one pixel, named by the PALETTE key.  '.' is transparent and is
written as the XPM colour None.  Only the classic sixteen colours are used,
and silver (the old mask colour) is never used for a visible pixel.

Run from anywhere:  python3 resources/draw_icons.py
It rewrites every .xpm file in this folder.  With --png DIR it also writes a
PNG of each image (used by packaging/draw_app_icons.py for the 16 px icon).
"""

import os
import sys

PALETTE = {
    ".": None,        # transparent
    "K": "#000000",   # black
    "r": "#800000",   # dark red
    "g": "#008000",   # dark green
    "o": "#808000",   # olive
    "n": "#000080",   # navy
    "p": "#800080",   # purple
    "t": "#008080",   # teal
    "d": "#808080",   # grey
    "R": "#FF0000",   # red
    "L": "#00FF00",   # lime
    "Y": "#FFFF00",   # yellow
    "B": "#0000FF",   # blue
    "M": "#FF00FF",   # magenta
    "A": "#00FFFF",   # aqua
    "W": "#FFFFFF",   # white
}
SILVER = "#C0C0C0"

ICONS = {}

# Program icon: a page being written on, a red pen with a gold band whose
# nib stops where the last line of writing ends.
ICONS["app"] = [
    "..............KK",
    "KKKKKKKKKKKK.KRK",
    "KWWWWWWWWWWKKRrK",
    "KWnnnnnnnnWKRrK.",
    "KWWWWWWWWWKRrK..",
    "KWnnnnnnnKRrK...",
    "KWWWWWWWKYoK....",
    "KWnnnnnKYoKK....",
    "KWWWWWKddKWK....",
    "KWnnnKdKnnWK....",
    "KWWWKKWWWWWK....",
    "KWnKWWWWWWWK....",
    "KWWWWWWWWWWK....",
    "KWWWWWWWWWWK....",
    "KWWWWWWWWWWK....",
    "KKKKKKKKKKKK....",
]

# New: a blank page with its top right corner folded down.
ICONS["new"] = [
    "................",
    "..KKKKKKKK......",
    "..KWWWWWWKK.....",
    "..KWWWWWWKdK....",
    "..KWWWWWWKddK...",
    "..KWWWWWWKKKKK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
]

# Open: a folder whose front flap is falling open, an arrow coming out.
ICONS["open"] = [
    "................",
    "..........KKK...",
    ".........K...K.K",
    "..............KK",
    ".KKKK........KKK",
    "KooooK..........",
    "KoooooKKKKKKK...",
    "KoooooooooooK...",
    "KoooKKKKKKKKKKKK",
    "KooKYYYYYYYYYYK.",
    "KooKYYYYYYYYYK..",
    "KoKYYYYYYYYYYK..",
    "KoKYYYYYYYYYK...",
    "KKYYYYYYYYYYK...",
    "KKKKKKKKKKKK....",
    "................",
]

# Save: a floppy disk, white label above, metal shutter below.
ICONS["save"] = [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWWWWWWWWKKK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnKWWWWWWWWKnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnnnnnnnnnnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnKdWWWWWKnnK.",
    ".KnnKdKKWWWKnnK.",
    ".KnnKdKKWWWKnnK.",
    ".KnnKdWWWWWKnnK.",
    "..KKKKKKKKKKKKK.",
    "................",
]

# Print: a printer with a sheet in the top and a printed sheet in front.
ICONS["print"] = [
    "................",
    "....KKKKKKKK....",
    "....KWWWWWWK....",
    "....KWnnnnWK....",
    "....KWWWWWWK....",
    "..KKKKKKKKKKKK..",
    ".KWWWWWWWWWWWWK.",
    ".KddddddddddLdK.",
    ".KddddddddddddK.",
    ".KKKKKKKKKKKKKK.",
    ".KdKWWWWWWWWKdK.",
    ".KKKWnnnnnnWKKK.",
    "...KWWWWWWWWK...",
    "...KWnnnnnWWK...",
    "...KKKKKKKKKK...",
    "................",
]

# Cut: open scissors, blades up, red finger rings below.
ICONS["cut"] = [
    "................",
    "...K.......K....",
    "...KK.....KK....",
    "...KdK...KdK....",
    "....KK...KK.....",
    "....KdK.KdK.....",
    ".....KKKKK......",
    "......KdK.......",
    ".....RRKRR......",
    ".RRRRR...RRRRR..",
    "RR...RR.RR...RR.",
    "R.....R.R.....R.",
    "RR...RR.RR...RR.",
    ".RRRRR...RRRRR..",
    "................",
    "................",
]

# Copy: two pages, one lying over the other.
ICONS["copy"] = [
    "KKKKKK..........",
    "KWWWWKK.........",
    "KWnnWKWK........",
    "KWWWWKKKK.......",
    "KWnnnnnWK.......",
    "KWWWWWKKKKKK....",
    "KWnnnnKWWWWKK...",
    "KWWWWWKWnnWKWK..",
    "KWnnnnKWWWWKKKK.",
    "KWWWWWKWnnnnnWK.",
    "KKKKKKKWWWWWWWK.",
    "......KWnnnnnWK.",
    "......KWWWWWWWK.",
    "......KWnnnnnWK.",
    "......KWWWWWWWK.",
    "......KKKKKKKKK.",
]

# Paste: a clipboard with a page lying on it.
ICONS["paste"] = [
    "....KKKKK.......",
    ".KKKKdWdKKKK....",
    "KooKdddddKooK...",
    "KoooKKKKKoooK...",
    "KoooooooooooK...",
    "KoooooKKKKKK....",
    "KoooooKWWWWKK...",
    "KoooooKWnnWKWK..",
    "KoooooKWWWWKKKK.",
    "KoooooKWnnnnnWK.",
    "KoooooKWWWWWWWK.",
    "KoooooKWnnnnnWK.",
    "KoooooKWWWWWWWK.",
    "KoooooKWnnnnnWK.",
    "KKKKKKKWWWWWWWK.",
    "......KKKKKKKKK.",
]

# Bold: a heavy capital B.
ICONS["bold"] = [
    "................",
    "................",
    "...KKKKKKKKK....",
    "....KKK...KKK...",
    "....KKK...KKK...",
    "....KKK...KKK...",
    "....KKK..KKK....",
    "....KKKKKKK.....",
    "....KKK...KKK...",
    "....KKK....KKK..",
    "....KKK....KKK..",
    "....KKK....KKK..",
    "....KKK...KKK...",
    "...KKKKKKKKK....",
    "................",
    "................",
]

# Italic: a slanted capital I with serifs.
ICONS["italic"] = [
    "................",
    "................",
    ".......KKKKKK...",
    ".........KK.....",
    ".........KK.....",
    "........KK......",
    "........KK......",
    "........KK......",
    ".......KK.......",
    ".......KK.......",
    ".......KK.......",
    "......KK........",
    "......KK........",
    "....KKKKKK......",
    "................",
    "................",
]

# Underline: a capital U with a rule beneath it.
ICONS["underline"] = [
    "................",
    "...KKKK..KKKK...",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    "....KK....KK....",
    ".....KK..KK.....",
    "......KKKK......",
    "................",
    "...KKKKKKKKKK...",
    "................",
    "................",
]

# Paragraph alignment: lines of text pushed left, centred, pushed right.
ICONS["alignleft"] = [
    "................",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".KKKKKKKK.......",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".KKKKKKKKKK.....",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".KKKKKKKK.......",
    "................",
    "................",
    "................",
]

ICONS["center"] = [
    "................",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    "....KKKKKKKK....",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    "...KKKKKKKKKK...",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    "....KKKKKKKK....",
    "................",
    "................",
    "................",
]

ICONS["alignright"] = [
    "................",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".......KKKKKKKK.",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".....KKKKKKKKKK.",
    "................",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".......KKKKKKKK.",
    "................",
    "................",
    "................",
]

ORDER = ["app", "new", "open", "save", "print", "cut", "copy", "paste",
         "bold", "italic", "underline", "alignleft", "center", "alignright"]


def check(name, rows):
    if len(rows) != 16:
        raise ValueError(f"{name}: {len(rows)} rows, want 16")
    for i, row in enumerate(rows):
        if len(row) != 16:
            raise ValueError(f"{name}: row {i} has {len(row)} pixels, want 16")
        for ch in row:
            if ch not in PALETTE:
                raise ValueError(f"{name}: row {i} uses unknown key {ch!r}")
    used = sorted({ch for row in rows for ch in row})
    if len(used) > 16:
        raise ValueError(f"{name}: {len(used)} colours, at most 16")
    if any(PALETTE[ch] == SILVER for ch in used):
        raise ValueError(f"{name}: silver is the mask colour, not for pixels")


def xpm_text(name, rows):
    used = sorted({ch for row in rows for ch in row})
    lines = ["/* XPM */", f"static const char *const {name}_xpm[] = {{",
             f'"16 16 {len(used)} 1",']
    for ch in used:
        colour = PALETTE[ch] or "None"
        lines.append(f'"{ch} c {colour}",')
    for i, row in enumerate(rows):
        lines.append(f'"{row}"' + ("," if i < 15 else ""))
    lines.append("};")
    return "\n".join(lines) + "\n"


def rgba(rows):
    """Rows of (r, g, b, a) tuples for one image."""
    out = []
    for row in rows:
        line = []
        for ch in row:
            colour = PALETTE[ch]
            if colour is None:
                line.append((0, 0, 0, 0))
            else:
                line.append((int(colour[1:3], 16), int(colour[3:5], 16),
                             int(colour[5:7], 16), 255))
        out.append(line)
    return out


def write_png(path, pixels):
    """Write RGBA pixel rows as a PNG, using only the standard library."""
    import struct
    import zlib

    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for px in row:
            raw.extend(px)

    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body
                + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height,
                                           8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def contact_sheet(path, scale=8, gap=8, per_row=7):
    """All images enlarged, on a checkerboard that shows transparency."""
    cell = 16 * scale
    cols = per_row
    nrows = (len(ORDER) + cols - 1) // cols
    width = cols * cell + (cols + 1) * gap
    height = nrows * cell + (nrows + 1) * gap
    sheet = [[(255, 255, 255, 255)] * width for _ in range(height)]
    for index, name in enumerate(ORDER):
        ox = gap + (index % cols) * (cell + gap)
        oy = gap + (index // cols) * (cell + gap)
        px = rgba(ICONS[name])
        for y in range(cell):
            for x in range(cell):
                r, g, b, a = px[y // scale][x // scale]
                if a == 0:
                    shade = 210 if ((x // 8) + (y // 8)) % 2 else 235
                    sheet[oy + y][ox + x] = (shade, shade, shade, 255)
                else:
                    sheet[oy + y][ox + x] = (r, g, b, 255)
    write_png(path, sheet)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    for name in ORDER:
        check(name, ICONS[name])
        with open(os.path.join(here, name + ".xpm"), "w") as f:
            f.write(xpm_text(name, ICONS[name]))
    if "--png" in argv:
        outdir = argv[argv.index("--png") + 1]
        os.makedirs(outdir, exist_ok=True)
        for name in ORDER:
            write_png(os.path.join(outdir, name + ".png"), rgba(ICONS[name]))
    if "--sheet" in argv:
        contact_sheet(argv[argv.index("--sheet") + 1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
