"""The two sample pictures the transition previews play between (data/images/transpreview1.jpg
and transpreview2.jpg, 384 x 288): a bright day at the sea and an evening in the mountains, far
apart in colour so every transition shows. Drawn here, written as JPEG by ffmpeg."""

import os
import subprocess
import tempfile

from raster import Canvas, circle, ellipse, hex_colour, polygon, rect, save_png, vertical_gradient

W, H = 384, 288


def sea_day():
    c = Canvas(W, H)
    c.rect(0, 0, W, 170, vertical_gradient(0, 170, hex_colour("3A8DDE"), hex_colour("BFE3FA")))
    c.fill(circle(300, 62, 30), hex_colour("FFE27A"))
    c.fill(circle(300, 62, 42), hex_colour("FFF3B8"), opacity=0.35)
    for cx, cy, rx in ((80, 50, 40), (115, 58, 30), (190, 90, 34), (220, 84, 24)):
        c.fill(ellipse(cx, cy, rx, rx * 0.42), (255, 255, 255), opacity=0.9)
    c.rect(0, 170, W, 222, vertical_gradient(170, 222, hex_colour("1E6FB8"), hex_colour("4FA3D9")))
    for y in range(178, 220, 9):
        c.fill(rect(20 + (y * 7) % 60, y, 110 + (y * 7) % 60, y + 1.6, 0.8), (255, 255, 255), opacity=0.45)
        c.fill(rect(210 + (y * 5) % 70, y + 3, 290 + (y * 5) % 70, y + 4.6, 0.8), (255, 255, 255), opacity=0.4)
    c.rect(0, 222, W, H, vertical_gradient(222, H, hex_colour("F1D9A6"), hex_colour("D9B879")))
    # A sailing boat on the horizon.
    c.fill(polygon([(148, 196), (196, 196), (188, 206), (156, 206)]), hex_colour("7A3E1D"))
    c.fill(polygon([(171, 140), (171, 192), (140, 192)]), (255, 255, 255))
    c.fill(polygon([(174, 150), (174, 192), (196, 192)]), hex_colour("E94F37"))
    c.fill(rect(171, 138, 173.5, 197), hex_colour("5A2E15"))
    return c


def mountain_evening():
    c = Canvas(W, H)
    c.rect(0, 0, W, 190, vertical_gradient(0, 190, hex_colour("2B1B4F"), hex_colour("F08A4B")))
    c.fill(circle(110, 150, 34), hex_colour("FFC46B"))
    for x, y in ((40, 30), (90, 18), (170, 40), (250, 22), (330, 36), (300, 60), (210, 14)):
        c.fill(circle(x, y, 1.4), (255, 255, 255), opacity=0.85)
    c.fill(polygon([(-10, 200), (90, 92), (160, 168), (240, 80), (330, 170), (394, 120), (394, 200)]),
           hex_colour("3B2A5C"))
    c.fill(polygon([(225, 95), (240, 80), (256, 97), (246, 94), (238, 100)]), hex_colour("E6E1F2"))
    c.fill(polygon([(-10, 200), (60, 150), (130, 200)]), hex_colour("24173D"))
    c.fill(polygon([(200, 200), (300, 140), (394, 190), (394, 200)]), hex_colour("24173D"))
    c.rect(0, 196, W, H, vertical_gradient(196, H, hex_colour("C8663A"), hex_colour("1C2A4A")))
    c.fill(ellipse(110, 214, 26, 4), hex_colour("FFC46B"), opacity=0.7)
    c.fill(ellipse(110, 232, 16, 2.5), hex_colour("FFC46B"), opacity=0.5)
    # Pines along the shore.
    for x in range(250, 384, 22):
        h = 36 + (x * 13) % 18
        c.fill(polygon([(x, 206 - h), (x + 10, 206), (x - 10, 206)]), hex_colour("101826"))
    return c


def write_preview_pictures(folder, preview=None):
    os.makedirs(folder, exist_ok=True)
    pictures = {"transpreview1": sea_day(), "transpreview2": mountain_evening()}
    with tempfile.TemporaryDirectory() as scratch:
        for name, canvas in pictures.items():
            png = os.path.join(scratch, name + ".png")
            save_png(canvas, png)
            subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", png, "-q:v", "2", os.path.join(folder, name + ".jpg")],
                           check=True)
            if preview:
                os.makedirs(preview, exist_ok=True)
                save_png(canvas, os.path.join(preview, name + ".png"))
    return pictures
