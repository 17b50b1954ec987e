#!/usr/bin/env python3
"""Draws the pictures of the program's themes (data/theme): for each theme the overlay laid over
every slide (768 x 576, PNG with alpha) and the thumbnail the theme page lists (160 x 120, the
overlay over a small landscape). The theme files themselves (*.xml, format in
modules/data/README.md) are written by hand. Standard library only; run it after changing a
picture, then commit what it wrote.

    python3 scripts/artwork/make_themes.py"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import circle, clamp, frame, mix, polygon, rect, subtract, union  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
FOLDER = os.path.join(ROOT, "data", "theme")
W, H = 768, 576
THUMB_W, THUMB_H = 160, 120


class RgbaCanvas:
    """Straight-alpha pixels; shapes are laid over with the usual 'over' rule."""

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]
        if background:
            for y in range(height):
                for x in range(width):
                    c = background(x + 0.5, y + 0.5)
                    self.px[y * width + x] = [c[0], c[1], c[2], 1.0]

    def fill(self, shape, colour, opacity=1.0):
        sdf, (bx0, by0, bx1, by1) = shape
        x0, y0 = max(0, int(math.floor(bx0)) - 1), max(0, int(math.floor(by0)) - 1)
        x1, y1 = min(self.width, int(math.ceil(bx1)) + 1), min(self.height, int(math.ceil(by1)) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sdf(x + 0.5, y + 0.5)
                if d >= 0.5:
                    continue
                a = clamp(0.5 - d) * opacity
                if a <= 0:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                p = self.px[y * self.width + x]
                out = a + p[3] * (1 - a)
                for i in range(3):
                    p[i] = (c[i] * a + p[i] * p[3] * (1 - a)) / out
                p[3] = out

    def save_png(self, path, alpha=True):
        rows = []
        for y in range(self.height):
            row = bytearray(b"\x00")
            for x in range(self.width):
                r, g, b, a = self.px[y * self.width + x]
                row += bytes((int(round(r)), int(round(g)), int(round(b))))
                if alpha:
                    row.append(int(round(a * 255)))
            rows.append(bytes(row))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6 if alpha else 2, 0, 0, 0)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) +
                    chunk(b"IEND", b""))


# --- The themes, drawn at a scale s of the 768 x 576 frame ----------------------------------------


def classic_frame(c, s):
    """A cream mount with a thin gold line around the picture and a wide band below for the text."""
    mount = subtract(rect(0, 0, W * s, H * s), rect(26 * s, 24 * s, (W - 26) * s, (H - 84) * s, 3 * s))
    c.fill(mount, (246, 239, 222))
    c.fill(frame(22 * s, 20 * s, (W - 22) * s, (H - 80) * s, 5 * s, max(1.0, 2.5 * s)), (190, 150, 70))
    c.fill(frame(8 * s, 8 * s, (W - 8) * s, (H - 8) * s, 2 * s, max(1.0, 1.5 * s)), (214, 196, 160))


def film_strip(c, s):
    """Black bands above and below with sprocket holes, a dark fade into the picture under them."""
    band = 54
    for top in (0, H - band):
        c.fill(rect(0, top * s, W * s, (top + band) * s), (18, 18, 20))
        for i in range(16):
            x = 14 + i * 48
            c.fill(rect(x * s, (top + 15) * s, (x + 24) * s, (top + 39) * s, 4 * s), (232, 232, 226))
    c.fill(rect(0, band * s, W * s, (band + 10) * s), (18, 18, 20), 0.45)
    c.fill(rect(0, (H - band - 10) * s, W * s, (H - band) * s), (18, 18, 20), 0.45)


def sunny_holiday(c, s):
    """A sun in the top-left corner and a turquoise wave along the bottom that holds the text."""
    c.fill(circle(0, 0, 150 * s), (255, 214, 90), 0.55)
    c.fill(circle(0, 0, 96 * s), (255, 196, 40), 0.85)
    for i in range(9):
        a = math.radians(8 + i * 9.5)
        x0, y0 = math.cos(a) * 112 * s, math.sin(a) * 112 * s
        x1, y1 = math.cos(a) * 190 * s, math.sin(a) * 190 * s
        n = (-math.sin(a) * 5 * s, math.cos(a) * 5 * s)
        c.fill(polygon([(x0 - n[0], y0 - n[1]), (x1, y1), (x0 + n[0], y0 + n[1])]), (255, 200, 60), 0.8)

    def wave(base, amp, phase):
        pts = [(x * s, (base + amp * math.sin(x / 95.0 + phase)) * s) for x in range(0, W + 16, 16)]
        return polygon(pts + [(W * s, H * s), (0, H * s)])

    c.fill(wave(470, 14, 0.0), (40, 170, 190), 0.55)
    c.fill(wave(492, 10, 1.7), (22, 140, 170), 0.85)
    c.fill(wave(540, 6, 3.1), (255, 255, 255), 0.25)


def no_theme(c, s):
    """Nothing over the slides; its thumbnail is a plain grey card crossed out."""


THEMES = [
    ("classic_frame", classic_frame),
    ("film_strip", film_strip),
    ("sunny_holiday", sunny_holiday),
]


def landscape(x, y):
    """The small scene the thumbnails show under the overlay."""
    sky = mix((120, 180, 235), (214, 236, 250), y / THUMB_H)
    hill = 84 + 10 * math.sin(x / 22.0)
    if y > hill:
        return mix((96, 160, 80), (60, 120, 56), (y - hill) / (THUMB_H - hill + 1))
    return sky


def text_marks(c, s, top, colour):
    """Two short lines where the theme's text goes."""
    c.fill(rect(W * s * 0.3, top * s, W * s * 0.7, (top + 14) * s, 6 * s), colour, 0.9)
    c.fill(rect(W * s * 0.38, (top + 22) * s, W * s * 0.62, (top + 32) * s, 4 * s), colour, 0.7)


def main():
    os.makedirs(FOLDER, exist_ok=True)
    marks = {"classic_frame": (512, (110, 80, 40)), "film_strip": (456, (255, 255, 255)),
             "sunny_holiday": (508, (255, 255, 255))}
    for name, draw in THEMES:
        overlay = RgbaCanvas(W, H)
        draw(overlay, 1.0)
        overlay.save_png(os.path.join(FOLDER, name + ".png"))
        thumb = RgbaCanvas(THUMB_W, THUMB_H, landscape)
        draw(thumb, THUMB_W / float(W))
        top, colour = marks[name]
        text_marks(thumb, THUMB_W / float(W), top, colour)
        thumb.save_png(os.path.join(FOLDER, name + "_thumb.png"), alpha=False)
    card = RgbaCanvas(THUMB_W, THUMB_H, lambda x, y: (236, 236, 236))
    card.fill(frame(6, 6, THUMB_W - 6, THUMB_H - 6, 4, 2), (170, 170, 170))
    card.fill(union(polygon([(40, 30), (46, 26), (122, 86), (116, 92)])), (200, 80, 70))
    card.save_png(os.path.join(FOLDER, "no_theme_thumb.png"), alpha=False)
    print("themes: %d overlays, %d thumbnails" % (len(THEMES), len(THEMES) + 1))


if __name__ == "__main__":
    main()
