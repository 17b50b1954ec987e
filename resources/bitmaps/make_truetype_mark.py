#!/usr/bin/env python3
"""Draws truetype.bmp, the mark the font list shows in front of TrueType faces (bitmap 180): two
overlapping letters T, 15 x 11 pixels, 24-bit on white, the colour the list masks out. Run it from
anywhere; it writes beside itself."""

import os

from make_test_menu_icons import write_bmp  # the same 24-bit BMP writer

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 15, 11
WHITE = (255, 255, 255)
BACK_T = (128, 128, 128)
FRONT_T = (0, 70, 160)


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
