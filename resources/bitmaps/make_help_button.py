#!/usr/bin/env python3
"""Draws the customize sheet's Help button image: a blue question mark in a round badge, 16 x 16 on
light grey (the button face once loaded), in 16 colours and in 24 bits. Writes beside itself."""

import os

from make_sample_bitmaps import PALETTE, write_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 16
SILVER = (192, 192, 192)

MARK = [
    "................",
    ".....######.....",
    "...##......##...",
    "..#..........#..",
    "..#...####...#..",
    ".#...##..##...#.",
    ".#.......##...#.",
    ".#......##....#.",
    ".#.....##.....#.",
    ".#.....##.....#.",
    ".#............#.",
    "..#....##....#..",
    "..#....##....#..",
    "...##......##...",
    ".....######.....",
    "................",
]


def image(ink, paper, background):
    rows = []
    for y, line in enumerate(MARK):
        row = []
        inside = [x for x, c in enumerate(line) if c == "#"]
        left, right = (min(inside), max(inside)) if inside else (SIZE, -1)
        for x, c in enumerate(line):
            if c == "#":
                row.append(ink)
            elif left < x < right:
                row.append(paper)
            else:
                row.append(background)
        rows.append(row)
    return rows


write_bmp(os.path.join(HERE, "customize_help.bmp"), SIZE, SIZE, 4, image(4, 15, 7), PALETTE)
write_bmp(os.path.join(HERE, "customize_help_hc.bmp"), SIZE, SIZE, 24,
          image((30, 70, 170), (255, 255, 255), SILVER))
