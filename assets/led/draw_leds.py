#!/usr/bin/env python3
"""Draws the twelve LED lamp pictures as 4-bit BMP files with the standard 16-colour palette.

Run from anywhere: python3 draw_leds.py [output directory]. Only the standard library is used.

The widget recolours the pictures by flood fill, which binds the artwork:
- the lit area is pure lime, one 4-connected area that contains the picture's centre pixel,
  with a few white highlight pixels;
- a bezel (grey at top-left, white at bottom-right) separates the lamp from the surround, so the
  surround fill never leaks into the lamp;
- "B" pictures: a 3-D frame, white at top and left and grey at bottom and right, on silver;
- "N" pictures: plain silver reaching the corner (0, 0).
"""

import os
import struct
import sys

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GRAY, LIME, WHITE = 0, 7, 8, 10, 15

# name: (width, height, shape)
STYLES = {
    "SM": (16, 16, "round"),
    "LG": (22, 22, "round"),
    "SQSM": (16, 16, "square"),
    "SQLG": (22, 22, "square"),
    "VT": (16, 22, "bar"),
    "HZ": (22, 16, "bar"),
}


def inside(shape, x, y, box):
    """Whether pixel (x, y) lies in the lamp shape fitted into box (left, top, right, bottom),
    all inclusive."""
    left, top, right, bottom = box
    if not (left <= x <= right and top <= y <= bottom):
        return False
    if shape == "square":
        return True
    cx, cy = (left + right) / 2, (top + bottom) / 2
    rx, ry = (right - left + 1) / 2, (bottom - top + 1) / 2
    if shape == "round":
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    # bar: a rectangle with its four corner pixels cut off
    corner = (x in (left, right)) and (y in (top, bottom))
    return not corner


def draw(width, height, shape, bordered):
    px = [[SILVER] * width for _ in range(height)]
    if bordered:
        for x in range(width):
            px[0][x] = WHITE
            px[height - 1][x] = GRAY
        for y in range(height):
            px[y][0] = WHITE
            px[y][width - 1] = GRAY
        px[0][width - 1] = GRAY
        px[height - 1][0] = GRAY
        margin = 3
    else:
        margin = 1
    box = (margin, margin, width - 1 - margin, height - 1 - margin)
    inner = (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1)
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    for y in range(height):
        for x in range(width):
            if not inside(shape, x, y, box):
                continue
            if inside(shape, x, y, inner):
                # the inner shape must be bounded by the bezel on every side
                lit = all(inside(shape, nx, ny, box)
                          for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                if lit:
                    px[y][x] = LIME
                    continue
            px[y][x] = GRAY if (x - cx) + (y - cy) < 0 else WHITE
    # highlight: a short diagonal glint in the upper-left quarter of the lit area
    lit = [(x, y) for y in range(height) for x in range(width) if px[y][x] == LIME]
    lx = min(x for x, _ in lit)
    ly = min(y for _, y in lit)
    hx = lx + max(1, (int(cx) - lx) // 2)
    hy = ly + max(1, (int(cy) - ly) // 2)
    for x, y in ((hx, hy), (hx + 1, hy), (hx, hy + 1)):
        if px[y][x] == LIME:
            px[y][x] = WHITE
    check(px, width, height)
    return px


def check(px, width, height):
    """The recolouring needs one connected lime area containing the centre."""
    start = (width // 2, height // 2)
    assert px[start[1]][start[0]] == LIME, "centre is not lime"
    seen, stack = {start}, [start]
    while stack:
        x, y = stack.pop()
        for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
            if 0 <= nx < width and 0 <= ny < height and (nx, ny) not in seen \
                    and px[ny][nx] == LIME:
                seen.add((nx, ny))
                stack.append((nx, ny))
    total = sum(row.count(LIME) for row in px)
    assert len(seen) == total, "lime area is not connected"


def write_bmp(path, px):
    height, width = len(px), len(px[0])
    row_bytes = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom-up rows
        row = bytearray(row_bytes)
        for x in range(width):
            if x % 2 == 0:
                row[x // 2] |= px[y][x] << 4
            else:
                row[x // 2] |= px[y][x]
        pixels += row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, (width, height, shape) in STYLES.items():
        for prefix, bordered in (("B", True), ("N", False)):
            write_bmp(os.path.join(out, prefix + name + ".bmp"), draw(width, height, shape, bordered))


if __name__ == "__main__":
    main()
