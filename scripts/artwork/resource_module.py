"""The pictures of the resource module "qvnres_en.dll": the product picture (bitmap 101, shown by
the splash window and the About dialog) and the TV set drawn around the disc-menu preview
(bitmap 102, cut into nine pieces: borders 20 left and top, 30 right, 45 bottom, with a 140-wide
piece at x 100 in the middle of the bottom border)."""

import os

import glyphs as g
from raster import Canvas, circle, frame, hex_colour, mix, rect, rotate, write_pictures, vertical_gradient

WHITE = (255, 255, 255)
ACCENT = hex_colour("2F80ED")


def product_picture():
    w, h = 480, 300
    c = Canvas(w, h)
    c.rect(0, 0, w, h, vertical_gradient(0, h, hex_colour("16213E"), hex_colour("1E3A6E")))
    # A fan of photographs on the right.
    cards = [(-14, hex_colour("F2C14E")), (-4, hex_colour("5FB49C")), (7, hex_colour("F78154")),
             (17, hex_colour("4D9DE0"))]
    cw, ch = 104, 130  # a card; the fan stays clear of the name and of the right edge
    for i, (angle, colour) in enumerate(cards):
        x0, y0 = 296 + i * 11, 72 + i * 6
        px, py = x0 + cw / 2, y0 + ch - 10
        photo = rect(x0, y0, x0 + cw, y0 + ch, 6)
        c.fill(rotate(photo, px, py, angle), hex_colour("0E1628"), opacity=0.35)
        c.fill(rotate(rect(x0 - 1, y0 - 2, x0 + cw + 1, y0 + ch - 2, 6), px, py, angle), WHITE)
        c.fill(rotate(rect(x0 + 7, y0 + 6, x0 + cw - 7, y0 + ch - 32, 3), px, py, angle),
               vertical_gradient(y0, y0 + ch - 32, mix(colour, WHITE, 0.35), colour))
        c.fill(rotate(circle(x0 + cw - 28, y0 + 30, 9), px, py, angle), WHITE, opacity=0.8)
    # The product name and a play mark.
    mark, advance = g.wordmark(48, 146, 26, 6.0)
    c.fill(mark, WHITE)
    c.fill(rect(48, 200, 48 + advance, 204, 2), ACCENT)
    c.fill(circle(58, 92, 16), ACCENT)
    c.fill(g.play(59.5, 92, 14), WHITE)
    return c


def tv_frame():
    w, h = 320, 240
    bezel = hex_colour("262A32")
    c = Canvas(w, h, WHITE)
    c.fill(rect(0, 0, w, h, 12), hex_colour("474D59"))
    c.fill(rect(1, 1, w - 1, h - 1, 11), bezel)
    # The opening for the picture, with a thin shadow line around it.
    c.fill(frame(18, 18, w - 28, h - 43, 3, 2), hex_colour("16181D"))
    c.rect(20, 20, w - 30, h - 45, (0, 0, 0))
    # Bottom centre: a maker's bar and the standby light.
    c.fill(rect(150, h - 26, 190, h - 22, 2), hex_colour("5A6170"))
    c.fill(circle(228, h - 24, 2.2), ACCENT)
    return c


def write_resource_module(folder, preview=None):
    pictures = {"product.bmp": product_picture(), "tv_frame.bmp": tv_frame()}
    write_pictures(pictures, folder, preview)
    with open(os.path.join(folder, "qvnres_en.xml"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                "<!-- The pictures of the resource module, written by scripts/artwork/make_artwork.py. -->\n"
                '<resources version="1">\n'
                '  <bitmap id="101" name="IDB_PRODUCT" file="product.bmp"/>\n'
                '  <bitmap id="102" name="IDB_TV_FRAME" file="tv_frame.bmp"/>\n'
                "</resources>\n")
