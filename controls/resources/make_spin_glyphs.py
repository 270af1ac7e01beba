#!/usr/bin/env python3
"""Writes the spin buttons' arrow glyphs spinup.bmp and spindown.bmp.

9 x 6 pixels, 4 bits per pixel with the standard 16-colour palette: a black
triangle on olive (128, 128, 0), the colour that the buttons draw transparent
(they take it from the bottom-left pixel). Run from any directory; the files
are written beside this script.
"""
import os
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE = 0, 3
WIDTH, HEIGHT = 9, 6

# From the top row down: '#' black, '.' olive.
SPINUP = [
    ".........",
    "....#....",
    "...###...",
    "..#####..",
    ".#######.",
    ".........",
]
SPINDOWN = list(reversed(SPINUP))


def bmp(rows):
    assert len(rows) == HEIGHT and all(len(r) == WIDTH for r in rows)
    stride = ((WIDTH * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        indices = [BLACK if c == "#" else OLIVE for c in row]
        indices += [0] * (stride * 2 - len(indices))
        pixels += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, stride * 2, 2))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


here = os.path.dirname(os.path.abspath(__file__))
for name, rows in (("spinup.bmp", SPINUP), ("spindown.bmp", SPINDOWN)):
    with open(os.path.join(here, name), "wb") as f:
        f.write(bmp(rows))
