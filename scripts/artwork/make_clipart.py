#!/usr/bin/env python3
"""Writes the program's clip art (data/ArtClip): the style list artclip.ini and, per style, vector
pictures in the program's own clip-art format (modules/data/README.md, "Clip art"), kept under the
.emf ending the clip-art page lists. Standard library only; run it after changing a picture, then
commit what it wrote.

    python3 scripts/artwork/make_clipart.py"""

import math
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FOLDER = os.path.join(ROOT, "data", "ArtClip")


def num(v):
    return ("%.1f" % v).rstrip("0").rstrip(".")


def points(pts):
    return " ".join("%s %s" % (num(x), num(y)) for x, y in pts)


def star(cx, cy, outer, inner, tips=5, turn=-90):
    pts = []
    for i in range(tips * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180.0 / tips)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def heart():
    return [
        "fill #E0245E",
        "stroke #9C1440 4",
        "path M 100 170 C 20 120 10 70 45 45 C 70 28 92 40 100 62 "
        "C 108 40 130 28 155 45 C 190 70 180 120 100 170 Z",
        "fill #FFFFFF 110",
        "stroke none",
        "ellipse 62 68 12 8",
    ]


def gold_star():
    return [
        "fill #FFC93C",
        "stroke #C88A00 5",
        "polygon " + points(star(100, 106, 88, 38)),
        "fill #FFFFFF 90",
        "stroke none",
        "polygon " + points(star(86, 86, 20, 9)),
    ]


def sun():
    lines = ["fill #FFB300", "stroke none"]
    for i in range(12):
        a = math.radians(i * 30)
        tip = (100 + 92 * math.cos(a), 100 + 92 * math.sin(a))
        left = (100 + 58 * math.cos(a - 0.17), 100 + 58 * math.sin(a - 0.17))
        right = (100 + 58 * math.cos(a + 0.17), 100 + 58 * math.sin(a + 0.17))
        lines.append("polygon " + points([left, tip, right]))
    lines += ["fill #FFD54F", "stroke #F57F17 4", "ellipse 100 100 54 54"]
    return lines


def speech():
    return [
        "fill #FFFFFF",
        "stroke #303030 5",
        "path M 40 30 L 160 30 C 180 30 190 40 190 60 L 190 110 C 190 130 180 140 160 140 "
        "L 90 140 L 50 178 L 60 140 L 40 140 C 20 140 10 130 10 110 L 10 60 C 10 40 20 30 40 30 Z",
    ]


def balloons():
    lines = ["fill none", "stroke #606060 2"]
    lines += ["polyline 70 120 95 192", "polyline 130 112 100 192", "polyline 100 95 98 192"]
    for cx, cy, colour, dark in ((70, 75, "#E53935", "#B71C1C"), (130, 68, "#1E88E5", "#0D47A1"),
                                 (100, 52, "#FDD835", "#F9A825")):
        lines += ["fill %s" % colour, "stroke %s 3" % dark, "ellipse %d %d 32 40" % (cx, cy),
                  "fill #FFFFFF 120", "stroke none", "ellipse %d %d 7 11" % (cx - 12, cy - 14)]
    return lines


def gift():
    return [
        "fill #43A047", "stroke #1B5E20 4", "rect 30 80 140 100",
        "fill #66BB6A", "rect 22 58 156 30",
        "fill #E53935", "stroke none", "rect 90 58 20 122",
        "fill none", "stroke #E53935 9",
        "path M 100 58 C 70 20 40 30 60 52 C 70 60 90 58 100 58 Z",
        "path M 100 58 C 130 20 160 30 140 52 C 130 60 110 58 100 58 Z",
    ]


def flower():
    lines = ["fill #8BC34A", "stroke #33691E 3", "path M 97 120 L 103 120 L 103 196 L 97 196 Z",
             "ellipse 125 170 22 9"]
    lines += ["fill #F48FB1", "stroke #C2185B 3"]
    for i in range(6):
        a = math.radians(i * 60)
        lines.append("ellipse %s %s 24 24" % (num(100 + 38 * math.cos(a)), num(80 + 38 * math.sin(a))))
    lines += ["fill #FFEB3B", "stroke #F9A825 3", "ellipse 100 80 22 22"]
    return lines


def confetti():
    lines = ["stroke none"]
    colours = ["#E53935", "#1E88E5", "#FDD835", "#43A047", "#8E24AA", "#FB8C00"]
    spread = random.Random(7)  # the same pieces on every run
    for i in range(22):
        x = spread.uniform(20, 180)
        y = spread.uniform(20, 180)
        lines.append("fill %s" % colours[i % len(colours)])
        if i % 3 == 0:
            lines.append("ellipse %s %s 8 8" % (num(x), num(y)))
        else:
            a = math.radians(i * 40)
            pts = [(x + 12 * math.cos(a + k * math.pi / 2), y + 5 * math.sin(a + k * math.pi / 2)) for k in range(4)]
            lines.append("polygon " + points(pts))
    return lines


STYLES = [
    ("Shapes", "Shapes", [("Heart", heart), ("Star", gold_star), ("Sun", sun), ("Speech Bubble", speech)]),
    ("Celebration", "Celebration", [("Balloons", balloons), ("Gift", gift), ("Flower", flower),
                                     ("Confetti", confetti)]),
]


def main():
    os.makedirs(FOLDER, exist_ok=True)
    ini = ["[Base]", "StyleCount=%d" % len(STYLES), ""]
    for number, (name, folder, pictures) in enumerate(STYLES, 1):
        ini += ["[Style%d]" % number, "Name=%s" % name, "Path=%s" % folder, ""]
        os.makedirs(os.path.join(FOLDER, folder), exist_ok=True)
        for title, draw in pictures:
            body = ["PICTAVO-CLIPART 1", "# %s" % title, "size 200 200"] + draw()
            path = os.path.join(FOLDER, folder, title.replace(" ", "") + ".emf")
            with open(path, "w", newline="\n") as out:
                out.write("\n".join(body) + "\n")
    with open(os.path.join(FOLDER, "artclip.ini"), "w", newline="\n") as out:
        out.write("\n".join(ini))


if __name__ == "__main__":
    main()
