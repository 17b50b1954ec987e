"""The item images of the main menu (toolbar 269) and of the organize page's context menus
(toolbar 276): one 16 x 15 picture per command, on white, which the icon menu takes as the mask
colour. The order of the pictures is the order of the toolbar's buttons in resources/shell.xml.
The same pictures on the button face grey make the toolbar demonstration's strips."""

import os

import glyphs as g
from raster import Canvas, hex_colour, save_png, write_pictures

WIDTH, HEIGHT = 16, 15
INK = hex_colour("1F4E8C")
ACCENT = hex_colour("2F80ED")
WARM = hex_colour("D9822B")

# (command id, glyph, colour) in button order.
MAIN_MENU = [
    (57600, g.document_add, INK),
    (57601, g.folder, WARM),
    (57603, g.save, INK),
    (32789, g.picture, ACCENT),
    (32853, g.trash, INK),
    (32807, g.note, ACCENT),
    (32858, g.letter_t, INK),
    (33926, g.transition, ACCENT),
    (32857, g.sun, WARM),
    (32855, g.rotate_cw, INK),
    (32856, g.rotate_ccw, INK),
    (32859, g.shuffle, ACCENT),
    (32852, g.play, ACCENT),
    (32822, g.film, INK),
    (33934, g.microphone, INK),
    (32788, g.gear, INK),
]

CONTEXT_MENUS = [
    (32934, g.grid_plus, ACCENT),
    (32918, g.trash, INK),
    (32919, g.rotate_cw, INK),
    (32920, g.rotate_ccw, INK),
    (32834, g.letter_t, INK),
    (32808, g.sun, WARM),
    (32926, g.shuffle, ACCENT),
    (32809, g.film, INK),
    (32923, g.album_add, ACCENT),
    (32925, g.album, ACCENT),
    (32804, g.album_remove, INK),
    (33936, g.note, ACCENT),
    (33937, g.minus, INK),
    (33938, g.arrow_up, INK),
    (33939, g.arrow_down, INK),
    (33940, g.scissors, INK),
    (32810, g.play, ACCENT),
    (32812, g.stop, INK),
]


# Toolbar strips are keyed by the button face, so the toolbar demonstration's bars
# (resources/test_toolbars.xml) get the same pictures drawn on the standard grey.
FACE = (192, 192, 192)


def strip(entries, background=(255, 255, 255)):
    c = Canvas(WIDTH * len(entries), HEIGHT, background)
    for i, (_, glyph, colour) in enumerate(entries):
        c.fill(glyph(i * WIDTH + 8, 7.5, 13), colour)
    return c


def write_menu_icons(folder, preview=None):
    pictures = {"main_menu.bmp": strip(MAIN_MENU), "context_menu.bmp": strip(CONTEXT_MENUS),
                "demo_toolbar.bmp": strip(MAIN_MENU, FACE), "demo_pictures_toolbar.bmp": strip(CONTEXT_MENUS, FACE)}
    write_pictures(pictures, folder, preview)
    return pictures


def app_icon_image(size):
    """The program's icon at one size: a blue rounded card holding a small photo and a play mark."""
    from raster import circle, rect, vertical_gradient
    c = Canvas(size, size, (0, 0, 0))
    s = size / 32.0
    c.fill(rect(1 * s, 3 * s, 31 * s, 29 * s, 5 * s),
           vertical_gradient(0, size, hex_colour("4D9DE0"), hex_colour("1F4E8C")))
    c.fill(rect(5 * s, 7 * s, 21 * s, 20 * s, 1.5 * s), (255, 255, 255))
    c.fill(g.picture(13 * s, 13.5 * s, 14 * s), hex_colour("1F4E8C"))
    c.fill(circle(23 * s, 21 * s, 7 * s), WARM)
    c.fill(g.play(23.7 * s, 21 * s, 8 * s), (255, 255, 255))
    return c


def save_ico(images, path):
    """A .ico of 32-bit images; each canvas's cover is its alpha."""
    import struct
    blobs = []
    for c in images:
        rows = []
        for y in range(c.height - 1, -1, -1):
            row = bytearray()
            for x in range(c.width):
                r, gr, b = c.get(x, y)
                row += bytes((b, gr, r, c.cover[y * c.width + x]))
            rows.append(bytes(row))
        mask_stride = ((c.width + 31) // 32) * 4
        mask = b"\0" * (mask_stride * c.height)
        header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        blobs.append(header + b"".join(rows) + mask)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_app_icon(folder, preview=None):
    images = [app_icon_image(32), app_icon_image(16)]
    os.makedirs(folder, exist_ok=True)
    save_ico(images, os.path.join(folder, "app.ico"))
    if preview:
        os.makedirs(preview, exist_ok=True)
        save_png(images[0], os.path.join(preview, "app.png"))
