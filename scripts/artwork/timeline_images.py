"""The pictures of the album options page's timeline (data/images): strips of item frames, one
frame per state (normal, under the mouse, selected, selected under the mouse), and the caps and
middle of a music clip (selected, then unselected). Black is the image lists' mask colour: what no
shape covers stays black and lets the timeline's white show through."""

from raster import Canvas, frame, hex_colour, rect, segment, union, write_pictures, vertical_gradient

WHITE = (255, 255, 255)
KEY = (0, 0, 0)
CARD_TOP = hex_colour("FAFBFC")
CARD_BOTTOM = hex_colour("ECEFF3")
CARD_EDGE = hex_colour("C3CAD4")
HOT_TOP = hex_colour("FFFFFF")
HOT_BOTTOM = hex_colour("F1F6FD")
HOT_EDGE = hex_colour("8DB5EE")
SELECTED_TOP = hex_colour("E8F1FD")
SELECTED_BOTTOM = hex_colour("CFE0F9")
SELECTED_EDGE = hex_colour("5C93E6")
SELECTED_HOT_EDGE = hex_colour("2F80ED")
SLOT = hex_colour("DDE2E8")
SLOT_EDGE = hex_colour("B8C0CB")
INK = hex_colour("4A6F9E")

# (top, bottom, edge, edge width) per state.
STATES = [
    (CARD_TOP, CARD_BOTTOM, CARD_EDGE, 1.0),
    (HOT_TOP, HOT_BOTTOM, HOT_EDGE, 1.2),
    (SELECTED_TOP, SELECTED_BOTTOM, SELECTED_EDGE, 1.4),
    (SELECTED_TOP, SELECTED_BOTTOM, SELECTED_HOT_EDGE, 2.0),
]


def card(size, radius, state):
    top, bottom, edge, width = STATES[state]
    c = Canvas(size, size, WHITE)
    c.fill(rect(1, 1, size - 1, size - 1, radius), vertical_gradient(1, size - 1, top, bottom))
    c.fill(frame(1, 1, size - 1, size - 1, radius, width), edge)
    return c


def strip(frames):
    w, h = frames[0].width, frames[0].height
    s = Canvas(w * len(frames), h, KEY)
    for i, f in enumerate(frames):
        f.key_uncovered(KEY)
        s.paste(f, i * w, 0)
    return s


def photo_item(state):
    c = card(100, 7, state)
    # The thumbnail's place and the two click zones (duration, sound) under it.
    c.fill(rect(9, 14, 91, 76, 2), SLOT)
    c.fill(frame(9, 14, 91, 76, 2, 1.0), SLOT_EDGE)
    for x0 in (10, 60):
        c.fill(rect(x0, 77, x0 + 30, 91, 3), WHITE, opacity=0.85)
        c.fill(frame(x0, 77, x0 + 30, 91, 3, 1.0), SLOT_EDGE)
    return c


def transition_item(state):
    c = card(50, 6, state)
    c.fill(rect(4, 2, 46, 34, 2), SLOT)
    c.fill(rect(6, 35, 44, 47, 3), WHITE, opacity=0.85)
    c.fill(frame(6, 35, 44, 47, 3, 1.0), SLOT_EDGE)
    return c


def title_glyph():
    # A large "T" over two text lines: the album's opening titles.
    return union(rect(22, 12, 48, 17, 1), rect(32.5, 12, 37.5, 36, 1), rect(18, 40, 52, 42.5, 1))


def credit_glyph():
    # Lines of names rolling up: the closing credits.
    return union(rect(20, 12, 50, 14.5, 1), rect(24, 19, 46, 21.5, 1), rect(18, 26, 52, 28.5, 1),
                 rect(26, 33, 44, 35.5, 1), rect(22, 40, 48, 42.5, 1))


def text_item(state, glyph):
    c = card(70, 7, state)
    c.fill(glyph, INK)
    c.fill(rect(20, 49, 50, 63, 3), WHITE, opacity=0.85)
    c.fill(frame(20, 49, 50, 63, 3, 1.0), SLOT_EDGE)
    return c


def music_pieces(top, bottom, edge):
    """Left cap, middle and right cap, each 9 x 30."""
    full = Canvas(27, 30, WHITE)
    full.fill(rect(0.5, 1, 26.5, 29, 6), vertical_gradient(1, 29, top, bottom))
    full.fill(frame(0.5, 1, 26.5, 29, 6, 1.0), edge)
    # The middle piece is stretched, so it is one column of the band repeated.
    mid = Canvas(9, 30, WHITE)
    for y in range(30):
        col = full.get(13, y)
        for x in range(9):
            mid.rect(x, y, x + 1, y + 1, col)
    left, right = Canvas(9, 30, WHITE), Canvas(9, 30, WHITE)
    for y in range(30):
        for x in range(9):
            left.rect(x, y, x + 1, y + 1, full.get(x, y))
            right.rect(x, y, x + 1, y + 1, full.get(18 + x, y))
    # Corners outside the band stay white on the white timeline; nothing is keyed.
    return [left, mid, right]


def music_item():
    selected = music_pieces(hex_colour("3C8BF0"), hex_colour("1F62C0"), hex_colour("1A4F9C"))
    normal = music_pieces(hex_colour("E4EFFD"), hex_colour("C3DAF8"), hex_colour("8DB5EE"))
    s = Canvas(9 * 6, 30, WHITE)
    for i, piece in enumerate(selected + normal):
        s.paste(piece, i * 9, 0)
    return s


def write_timeline_images(folder, preview=None):
    pictures = {
        "timeline-photo-item.bmp": strip([photo_item(i) for i in range(4)]),
        "timeline-transition-item.bmp": strip([transition_item(i) for i in range(4)]),
        "timeline-album-title.bmp": strip([text_item(i, title_glyph()) for i in range(4)]),
        "timeline-album-credit.bmp": strip([text_item(i, credit_glyph()) for i in range(4)]),
        "timeline-music-item.bmp": music_item(),
    }
    write_pictures(pictures, folder, preview)
    return pictures


if __name__ == "__main__":
    import os
    import sys

    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    write_timeline_images(os.path.join(root, "data", "images"), sys.argv[1] if len(sys.argv) > 1 else None)
