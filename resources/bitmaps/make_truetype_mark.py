#!/usr/bin/env python3
"""Draws truetype.bmp, the mark the font list shows in front of TrueType faces (bitmap 180): two
overlapping letters T, 15 x 11 pixels, 24-bit on white, the colour the list masks out. Run it from
anywhere; it writes beside itself."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 15, 11
WHITE = (255, 255, 255)
BACK_T = (128, 128, 128)
FRONT_T = (0, 70, 160)


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        bits += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(bits), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bits)


def letter_t(px, x0, y0, w, h, colour):
    for x in range(x0, x0 + w):  # the bar, two pixels thick
        for y in (y0, y0 + 1):
            px[y][x] = colour
    stem = x0 + w // 2 - 1
    for y in range(y0, y0 + h):  # the stem, two pixels wide
        px[y][stem] = colour
        px[y][stem + 1] = colour


def main():
    px = [[WHITE] * W for _ in range(H)]
    letter_t(px, 0, 0, 9, 8, BACK_T)
    letter_t(px, 5, 3, 10, 8, FRONT_T)
    write_bmp(os.path.join(HERE, "truetype.bmp"), px)


if __name__ == "__main__":
    main()
