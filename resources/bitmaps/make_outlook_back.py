#!/usr/bin/env python3
"""Writes outlook_back.bmp: a 48 x 48 tile of soft diagonal stripes, 24-bit, that the outlook
bar's tests and demonstration show behind their shortcuts."""
import os
import struct

SIZE = 48


def pixel(x, y):
    band = ((x + y) // 8) % 2
    shade = 200 + (y * 40) // SIZE
    return (shade, shade - 10, 170) if band else (shade - 25, shade - 30, 150)


def bmp_bytes():
    row_size = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        data += row
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'outlook_back.bmp'), 'wb') as out:
        out.write(bmp_bytes())
