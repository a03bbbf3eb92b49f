#!/usr/bin/env python3
"""Draw Scribvale's program icon for the desktop at 16, 32 and 48 pixels and
as a scalable SVG.

The 16 px icon is resources/app.xpm itself, written out as a PNG.  The larger
ones are drawn afresh at their size from the same design, described here in
the 16-unit grid of that image: a written page, and a red pen with a gold
band and a grey nib lying across it from the top right corner, its nib
stopping where the last line of writing ends.

Run from anywhere:  python3 packaging/draw_app_icons.py
It rewrites packaging/icons/{16x16,32x32,48x48}/scribvale.png and
packaging/icons/scribvale.svg.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "resources"))
import draw_icons  # noqa: E402  (the 16 px pixel art and the PNG writer)

BLACK = "#000000"
WHITE = "#FFFFFF"
NAVY = "#000080"
GREY = "#808080"
RED = "#FF0000"
DARK_RED = "#800000"
YELLOW = "#FFFF00"
OLIVE = "#808000"

# The page: x 0..12, y 1..16.  Lines of writing: (x0, x1, y) with the line
# one unit high starting at y; the last line is only begun.
PAGE = (0.0, 1.0, 12.0, 16.0)
LINES = [(2, 10, 3), (2, 10, 5), (2, 10, 7), (2, 10, 9), (2, 3, 11)]

# The pen, in its own frame: u runs from the nib's tip towards the top right
# corner, v across it (positive towards the lower right).
TIP = (3.9, 12.3)
HALF = 0.75            # half width of the pen's coloured part
NIB_END = 4.9          # nib 0..NIB_END, band up to BAND_END, body to END
BAND_END = 7.8
END = 16.4


def pen_frame(x, y):
    dx, dy = x - TIP[0], y - TIP[1]
    return (dx - dy) / math.sqrt(2), (dx + dy) / math.sqrt(2)


PEN_OUTLINE = [(0.0, 0.0), (NIB_END, -HALF), (END, -HALF),
               (END, HALF), (NIB_END, HALF)]


def seg_dist(p, a, b):
    ax, ay = a
    bx, by = b
    px, py = p
    vx, vy = bx - ax, by - ay
    t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * vx), py - (ay + t * vy))


def in_convex(p, poly):
    sign = 0
    for i in range(len(poly)):
        a, b = poly[i], poly[(i + 1) % len(poly)]
        cross = (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
        if cross != 0:
            s = 1 if cross > 0 else -1
            if sign and s != sign:
                return False
            sign = s
    return True


def colour_at(x, y, border, outline, line_rows):
    """Colour of the point (x, y) in the 16-unit grid, or None."""
    u, v = pen_frame(x, y)
    p = (u, v)
    if in_convex(p, PEN_OUTLINE):
        if u < NIB_END:
            return GREY
        if u < BAND_END:
            return YELLOW if v < 0 else OLIVE
        return RED if v < 0 else DARK_RED
    if any(seg_dist(p, PEN_OUTLINE[i], PEN_OUTLINE[(i + 1) % 5]) <= outline
           for i in range(5)):
        return BLACK
    x0, y0, x1, y1 = PAGE
    if x0 <= x < x1 and y0 <= y < y1:
        if (x < x0 + border or x >= x1 - border
                or y < y0 + border or y >= y1 - border):
            return BLACK
        for (lx0, lx1, ly0, ly1) in line_rows:
            if lx0 <= x < lx1 and ly0 <= y < ly1:
                return NAVY
        return WHITE
    return None


def render(size, border_px, line_px, outline_px, samples=4):
    scale = size / 16.0
    border = border_px / scale
    outline = outline_px / scale
    # Lines of writing snapped to whole pixels so they stay crisp.
    line_rows = []
    for (lx0, lx1, ly) in LINES:
        top = round(ly * scale)
        line_rows.append((lx0, lx1, top / scale, (top + line_px) / scale))
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / scale
                    y = (py + (sy + 0.5) / samples) / scale
                    c = colour_at(x, y, border, outline, line_rows)
                    if c is not None:
                        r += int(c[1:3], 16)
                        g += int(c[3:5], 16)
                        b += int(c[5:7], 16)
                        a += 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a),
                            round(255 * a / samples ** 2)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def svg_text():
    x0, y0, x1, y1 = PAGE
    border = 0.75
    outline = 0.6
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" '
        'viewBox="0 0 16 16">',
        '  <title>Scribvale</title>',
        '  <!-- a written page -->',
        f'  <rect x="{x0 + border / 2}" y="{y0 + border / 2}" '
        f'width="{x1 - x0 - border}" height="{y1 - y0 - border}" '
        f'fill="{WHITE}" stroke="{BLACK}" stroke-width="{border}"/>',
    ]
    for (lx0, lx1, ly) in LINES:
        out.append(f'  <rect x="{lx0}" y="{ly}" width="{lx1 - lx0}" '
                   f'height="1" fill="{NAVY}"/>')
    pts = " ".join(f"{u:g},{v:g}" for u, v in PEN_OUTLINE)
    out += [
        '  <!-- the pen: nib, band and body -->',
        f'  <g transform="translate({TIP[0]} {TIP[1]}) rotate(-45)">',
        f'    <polygon points="{pts}" fill="{BLACK}" stroke="{BLACK}" '
        f'stroke-width="{2 * outline}" stroke-linejoin="round"/>',
        f'    <polygon points="0,0 {NIB_END},{-HALF} {NIB_END},{HALF}" '
        f'fill="{GREY}"/>',
        f'    <rect x="{NIB_END}" y="{-HALF}" width="{BAND_END - NIB_END:g}" '
        f'height="{HALF}" fill="{YELLOW}"/>',
        f'    <rect x="{NIB_END}" y="0" width="{BAND_END - NIB_END:g}" '
        f'height="{HALF}" fill="{OLIVE}"/>',
        f'    <rect x="{BAND_END}" y="{-HALF}" width="{END - BAND_END:g}" '
        f'height="{HALF}" fill="{RED}"/>',
        f'    <rect x="{BAND_END}" y="0" width="{END - BAND_END:g}" '
        f'height="{HALF}" fill="{DARK_RED}"/>',
        '  </g>',
        '</svg>',
    ]
    return "\n".join(out) + "\n"


def main():
    icons = os.path.join(HERE, "icons")
    for size in (16, 32, 48):
        os.makedirs(os.path.join(icons, f"{size}x{size}"), exist_ok=True)
    draw_icons.write_png(os.path.join(icons, "16x16", "scribvale.png"),
                         draw_icons.rgba(draw_icons.ICONS["app"]))
    # size: (page border, line of writing, pen outline), in pixels
    for size, (border, line, outline) in {32: (2, 2, 1.5),
                                          48: (2, 3, 2)}.items():
        draw_icons.write_png(
            os.path.join(icons, f"{size}x{size}", "scribvale.png"),
            render(size, border, line, outline))
    with open(os.path.join(icons, "scribvale.svg"), "w") as f:
        f.write(svg_text())
    return 0


if __name__ == "__main__":
    sys.exit(main())
