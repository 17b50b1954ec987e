#!/usr/bin/env python3
"""Writes drop.cur: the arrow with a small box and a plus sign that the drag objects show over a
window that takes the drop. 32 x 32, 32-bit, hot spot at the arrow's tip."""
import os
import struct

SIZE = 32
BLACK, WHITE, NONE = (0, 0, 0, 255), (255, 255, 255, 255), None

def picture():
    rows = [[NONE] * SIZE for _ in range(SIZE)]
    # The arrow: a white body with a black edge, 12 rows of widening, then the tail.
    for y in range(17):
        for x in range(y + 1 if y < 12 else 0):
            if x <= y and y < 12:
                rows[y][x] = BLACK if x in (0, y) or y == 11 else WHITE
    for y in range(12, 17):
        for x in range(4, 7):
            rows[y][x] = BLACK if x in (4, 6) or y == 16 else WHITE
    # The box with a plus: where the item lands.
    for y in range(18, 29):
        for x in range(12, 23):
            edge = x in (12, 22) or y in (18, 28)
            plus = (x == 17 and 20 <= y <= 26) or (y == 23 and 14 <= x <= 20)
            rows[y][x] = BLACK if edge or plus else WHITE
    return rows

def cursor_bytes():
    rows = picture()
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        bits = 0
        for x in range(SIZE):
            pixel = rows[y][x]
            if pixel is None:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
            else:
                xor += bytes((pixel[2], pixel[1], pixel[0], pixel[3]))
        mask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 0, 0, len(image), 6 + 16)
    return directory + entry + image

if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'drop.cur'), 'wb') as out:
        out.write(cursor_bytes())
