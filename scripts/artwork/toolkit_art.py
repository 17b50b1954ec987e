"""The toolkit's own pictures: the menu glyphs (bitmap 16129, one row of 9 x 9 cells on magenta,
black symbols with grey disabled twins and white ones for pressed buttons) and the two stretch
cursors (30980 left-right, 30981 up-down). Symbols are drawn pixel by pixel: at 9 x 9 any
smoothing would blur them, and the strip maps black, grey and white to the system colours."""

import os
import struct

from raster import Canvas, save_png

CELL = 9
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)


def rows(text):
    lines = [line.strip() for line in text.strip().splitlines()]
    assert len(lines) == CELL and all(len(line) == CELL for line in lines), text
    return lines


def transpose(lines):
    return ["".join(lines[y][x] for y in range(CELL)) for x in range(CELL)]


def flip_vertical(lines):
    return list(reversed(lines))


def flip_horizontal(lines):
    return [line[::-1] for line in lines]


ARROW_DOWN = rows("""
    .........
    .........
    .........
    .XXXXXXX.
    ..XXXXX..
    ...XXX...
    ....X....
    .........
    .........""")
ARROW_UP = flip_vertical(ARROW_DOWN)
ARROW_RIGHT = transpose(ARROW_DOWN)
ARROW_LEFT = flip_horizontal(ARROW_RIGHT)
CHECK = rows("""
    .........
    .......X.
    ......XX.
    .X...XXX.
    .XX.XXX..
    .XXXXX...
    ..XXX....
    ...X.....
    .........""")
RADIO = rows("""
    .........
    .........
    ...XXX...
    ..XXXXX..
    ..XXXXX..
    ..XXXXX..
    ...XXX...
    .........
    .........""")
MINIMIZE = rows("""
    .........
    .........
    .........
    .........
    .........
    .........
    .XXXXXX..
    .XXXXXX..
    .........""")
RESTORE = rows("""
    ..XXXXXX.
    ..XXXXXX.
    ..X....X.
    XXXXXX.X.
    XXXXXX.X.
    X....XXX.
    X....X...
    X....X...
    XXXXXX...""")
CLOSE = rows("""
    .........
    .XX...XX.
    ..XX.XX..
    ...XXX...
    ....X....
    ...XXX...
    ..XX.XX..
    .XX...XX.
    .........""")
MAXIMIZE = rows("""
    XXXXXXXXX
    XXXXXXXXX
    X.......X
    X.......X
    X.......X
    X.......X
    X.......X
    XXXXXXXXX
    .........""")
SHOW_ALL = rows("""
    .........
    .XX...XX.
    ..XX.XX..
    ...XXX...
    ....X....
    .XX...XX.
    ..XX.XX..
    ...XXX...
    ....X....""")
CUSTOMIZE_DOWN = rows("""
    .........
    .........
    .XXXXXXX.
    .........
    .XXXXXXX.
    ..XXXXX..
    ...XXX...
    ....X....
    .........""")
CUSTOMIZE_MORE = rows("""
    .........
    X...X....
    XX..XX...
    .XX..XX..
    ..XX..XX.
    .XX..XX..
    XX..XX...
    X...X....
    .........""")
CUSTOMIZE_MORE_VERT = transpose(CUSTOMIZE_MORE)
PIN = rows("""
    .........
    ...X.....
    ...XXXXX.
    ...X...X.
    XXXX...X.
    ...XXXXX.
    ...XXXXX.
    ...X.....
    .........""")
PIN_VERT = transpose(PIN)
PAGE_LEFT = rows("""
    .........
    .X....X..
    .X...XX..
    .X..XXX..
    .X.XXXX..
    .X..XXX..
    .X...XX..
    .X....X..
    .........""")

# Cell order: the indexes the toolkit draws by (CPlxMenuGlyphs::Glyph).
GLYPHS = [
    (ARROW_DOWN, BLACK), (ARROW_DOWN, GREY),              # 0, 1
    (ARROW_LEFT, BLACK), (ARROW_LEFT, GREY),              # 2, 3
    (RADIO, BLACK), (RADIO, GREY),                        # 4, 5
    (CHECK, BLACK), (CHECK, GREY),                        # 6, 7 the menus' check mark
    (MINIMIZE, BLACK), (MINIMIZE, GREY),                  # 8, 9
    (RESTORE, BLACK), (RESTORE, GREY),                    # 10, 11
    (CLOSE, BLACK), (CLOSE, GREY),                        # 12, 13
    (MAXIMIZE, BLACK), (MAXIMIZE, GREY),                  # 14, 15
    (ARROW_UP, BLACK), (ARROW_UP, GREY),                  # 16, 17
    (SHOW_ALL, BLACK),                                    # 18
    (ARROW_RIGHT, BLACK), (ARROW_RIGHT, GREY),            # 19, 20
    (CUSTOMIZE_MORE, BLACK), (RADIO, BLACK),              # 21 a chevron's hidden buttons, 22 the menus' radio mark
    (CUSTOMIZE_MORE, BLACK), (CUSTOMIZE_MORE_VERT, BLACK),  # 23, 24
    (PIN, BLACK), (PIN_VERT, BLACK),                      # 25, 26
    (PAGE_LEFT, BLACK),                                   # 27
    (ARROW_DOWN, WHITE),                                  # 28 dropped combo
    (MINIMIZE, WHITE), (RESTORE, WHITE), (CLOSE, WHITE),  # 29, 30, 31 pressed
]


def glyph_strip():
    c = Canvas(CELL * len(GLYPHS), CELL, MAGENTA)
    for i, (pattern, colour) in enumerate(GLYPHS):
        for y, line in enumerate(pattern):
            for x, ch in enumerate(line):
                if ch == "X":
                    c.rect(i * CELL + x, y, i * CELL + x + 1, y + 1, colour)
    return c


def save_cursor(pattern, hotspot, path):
    """A 32 x 32 monochrome .cur: black shape with a white outline, the rest transparent."""
    size = 32
    h = len(pattern)
    w = len(pattern[0])
    ox, oy = (size - w) // 2, (size - h) // 2
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):  # bottom-up
        xor_bits, and_bits = 0, 0
        for x in range(size):
            px, py = x - ox, y - oy
            ch = pattern[py][px] if 0 <= px < w and 0 <= py < h else "."
            xor_bits <<= 1
            and_bits <<= 1
            if ch == "X":
                pass  # black: colour 0, opaque
            elif ch == "o":
                xor_bits |= 1  # white: colour 1, opaque
            else:
                and_bits |= 1  # transparent
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 0, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    blob = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    hx, hy = hotspot[0] + ox, hotspot[1] + oy
    out = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 2, 0, hx, hy, len(blob), 22)
    with open(path, "wb") as f:
        f.write(out + blob)


def stretch_horz():
    # A two-headed arrow across a divider line.
    art = [
        "......ooo......",
        "......oXo......",
        "...oo.oXo.oo...",
        "..oXo.oXo.oXo..",
        ".oXXooooXooXXo.",
        "oXXXXXXXXXXXXXo",
        ".oXXooooXooXXo.",
        "..oXo.oXo.oXo..",
        "...oo.oXo.oo...",
        "......oXo......",
        "......ooo......",
    ]
    return art, (7, 5)


def stretch_vert():
    art, (hx, hy) = stretch_horz()
    width = len(art[0])
    return ["".join(art[y][x] for y in range(len(art))) for x in range(width)], (hy, hx)


def write_toolkit_art(root, preview=None):
    bitmaps = os.path.join(root, "bitmaps")
    cursors = os.path.join(root, "cursors")
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(cursors, exist_ok=True)
    strip = glyph_strip()
    strip.save_bmp(os.path.join(bitmaps, "menu_glyphs.bmp"))
    art, hot = stretch_horz()
    save_cursor(art, hot, os.path.join(cursors, "stretch_horz.cur"))
    art, hot = stretch_vert()
    save_cursor(art, hot, os.path.join(cursors, "stretch_vert.cur"))
    if preview:
        os.makedirs(preview, exist_ok=True)
        big = Canvas(strip.width * 4, strip.height * 4)
        for y in range(big.height):
            for x in range(big.width):
                big.rect(x, y, x + 1, y + 1, strip.get(x // 4, y // 4))
        save_png(big, os.path.join(preview, "menu_glyphs_x4.png"))
