#!/usr/bin/env python3
"""Draws the texture pictures of the text brushes (data/texteffect/texture): small tiles that
repeat without seams, read by the texture brush of a text style. Standard library only; run it
after changing a texture, then commit what it wrote.

    python3 scripts/artwork/make_textures.py"""

import math
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import Canvas, clamp, mix, save_png  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
FOLDER = os.path.join(ROOT, "data", "texteffect", "texture")
SIZE = 96


def periodic_noise(seed, waves=6):
    """A smooth value in -1..1 that repeats every SIZE pixels both ways: a sum of waves whose
    periods divide the tile."""
    rng = random.Random(seed)
    terms = []
    for _ in range(waves):
        kx, ky = rng.randint(-3, 3), rng.randint(1, 4)
        terms.append((kx, ky, rng.uniform(0, 2 * math.pi), rng.uniform(0.4, 1.0)))
    total = sum(t[3] for t in terms)

    def value(x, y):
        s = 0.0
        for kx, ky, phase, amp in terms:
            s += amp * math.sin(2 * math.pi * (kx * x + ky * y) / SIZE + phase)
        return s / total

    return value


def draw(colour_at):
    canvas = Canvas(SIZE, SIZE)
    for y in range(SIZE):
        for x in range(SIZE):
            i = (y * SIZE + x) * 3
            canvas.pixels[i:i + 3] = bytes(colour_at(x + 0.5, y + 0.5))
    return canvas


def gold():
    noise = periodic_noise(3)
    dark, light = (150, 100, 20), (255, 225, 120)

    def at(x, y):
        band = 0.5 + 0.5 * math.sin(2 * math.pi * 2 * y / SIZE + 1.5 * noise(x, y))
        return mix(dark, light, clamp(band ** 0.7))

    return draw(at)


def wood():
    noise = periodic_noise(11)
    dark, light = (110, 62, 28), (196, 140, 82)

    def at(x, y):
        grain = math.sin(2 * math.pi * 5 * x / SIZE + 2.2 * noise(x, y))
        return mix(dark, light, clamp(0.5 + 0.5 * grain))

    return draw(at)


def marble():
    noise = periodic_noise(23, 8)
    vein, stone = (70, 80, 110), (236, 238, 244)

    def at(x, y):
        v = abs(math.sin(2 * math.pi * (x + y) / SIZE + 3.0 * noise(x, y)))
        return mix(vein, stone, clamp(v ** 0.35))

    return draw(at)


def water():
    noise = periodic_noise(41)
    deep, foam = (10, 70, 150), (120, 210, 250)

    def at(x, y):
        ripple = 0.5 + 0.5 * math.sin(2 * math.pi * 3 * y / SIZE + 2.0 * noise(x, y))
        return mix(deep, foam, clamp(ripple))

    return draw(at)


def stripes():
    red, white = (210, 40, 50), (250, 246, 236)

    def at(x, y):
        t = ((x + y) % (SIZE / 4)) / (SIZE / 4)
        edge = clamp(abs(t - 0.5) * 8 - 1.5)
        return mix(red, white, edge)

    return draw(at)


TEXTURES = {"gold.png": gold, "wood.png": wood, "marble.png": marble, "water.png": water,
            "candy.png": stripes}


def main():
    os.makedirs(FOLDER, exist_ok=True)
    for name, make in TEXTURES.items():
        save_png(make(), os.path.join(FOLDER, name))
    print("textures: %d pictures in %s" % (len(TEXTURES), FOLDER))


if __name__ == "__main__":
    main()
