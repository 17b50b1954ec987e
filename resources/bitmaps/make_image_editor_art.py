#!/usr/bin/env python3
"""Draws the button image editor's tool palette (pencil, fill, line, rectangle, ellipse, pick
colour; 16 x 15 each on light grey, 24 bits) beside itself, and one 32 x 32 cursor per tool in
../cursors (a cross hair with the tool's small sign; hot spot at the cross)."""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_sample_bitmaps import write_bmp  # noqa: E402

W, H = 16, 15
SILVER = (192, 192, 192)
INK = (0, 0, 0)
WOOD = (224, 160, 64)
PAINT = (0, 0, 192)
RED = (192, 0, 0)
GREY = (128, 128, 128)


def pencil(px):
    for i in range(9):
        px(3 + i, 11 - i, WOOD), px(4 + i, 11 - i, WOOD), px(3 + i, 10 - i, INK), px(5 + i, 11 - i, INK)
    px(2, 12, INK), px(3, 12, INK), px(2, 11, INK)


def fill(px):
    for y in range(5, 12):
        for x in range(3, 10):
            px(x, y, GREY if x in (3, 9) or y == 11 else SILVER)
    for y in range(6, 13):
        px(11, y, PAINT), px(12, y, PAINT)
    for x in range(3, 12):
        px(x, 5, INK)
    px(6, 3, INK), px(6, 4, INK)


def line(px):
    for i in range(11):
        px(2 + i, 12 - i, INK)


def rectangle(px):
    for x in range(2, 14):
        px(x, 3, INK), px(x, 11, INK)
    for y in range(3, 12):
        px(2, y, INK), px(13, y, INK)


def ellipse(px):
    import math
    for t in range(0, 360, 4):
        a = math.radians(t)
        px(int(round(7.5 + 5.5 * math.cos(a))), int(round(7 + 4 * math.sin(a))), INK)


def pick(px):
    for i in range(7):
        px(4 + i, 11 - i, GREY), px(5 + i, 11 - i, INK)
    for y in range(2, 6):
        for x in range(10, 14):
            px(x, y, RED)
    px(3, 12, INK), px(4, 12, INK)


TOOLS = [pencil, fill, line, rectangle, ellipse, pick]  # toolbar order = tool order
# Toolbar commands in that order: pencil, fill, line, rectangle, ellipse, pick colour.


def strip():
    rows = [[SILVER] * (W * len(TOOLS)) for _ in range(H)]
    for i, draw in enumerate(TOOLS):
        def px(x, y, c, i=i):
            if 0 <= x < W and 0 <= y < H:
                rows[y][i * W + x] = c
        draw(px)
    return rows


def cursor_bytes(sign):
    size = 32
    pixels = [[None] * size for _ in range(size)]
    for d in range(-7, 8):
        if d:
            pixels[8][8 + d] = INK
            pixels[8 + d][8] = INK
    for y in range(H):
        for x in range(W):
            if sign[y][x] != SILVER:
                pixels[14 + y // 1][14 + x] = sign[y][x]
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            p = pixels[y][x]
            if p is None:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
            else:
                xor += bytes((p[2], p[1], p[0], 255))
        mask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    return struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 8, 8, len(image), 22) + image


if __name__ == '__main__':
    rows = strip()
    write_bmp(os.path.join(HERE, 'image_editor_tools.bmp'), W * len(TOOLS), H, 24, rows)
    names = ['pencil', 'fill', 'line', 'rectangle', 'ellipse', 'pick']
    for i, name in enumerate(names):
        sign = [row[i * W:(i + 1) * W] for row in rows]
        with open(os.path.join(HERE, '..', 'cursors', 'editor_%s.cur' % name), 'wb') as out:
            out.write(cursor_bytes(sign))
