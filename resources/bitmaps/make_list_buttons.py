#!/usr/bin/env python3
"""Draws the editable list's caption-button images: new, delete, move up, move down, each 14 x 14
on light grey (the button face once loaded), in 16 colours and in 24 bits. Writes beside itself."""

import os

from make_sample_bitmaps import PALETTE, write_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 14
SILVER = (192, 192, 192)


def new_entry(px):
    # A page with a folded corner and a small spark.
    for y in range(2, 13):
        for x in range(3, 11):
            px(x, y, "paper")
    for y in range(2, 13):
        px(3, y, "ink"), px(10, y, "ink")
    for x in range(3, 11):
        px(x, 2, "ink"), px(x, 12, "ink")
    for (x, y) in [(11, 1), (12, 2), (11, 3), (10, 2), (12, 0), (13, 1)]:
        px(x, y, "spark")


def delete_entry(px):
    for i in range(3, 11):
        for d in (0, 1):
            px(i + d, i, "red"), px(13 - i - d, i, "red")


def arrow(up):
    def draw(px):
        for row in range(5):
            y = 3 + row if up else 10 - row
            for x in range(7 - row, 7 + row + 1):
                px(x, y, "ink")
        for y in (range(8, 12) if up else range(2, 6)):
            for x in range(5, 10):
                px(x, y, "ink")
    return draw


LOW = {"paper": 15, "ink": 0, "spark": 11, "red": 9}
HIGH = {"paper": (255, 255, 255), "ink": (40, 64, 120), "spark": (230, 180, 20), "red": (200, 40, 40)}


def image(draw, colours, background):
    rows = [[background] * SIZE for _ in range(SIZE)]

    def px(x, y, name):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            rows[y][x] = colours[name]
    draw(px)
    return rows


for (draw, low_name, high_name) in [(new_entry, "list_new.bmp", "list_new_hc.bmp"),
                                    (delete_entry, "list_delete.bmp", "list_delete_hc.bmp"),
                                    (arrow(True), "list_up.bmp", "list_up_hc.bmp"),
                                    (arrow(False), "list_down.bmp", "list_down_hc.bmp")]:
    write_bmp(os.path.join(HERE, low_name), SIZE, SIZE, 4, image(draw, LOW, 7), PALETTE)
    write_bmp(os.path.join(HERE, high_name), SIZE, SIZE, 24, image(draw, HIGH, SILVER))
