#!/usr/bin/env python3
"""Draws the bitmaps of resources/sample.xml: a 16-colour toolbar strip (four 16 x 15 images on
the usual light grey toolbar background) and a small 24-bit picture. Run it from anywhere; it
writes beside itself."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, YELLOW, BLUE, WHITE, OLIVE = 0, 4, 7, 8, 11, 12, 15, 3


def write_bmp(path, width, height, bit_count, rows, palette=()):
    """rows[y][x], top row first: palette indexes for 4 bits, (r, g, b) for 24 bits."""
    stride = (width * bit_count + 31) // 32 * 4
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    bits = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        if bit_count == 4:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append(hi << 4 | lo)
        else:
            for (r, g, b) in row:
                line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        bits += line
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, len(bits), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + bits)


def toolbar():
    w, h = 16, 15
    images = []

    def canvas():
        return [[SILVER] * w for _ in range(h)]

    def rect(img, x0, y0, x1, y1, colour, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    img[y][x] = colour
                elif fill is not None:
                    img[y][x] = fill

    # New: a white page with a folded corner.
    img = canvas()
    rect(img, 3, 1, 12, 13, BLACK, WHITE)
    for i in range(4):
        img[1 + i][9 + i] = BLACK
        for x in range(10 + i, 13):
            img[1 + i][x] = SILVER
    for y in range(1, 5):
        img[y][9] = BLACK
    for x in range(9, 13):
        img[4][x] = BLACK
    images.append(img)

    # Open: a yellow folder.
    img = canvas()
    rect(img, 1, 4, 14, 12, BLACK, YELLOW)
    rect(img, 1, 2, 6, 4, BLACK, YELLOW)
    for x in range(2, 14):
        img[6][x] = OLIVE
    images.append(img)

    # Thumbnails: four blue tiles.
    img = canvas()
    for (x, y) in ((1, 1), (8, 1), (1, 8), (8, 8)):
        rect(img, x, y, x + 5, y + 5, NAVY, BLUE)
    images.append(img)

    # Details: rows of a list.
    img = canvas()
    for y in (2, 6, 10):
        rect(img, 1, y, 3, y + 2, NAVY, BLUE)
        for x in range(5, 15):
            img[y + 1][x] = BLACK
    images.append(img)

    rows = [sum((image[y] for image in images), []) for y in range(h)]
    write_bmp(os.path.join(HERE, "sample_toolbar.bmp"), w * len(images), h, 4, rows, PALETTE)


def picture():
    w, h = 48, 32
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = (x + y) / (w + h - 2)
            colour = (int(20 + 60 * t), int(40 + 110 * t), int(120 + 135 * t))
            if (x - 24) ** 2 + (y - 16) ** 2 <= 64:
                colour = (255, 255, 255)
            row.append(colour)
        rows.append(row)
    write_bmp(os.path.join(HERE, "sample_picture.bmp"), w, h, 24, rows)


if __name__ == "__main__":
    toolbar()
    picture()
