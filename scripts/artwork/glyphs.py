"""Line icons and a stroke font, drawn as shapes of raster.py.

Every icon is a function (cx, cy, size) -> shape: the icon fills a square of `size` pixels
centred on (cx, cy), with strokes of about a tenth of its size."""

import math

from raster import (arc, circle, ellipse, frame, polygon, polyline, rect, ring, rotate, segment,
                    subtract, union)


class Box:
    """Maps icon units (-1 .. 1 across the square) to pixels."""

    def __init__(self, cx, cy, size):
        self.cx, self.cy, self.h = cx, cy, size / 2.0
        self.w = max(1.3, size / 11.0)  # stroke width

    def p(self, u, v):
        return (self.cx + u * self.h, self.cy + v * self.h)

    def n(self, units):
        return units * self.h

    def line(self, *points, width=None):
        return polyline([self.p(u, v) for u, v in points], width or self.w)

    def poly(self, *points):
        return polygon([self.p(u, v) for u, v in points])


def plus(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((-0.75, 0), (0.75, 0)), b.line((0, -0.75), (0, 0.75)))


def minus(cx, cy, size):
    b = Box(cx, cy, size)
    return b.line((-0.75, 0), (0.75, 0))


def add_all(cx, cy, size):
    b = Box(cx, cy, size)
    back = frame(*b.p(-0.55, -0.95), *b.p(0.95, 0.55), b.n(0.15), b.w)
    front = rect(*b.p(-0.95, -0.55), *b.p(0.55, 0.95), b.n(0.15))
    hole = rect(*[v + b.w for v in b.p(-0.95, -0.55)], *[v - b.w for v in b.p(0.55, 0.95)], b.n(0.1))
    sign = union(b.line((-0.55, 0.2), (0.15, 0.2)), b.line((-0.2, -0.15), (-0.2, 0.55)))
    return union(subtract(back, front), subtract(front, hole), sign)


def trash(cx, cy, size):
    b = Box(cx, cy, size)
    body = b.line((-0.6, -0.45), (-0.5, 0.9), (0.5, 0.9), (0.6, -0.45))
    lid = union(b.line((-0.85, -0.6), (0.85, -0.6)), b.line((-0.3, -0.6), (-0.25, -0.9), (0.25, -0.9), (0.3, -0.6)))
    slats = union(b.line((-0.18, -0.2), (-0.15, 0.6)), b.line((0.18, -0.2), (0.15, 0.6)))
    return union(body, lid, slats)


def arrow_head(px, py, dx, dy, length):
    """A filled head at (px, py) pointing along (dx, dy)."""
    n = math.hypot(dx, dy) or 1.0
    dx, dy = dx / n, dy / n
    tip = (px + dx * length * 0.55, py + dy * length * 0.55)
    back = (px - dx * length * 0.45, py - dy * length * 0.45)
    half = length * 0.55
    return polygon([tip, (back[0] - dy * half, back[1] + dx * half), (back[0] + dy * half, back[1] - dx * half)])


def circular_arrow(cx, cy, r, width, start, end, clockwise, head):
    """An arc from `start` to `end` degrees travelled clockwise (or the reverse) with a head at
    the end of the travel."""
    if clockwise:
        bend = arc(cx, cy, r, width, start, end)
        theta = math.radians(end)
        direction = (-math.sin(theta), math.cos(theta))
    else:
        bend = arc(cx, cy, r, width, end, start)
        theta = math.radians(end)
        direction = (math.sin(theta), -math.cos(theta))
    point = (cx + r * math.cos(theta), cy + r * math.sin(theta))
    return union(bend, arrow_head(point[0], point[1], direction[0], direction[1], head))


def rotate_arrow(cx, cy, size, clockwise):
    b = Box(cx, cy, size)
    if clockwise:
        return circular_arrow(cx, cy, b.n(0.66), b.w, 330, 240, True, b.n(0.62))
    return circular_arrow(cx, cy, b.n(0.66), b.w, 210, 300, False, b.n(0.62))


def rotate_cw(cx, cy, size):
    return rotate_arrow(cx, cy, size, True)


def rotate_ccw(cx, cy, size):
    return rotate_arrow(cx, cy, size, False)


def pencil(cx, cy, size):
    b = Box(cx, cy, size)
    body = b.line((-0.55, 0.55), (0.55, -0.55), width=b.n(0.42))
    tip = b.poly((-0.68, 0.35), (-0.35, 0.68), (-0.9, 0.9))
    cut = b.line((0.3, -0.75), (0.75, -0.3), width=b.w * 0.5)
    return subtract(union(body, tip), cut)


def sun(cx, cy, size):
    b = Box(cx, cy, size)
    parts = [circle(cx, cy, b.n(0.36))]
    for i in range(8):
        a = math.radians(i * 45)
        parts.append(b.line((0.58 * math.cos(a), 0.58 * math.sin(a)), (0.88 * math.cos(a), 0.88 * math.sin(a))))
    return union(*parts)


def note(cx, cy, size):
    b = Box(cx, cy, size)
    heads = union(ellipse(*b.p(-0.5, 0.6), b.n(0.27), b.n(0.2), -20), ellipse(*b.p(0.5, 0.45), b.n(0.27), b.n(0.2), -20))
    stems = union(b.line((-0.26, 0.55), (-0.26, -0.7)), b.line((0.74, 0.4), (0.74, -0.85)))
    beam = b.line((-0.26, -0.7), (0.74, -0.85), width=b.n(0.3))
    return union(heads, stems, beam)


def dots(cx, cy, size):
    b = Box(cx, cy, size)
    r = b.n(0.13)
    return union(circle(*b.p(-0.6, 0), r), circle(*b.p(0, 0), r), circle(*b.p(0.6, 0), r))


def arrow_up(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((0, 0.8), (0, -0.7)), b.line((-0.55, -0.15), (0, -0.75), (0.55, -0.15)))


def arrow_down(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((0, -0.8), (0, 0.7)), b.line((-0.55, 0.15), (0, 0.75), (0.55, 0.15)))


def scissors(cx, cy, size):
    b = Box(cx, cy, size)
    loops = union(ring(*b.p(-0.5, 0.55), b.n(0.25), b.w), ring(*b.p(0.5, 0.55), b.n(0.25), b.w))
    blades = union(b.line((-0.32, 0.33), (0.45, -0.85)), b.line((0.32, 0.33), (-0.45, -0.85)))
    return union(loops, blades)


def play(cx, cy, size):
    b = Box(cx, cy, size)
    return b.poly((-0.45, -0.75), (0.75, 0), (-0.45, 0.75))


def play_begin(cx, cy, size):
    b = Box(cx, cy, size)
    return union(rect(*b.p(-0.8, -0.7), *b.p(-0.55, 0.7), 0.5), b.poly((-0.35, 0), (0.8, -0.7), (0.8, 0.7)))


def stop(cx, cy, size):
    b = Box(cx, cy, size)
    return rect(*b.p(-0.6, -0.6), *b.p(0.6, 0.6), b.n(0.12))


def pause(cx, cy, size):
    b = Box(cx, cy, size)
    return union(rect(*b.p(-0.6, -0.7), *b.p(-0.2, 0.7), b.n(0.08)), rect(*b.p(0.2, -0.7), *b.p(0.6, 0.7), b.n(0.08)))


def chevrons(cx, cy, size, left):
    b = Box(cx, cy, size)
    s = -1 if left else 1
    return union(b.line((-0.6 * s, -0.6), (0, 0), (-0.6 * s, 0.6)), b.line((0, -0.6), (0.6 * s, 0), (0, 0.6)))


def shift_left(cx, cy, size):
    return chevrons(cx, cy, size, True)


def shift_right(cx, cy, size):
    return chevrons(cx, cy, size, False)


def disc(cx, cy, size):
    b = Box(cx, cy, size)
    return union(ring(cx, cy, b.n(0.8), b.w), ring(cx, cy, b.n(0.22), b.w),
                 arc(cx, cy, b.n(0.52), b.w * 0.7, 200, 250))


def microphone(cx, cy, size):
    b = Box(cx, cy, size)
    head = rect(*b.p(-0.3, -0.9), *b.p(0.3, 0.25), b.n(0.3))
    cradle = arc(*b.p(0, -0.05), b.n(0.55), b.w, 0, 180)
    stand = union(b.line((0, 0.5), (0, 0.85)), b.line((-0.35, 0.85), (0.35, 0.85)))
    return union(head, cradle, stand)


def skip(cx, cy, size, forward):
    b = Box(cx, cy, size)
    if forward:
        return union(b.poly((-0.7, -0.7), (0.45, 0), (-0.7, 0.7)), rect(*b.p(0.5, -0.7), *b.p(0.75, 0.7), 0.5))
    return union(rect(*b.p(-0.75, -0.7), *b.p(-0.5, 0.7), 0.5), b.poly((-0.45, 0), (0.7, -0.7), (0.7, 0.7)))


def first(cx, cy, size):
    return skip(cx, cy, size, False)


def last(cx, cy, size):
    return skip(cx, cy, size, True)


def previous(cx, cy, size):
    b = Box(cx, cy, size)
    return b.poly((-0.6, 0), (0.55, -0.7), (0.55, 0.7))


def next_(cx, cy, size):
    b = Box(cx, cy, size)
    return b.poly((0.6, 0), (-0.55, -0.7), (-0.55, 0.7))


def picture(cx, cy, size):
    b = Box(cx, cy, size)
    outline = frame(*b.p(-0.9, -0.7), *b.p(0.9, 0.7), b.n(0.15), b.w)
    hills = b.poly((-0.75, 0.6), (-0.2, -0.05), (0.15, 0.3), (0.4, 0.05), (0.75, 0.45), (0.75, 0.6))
    return union(outline, hills, circle(*b.p(0.4, -0.3), b.n(0.14)))


def folder(cx, cy, size):
    b = Box(cx, cy, size)
    back = b.line((-0.85, 0.7), (-0.85, -0.65), (-0.3, -0.65), (-0.15, -0.45), (0.75, -0.45), (0.75, -0.15))
    front = b.line((-0.85, 0.7), (-0.55, -0.15), (0.95, -0.15), (0.65, 0.7), (-0.85, 0.7))
    return union(back, front)


def eject(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.poly((0, -0.75), (0.7, 0.1), (-0.7, 0.1)), rect(*b.p(-0.7, 0.4), *b.p(0.7, 0.7), b.n(0.06)))


def film(cx, cy, size):
    b = Box(cx, cy, size)
    body = frame(*b.p(-0.95, -0.7), *b.p(0.95, 0.7), b.n(0.12), b.w)
    rails = union(b.line((-0.95, -0.35), (0.95, -0.35), width=b.w * 0.7), b.line((-0.95, 0.35), (0.95, 0.35), width=b.w * 0.7))
    holes = [rect(*b.p(x - 0.08, -0.6), *b.p(x + 0.08, -0.47)) for x in (-0.6, -0.2, 0.2, 0.6)]
    holes += [rect(*b.p(x - 0.08, 0.47), *b.p(x + 0.08, 0.6)) for x in (-0.6, -0.2, 0.2, 0.6)]
    return union(body, rails, *holes, b.poly((-0.2, -0.22), (0.28, 0), (-0.2, 0.22)))


def reset(cx, cy, size):
    b = Box(cx, cy, size)
    return union(circular_arrow(cx, cy, b.n(0.66), b.w, 120, 210, False, b.n(0.6)), circle(cx, cy, b.n(0.13)))


def undo(cx, cy, size):
    b = Box(cx, cy, size)
    return circular_arrow(*b.p(0.05, 0.15), b.n(0.58), b.w, 90, 200, False, b.n(0.6))


def fit_to_music(cx, cy, size):
    b = Box(cx, cy, size)
    small = note(*b.p(0, -0.3), size * 0.55)
    span = union(b.line((-0.85, 0.65), (0.85, 0.65)), b.line((-0.6, 0.42), (-0.85, 0.65), (-0.6, 0.88)),
                 b.line((0.6, 0.42), (0.85, 0.65), (0.6, 0.88)))
    return union(small, span)


def no_transition(cx, cy, size):
    b = Box(cx, cy, size)
    return union(ring(cx, cy, b.n(0.75), b.w), b.line((-0.52, 0.52), (0.52, -0.52)))


def shuffle(cx, cy, size):
    b = Box(cx, cy, size)
    lines = union(b.line((-0.85, -0.5), (-0.35, -0.5), (0.3, 0.5), (0.7, 0.5)),
                  b.line((-0.85, 0.5), (-0.35, 0.5), (0.3, -0.5), (0.7, -0.5)))
    heads = union(b.poly((0.55, -0.78), (0.95, -0.5), (0.55, -0.22)), b.poly((0.55, 0.22), (0.95, 0.5), (0.55, 0.78)))
    return union(lines, heads)


def shuffle_some(cx, cy, size):
    b = Box(cx, cy, size)
    small = shuffle(*b.p(0.15, 0.25), size * 0.75)
    ticks = union(b.line((-0.9, -0.75), (-0.7, -0.55), (-0.35, -0.95), width=b.w * 0.9),
                  b.line((-0.1, -0.72), (0.85, -0.72), width=b.w * 0.9))
    return union(small, ticks)


def bracket_start(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((-0.35, -0.85), (-0.7, -0.85), (-0.7, 0.85), (-0.35, 0.85)),
                 b.line((0.85, 0), (-0.2, 0)), b.line((0.15, -0.35), (-0.2, 0), (0.15, 0.35)))


def bracket_end(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((0.35, -0.85), (0.7, -0.85), (0.7, 0.85), (0.35, 0.85)),
                 b.line((-0.85, 0), (0.2, 0)), b.line((-0.15, -0.35), (0.2, 0), (-0.15, 0.35)))


def to_start(cx, cy, size):
    b = Box(cx, cy, size)
    return union(rect(*b.p(-0.85, -0.75), *b.p(-0.6, 0.75), 0.5), b.line((0.85, 0), (-0.35, 0)),
                 b.line((0.05, -0.45), (-0.4, 0), (0.05, 0.45)))


def to_end(cx, cy, size):
    b = Box(cx, cy, size)
    return union(rect(*b.p(0.6, -0.75), *b.p(0.85, 0.75), 0.5), b.line((-0.85, 0), (0.35, 0)),
                 b.line((-0.05, -0.45), (0.4, 0), (-0.05, 0.45)))


def grid_plus(cx, cy, size):
    b = Box(cx, cy, size)
    cells = [frame(*b.p(x, y), *b.p(x + 0.7, y + 0.7), b.n(0.1), b.w) for x, y in ((-0.9, -0.9), (0.2, -0.9), (-0.9, 0.2))]
    return union(*cells, b.line((0.55, 0.2), (0.55, 0.9)), b.line((0.2, 0.55), (0.9, 0.55)))


def album(cx, cy, size):
    b = Box(cx, cy, size)
    back = b.line((-0.6, -0.85), (0.85, -0.85), (0.85, 0.6))
    return union(back, picture(*b.p(-0.1, 0.15), size * 0.8))


def album_add(cx, cy, size):
    b = Box(cx, cy, size)
    return union(picture(*b.p(-0.15, 0.05), size * 0.8), plus(*b.p(0.65, -0.6), size * 0.45))


def album_remove(cx, cy, size):
    b = Box(cx, cy, size)
    return union(picture(*b.p(-0.15, 0.05), size * 0.8), minus(*b.p(0.65, -0.6), size * 0.45))


def document_add(cx, cy, size):
    b = Box(cx, cy, size)
    page = b.line((0.2, -0.9), (-0.7, -0.9), (-0.7, 0.9), (0.7, 0.9), (0.7, -0.4), (0.2, -0.9), (0.2, -0.4), (0.7, -0.4))
    return union(page, plus(*b.p(0, 0.3), size * 0.45))


def save(cx, cy, size):
    b = Box(cx, cy, size)
    tray = b.line((-0.85, 0.2), (-0.85, 0.85), (0.85, 0.85), (0.85, 0.2))
    return union(tray, b.line((0, -0.9), (0, 0.35)), b.line((-0.4, -0.05), (0, 0.4), (0.4, -0.05)))


def speaker(cx, cy, size):
    b = Box(cx, cy, size)
    body = b.poly((-0.9, -0.3), (-0.45, -0.3), (0.05, -0.8), (0.05, 0.8), (-0.45, 0.3), (-0.9, 0.3))
    return union(body, arc(*b.p(0.05, 0), b.n(0.45), b.w, 300, 60), arc(*b.p(0.05, 0), b.n(0.8), b.w, 305, 55))


def music_file(cx, cy, size):
    b = Box(cx, cy, size)
    page = b.line((0.25, -0.9), (-0.75, -0.9), (-0.75, 0.9), (0.75, 0.9), (0.75, -0.4), (0.25, -0.9))
    return union(page, note(*b.p(0, 0.15), size * 0.55))


def letter_t(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((-0.6, -0.6), (0.6, -0.6)), b.line((0, -0.6), (0, 0.7)))


def subtitle(cx, cy, size):
    b = Box(cx, cy, size)
    return union(b.line((-0.7, 0.05), (0.7, 0.05)), b.line((-0.45, 0.55), (0.45, 0.55)))


def clock(cx, cy, size):
    b = Box(cx, cy, size)
    return union(ring(cx, cy, b.n(0.78), b.w), b.line((0, -0.45), (0, 0), (0.35, 0.2)))


def transition(cx, cy, size):
    b = Box(cx, cy, size)
    back = frame(*b.p(-0.9, -0.75), *b.p(0.35, 0.3), b.n(0.1), b.w)
    front = rect(*b.p(-0.35, -0.3), *b.p(0.9, 0.75), b.n(0.1))
    return union(subtract(back, front), front)


def gear(cx, cy, size):
    b = Box(cx, cy, size)
    teeth = [rotate(rect(*b.p(-0.16, -0.95), *b.p(0.16, -0.5), b.n(0.05)), cx, cy, i * 45) for i in range(8)]
    return subtract(union(circle(cx, cy, b.n(0.65)), *teeth), circle(cx, cy, b.n(0.28)))


# --- Stroke font ----------------------------------------------------------------------------------
# Capitals and digits on a grid 4 wide and 6 high (y downwards), as polylines; rounded strokes give
# them their ends. Corners are cut by one grid step to read as curves at small sizes.

FONT = {
    "A": [[(0, 6), (0, 1.5), (1.5, 0), (2.5, 0), (4, 1.5), (4, 6)], [(0, 3.5), (4, 3.5)]],
    "B": [[(0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(3, 3), (4, 4), (4, 5), (3, 6), (0, 6), (0, 0)]],
    "C": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    "D": [[(0, 0), (2.5, 0), (4, 1.5), (4, 4.5), (2.5, 6), (0, 6), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "F": [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    "G": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5), (4, 3.2), (2.2, 3.2)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3), (4, 0), (4, 6)]],
    "O": [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]],
    "P": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2.5), (3, 3.5), (0, 3.5)]],
    "S": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "W": [[(0, 0), (1, 6), (2, 2.5), (3, 6), (4, 0)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    "2": [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (0, 6), (4, 6)]],
    "3": [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (1.5, 3)], [(3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]],
    "4": [[(3, 6), (3, 0), (0, 4), (4, 4)]],
}


def text_width(text, height, spacing=0.9):
    unit = height / 6.0
    return (len(text) * 4 + (len(text) - 1) * spacing * 4 / 2.0) * unit


def text(x, y, height, string, width=None, spacing=0.9):
    """The shape of `string` with its top-left at (x, y), `height` pixels high."""
    unit = height / 6.0
    stroke = width or max(1.2, height / 6.0)
    parts = []
    cursor = x
    for ch in string:
        for line in FONT[ch]:
            parts.append(polyline([(cursor + u * unit, y + v * unit) for u, v in line], stroke))
        cursor += (4 + spacing * 2) * unit
    return union(*parts)


def wordmark(x, y, height, width):
    """The product name "Pictavo" in lower-case strokes (x-height = height), top-left at (x, y)
    of the x-height box; returns (shape, advance)."""
    h = float(height)
    r = h / 2.0
    parts = []
    cx = x
    # P: a capital, from the cap height to the baseline, with its bowl on the upper half.
    top = y - h * 0.55
    bowl_r = h * 0.42
    knee = cx + r * 0.45
    parts.append(segment(cx, top, cx, y + h, width))
    parts.append(segment(cx, top, knee, top, width))
    parts.append(segment(cx, top + 2 * bowl_r, knee, top + 2 * bowl_r, width))
    parts.append(arc(knee, top + bowl_r, bowl_r, width, 270, 90))
    cx = knee + bowl_r + width * 2.4
    # i
    parts.append(segment(cx, y, cx, y + h, width))
    parts.append(circle(cx, y - h * 0.35, width * 0.75))
    cx += width * 2.4
    # c
    parts.append(arc(cx + r, y + r, r, width, 40, 320))
    cx += 2 * r + width * 1.6
    # t
    parts.append(segment(cx + r * 0.45, y - h * 0.45, cx + r * 0.45, y + h - r * 0.45, width))
    parts.append(arc(cx + r * 0.45 + r * 0.45, y + h - r * 0.45, r * 0.45, width, 90, 180))
    parts.append(segment(cx, y, cx + r * 1.1, y, width))
    cx += r * 1.1 + width * 1.8
    # a
    parts.append(ring(cx + r, y + r, r, width))
    parts.append(segment(cx + 2 * r, y, cx + 2 * r, y + h, width))
    cx += 2 * r + width * 2.2
    # v
    parts.append(polyline([(cx, y), (cx + r * 0.9, y + h), (cx + r * 1.8, y)], width))
    cx += r * 1.8 + width * 2.0
    # o
    parts.append(ring(cx + r, y + r, r, width))
    cx += 2 * r
    return union(*parts), cx - x
