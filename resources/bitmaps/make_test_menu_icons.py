#!/usr/bin/env python3
"""Draws test_menu_icons.bmp, the item images of the icon-menu tests (resources/test_icon_menu.xml):
eight 16 x 15 images in one 24-bit strip on white, the background the menus mask out. Run it from
anywhere; it writes beside itself."""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 16, 15
WHITE = (255, 255, 255)  # the mask colour; drawings use PAPER for white
PAPER = (250, 250, 250)
INK = (70, 70, 80)


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


class Icon:
    def __init__(self):
        self.px = [[WHITE] * W for _ in range(H)]

    def put(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, edge, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if x in (x0, x1) or y in (y0, y1):
                    self.put(x, y, edge)
                elif fill:
                    self.put(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def disc(self, cx, cy, r, c, edge=None):
        for y in range(H):
            for x in range(W):
                d = math.hypot(x - cx, y - cy)
                if d <= r:
                    self.put(x, y, edge if edge and d > r - 1 else c)


def new_page():
    i = Icon()
    i.rect(3, 1, 12, 13, INK, PAPER)
    for y in range(1, 5):  # folded corner
        for x in range(13 - (5 - y), 13):
            i.put(x, y, WHITE)
    i.line(8, 1, 12, 5, INK)
    i.line(8, 1, 8, 5, INK)
    i.line(8, 5, 12, 5, INK)
    for y in (7, 9, 11):
        i.line(5, y, 10, y, (150, 170, 210))
    return i


def folder():
    i = Icon()
    dark, light, front = (170, 120, 20), (250, 215, 110), (240, 190, 70)
    i.rect(1, 3, 6, 5, dark, light)
    i.rect(1, 4, 13, 12, dark, light)
    for y in range(7, 13):  # the open flap
        i.line(3 + (12 - y) // 3, y, 15 - (12 - y) // 3, y, front)
    i.line(4, 7, 15, 7, dark)
    i.line(15, 7, 13, 12, dark)
    i.line(1, 12, 13, 12, dark)
    return i


def disk():
    i = Icon()
    body, dark, label = (60, 100, 180), (30, 50, 110), (235, 238, 245)
    i.rect(1, 1, 14, 13, dark, body)
    i.rect(4, 1, 11, 5, dark, label)
    i.rect(8, 2, 9, 4, dark, dark)
    i.rect(3, 8, 12, 13, dark, PAPER)
    i.line(5, 10, 10, 10, (160, 160, 170))
    return i


def photos():
    i = Icon()
    i.rect(0, 2, 13, 12, INK, (150, 200, 240))
    for x in range(1, 13):  # hills
        top = 9 - int(2.5 * math.sin((x + 1) / 4.0))
        for y in range(top, 12):
            i.put(x, y, (70, 150, 70))
    i.disc(9.5, 5, 1.6, (250, 200, 40))
    i.rect(11, 9, 15, 13, (20, 110, 40), (60, 170, 80))  # plus badge
    i.line(13, 10, 13, 12, PAPER)
    i.line(12, 11, 14, 11, PAPER)
    return i


def remove():
    i = Icon()
    red, dark = (215, 50, 50), (150, 20, 20)
    for d in (-1, 0, 1):
        i.line(3 + d, 2, 13 + d, 12, red)
        i.line(13 + d, 2, 3 + d, 12, red)
    i.line(3, 3, 12, 12, dark)
    i.line(12, 3, 3, 12, dark)
    return i


def music():
    i = Icon()
    note = (40, 70, 160)
    i.disc(4.5, 11, 2.2, note)
    i.disc(11.5, 9.5, 2.2, note)
    i.line(6, 2, 6, 11, note)
    i.line(13, 1, 13, 9, note)
    for d in (0, 1):
        i.line(6, 2 + d, 13, 0 + d, note)
    return i


def rotate():
    i = Icon()
    green, dark = (40, 160, 70), (20, 100, 40)
    for a in range(30, 300, 4):
        r = math.radians(a)
        for rr in (4.5, 5.5):
            i.put(round(7.5 + rr * math.cos(r)), round(7.5 - rr * math.sin(r)), green)
    for y in range(0, 6):  # arrow head at the start of the arc
        for x in range(10 - y // 2, 16 - y):
            pass
    for k in range(5):
        i.line(10 + k, 1 + k, 15 - k, 1 + k, dark)
    i.line(10, 1, 15, 1, dark)
    return i


def preview():
    i = Icon()
    i.disc(7.5, 7, 6.8, (70, 130, 210), edge=(30, 70, 150))
    for y in range(4, 11):
        half = 3 - abs(y - 7)
        i.line(6, y, 6 + max(half * 2, 0), y, PAPER)
    return i


def main():
    icons = [new_page(), folder(), disk(), photos(), remove(), music(), rotate(), preview()]
    rows = [[c for icon in icons for c in icon.px[y]] for y in range(H)]
    write_bmp(os.path.join(HERE, "test_menu_icons.bmp"), rows)


if __name__ == "__main__":
    main()
