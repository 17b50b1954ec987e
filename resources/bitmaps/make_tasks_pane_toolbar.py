#!/usr/bin/env python3
"""Draws the tasks pane's toolbar strips: back, forward, home and close, in 16 x 16 and 12 x 12,
24 bits on light grey (the button face once loaded). Writes beside itself."""

import os

from make_sample_bitmaps import write_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
SILVER = (192, 192, 192)
GREEN = (40, 140, 60)
INK = (40, 64, 120)
ROOF = (180, 50, 40)
RED = (200, 40, 40)


def arrow(size, left):
    # A filled arrow head and shaft, pointing left or right.
    def draw(px):
        mid = size // 2
        half = size // 2 - 2
        for d in range(half + 1):
            x = 2 + d if left else size - 3 - d
            for y in range(mid - d, mid + d):
                px(x, y, GREEN)
        for x in (range(2 + half, size - 2) if left else range(2, size - 2 - half)):
            for y in range(mid - max(1, size // 8), mid + max(1, size // 8)):
                px(x, y, GREEN)
    return draw


def home(size):
    def draw(px):
        mid = size // 2
        roof = size // 2
        for d in range(roof):
            for x in range(mid - d - 1, mid + d + 1):
                px(x, 1 + d, ROOF)
        for y in range(roof, size - 1):
            for x in range(3, size - 3):
                px(x, y, INK)
        for y in range(size - 1 - size // 4, size - 1):
            for x in range(mid - 1, mid + 1):
                px(x, y, SILVER)
    return draw


def close(size):
    def draw(px):
        for i in range(3, size - 3):
            for d in (0, 1):
                px(i + d - 1, i, RED), px(size - i - d, i, RED)
    return draw


def strip(size):
    rows = [[SILVER] * (size * 4) for _ in range(size)]
    for (n, draw) in enumerate([arrow(size, True), arrow(size, False), home(size), close(size)]):
        def px(x, y, colour, n=n):
            if 0 <= x < size and 0 <= y < size:
                rows[y][n * size + x] = colour
        draw(px)
    return rows


for (size, name) in [(16, "tasks_pane_toolbar.bmp"), (12, "tasks_pane_toolbar_small.bmp")]:
    write_bmp(os.path.join(HERE, name), size * 4, size, 24, strip(size))
