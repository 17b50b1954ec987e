"""The pictures of the Options dialog's category list (data/images): the selection picture laid
under the chosen item (100 x 60, drawn on the list's cream background) and the icon strip of the
categories, one 32 x 32 icon per page in page order, magenta where the list shows through."""

import os

import glyphs as g
from raster import Canvas, frame, hex_colour, rect, write_pictures, vertical_gradient

LIST_BACKGROUND = (255, 250, 241)  # the list's own fill, RGB(255, 250, 241)
SELECTED_TOP = hex_colour("E8F1FD")
SELECTED_BOTTOM = hex_colour("D3E3FA")
SELECTED_EDGE = hex_colour("7EAAF0")
INK = hex_colour("1F4E8C")
ACCENT = hex_colour("2F80ED")
KEY = (255, 0, 255)

ICON = 32


def selection():
    c = Canvas(100, 60, LIST_BACKGROUND)
    c.fill(rect(1, 1, 97, 59, 5), vertical_gradient(1, 59, SELECTED_TOP, SELECTED_BOTTOM))
    c.fill(frame(1, 1, 97, 59, 5, 1.2), SELECTED_EDGE)
    return c


def icons():
    # Edges are smoothed against the list's background, then everything left untouched is keyed.
    c = Canvas(ICON * 2, ICON, LIST_BACKGROUND)
    c.fill(g.gear(ICON / 2.0, ICON / 2.0, 26), INK)
    c.fill(g.album(ICON + ICON / 2.0, ICON / 2.0, 26), ACCENT)
    c.key_uncovered(KEY)
    return c


def write_options_images(folder, preview=None):
    pictures = {"opt_listbox_select.bmp": selection(), "opt_images_list_normal.bmp": icons()}
    write_pictures(pictures, folder, preview)
    return pictures
