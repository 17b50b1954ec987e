"""A small anti-aliased rasteriser for the program's flat artwork, standard library only.

Shapes are signed distance functions (negative inside, in pixels); a pixel's coverage is taken
from the distance at its centre, which gives one pixel of smooth edge. Canvases are 24-bit RGB
and are written as bottom-up 24-bit BMP files."""

import math
import struct


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    """Colour a blended towards b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def hex_colour(text):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


# --- Shapes ---------------------------------------------------------------------------------------
# Each shape is (sdf, bbox) with sdf(x, y) -> distance and bbox = (x0, y0, x1, y1) in pixels.


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r, width):
    half = width / 2.0
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half,
            (cx - r - half, cy - r - half, cx + r + half, cy + r + half))


def ellipse(cx, cy, rx, ry, angle=0.0):
    """An approximate distance, exact enough for small filled ellipses."""
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    k = min(rx, ry)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        return (math.hypot(u / rx, v / ry) - 1.0) * k

    r = max(rx, ry)
    return (sdf, (cx - r, cy - r, cx + r, cy + r))


def rect(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    r = min(radius, hx, hy)

    def sdf(x, y):
        qx = abs(x - cx) - hx + r
        qy = abs(y - cy) - hy + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return (sdf, (x0, y0, x1, y1))


def frame(x0, y0, x1, y1, radius, width):
    """The outline of a rounded rectangle, `width` thick, inside its bounds."""
    outer = rect(x0, y0, x1, y1, radius)[0]
    inner = rect(x0 + width, y0 + width, x1 - width, y1 - width, max(0.0, radius - width))[0]
    return (lambda x, y: max(outer(x, y), -inner(x, y)), (x0, y0, x1, y1))


def segment(ax, ay, bx, by, width):
    """A line with round ends, `width` thick."""
    half = width / 2.0
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half

    return (sdf, (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half))


def polyline(points, width):
    parts = [segment(a[0], a[1], b[0], b[1], width) for a, b in zip(points, points[1:])]
    return union(*parts)


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = clamp((wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -d if inside else d

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (sdf, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, r, width, start, end):
    """Part of a circle from angle `start` to `end` (degrees, clockwise from 3 o'clock, since y
    grows downwards), with round ends."""
    half = width / 2.0
    a0, a1 = math.radians(start), math.radians(end)
    span = (a1 - a0) % (2 * math.pi) or 2 * math.pi
    p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))

    def sdf(x, y):
        angle = (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)
        if angle <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - half
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - half

    return (sdf, (cx - r - half, cy - r - half, cx + r + half, cy + r + half))


def union(*shapes):
    sdfs = [s[0] for s in shapes]
    boxes = [s[1] for s in shapes]
    return (lambda x, y: min(f(x, y) for f in sdfs),
            (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes), max(b[3] for b in boxes)))


def subtract(shape, hole):
    f, g = shape[0], hole[0]
    return (lambda x, y: max(f(x, y), -g(x, y)), shape[1])


def intersect(a, b):
    f, g = a[0], b[0]
    return (lambda x, y: max(f(x, y), g(x, y)), a[1])


def translate(shape, dx, dy):
    f, b = shape
    return (lambda x, y: f(x - dx, y - dy), (b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy))


def rotate(shape, cx, cy, degrees):
    f, b = shape
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return f(cx + dx * c + dy * s, cy - dx * s + dy * c)

    corners = [(b[0], b[1]), (b[2], b[1]), (b[0], b[3]), (b[2], b[3])]
    moved = [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c) for px, py in corners]
    return (sdf, (min(p[0] for p in moved), min(p[1] for p in moved), max(p[0] for p in moved),
                  max(p[1] for p in moved)))


# --- Canvas ---------------------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255)):
        self.width = width
        self.height = height
        self.pixels = bytearray(bytes(background) * (width * height))
        # How much of each pixel shapes have covered, for pictures with a key colour.
        self.cover = bytearray(width * height)

    def _blend(self, x, y, colour, alpha):
        i = (y * self.width + x) * 3
        p = self.pixels
        if alpha >= 0.999:
            p[i], p[i + 1], p[i + 2] = colour
        else:
            p[i] = int(round(p[i] + (colour[0] - p[i]) * alpha))
            p[i + 1] = int(round(p[i + 1] + (colour[1] - p[i + 1]) * alpha))
            p[i + 2] = int(round(p[i + 2] + (colour[2] - p[i + 2]) * alpha))
        j = y * self.width + x
        self.cover[j] = max(self.cover[j], int(alpha * 255))

    def fill(self, shape, colour, opacity=1.0, hard=False):
        """Fills a shape. `colour` is an (r, g, b) or a function (x, y) -> (r, g, b). With
        `hard`, pixels are either in or out (for pictures mapped or keyed by exact colours)."""
        sdf, (bx0, by0, bx1, by1) = shape
        x0, y0 = max(0, int(math.floor(bx0)) - 1), max(0, int(math.floor(by0)) - 1)
        x1, y1 = min(self.width, int(math.ceil(bx1)) + 1), min(self.height, int(math.ceil(by1)) + 1)
        solid = not callable(colour)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sdf(x + 0.5, y + 0.5)
                if d >= 0.5:
                    continue
                a = (1.0 if d <= 0 else 0.0) if hard else clamp(0.5 - d)
                a *= opacity
                if a <= 0:
                    continue
                self._blend(x, y, colour if solid else colour(x + 0.5, y + 0.5), a)

    def rect(self, x0, y0, x1, y1, colour):
        """Fills whole pixels, fast (no shape)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self._blend(x, y, colour if not callable(colour) else colour(x + 0.5, y + 0.5), 1.0)

    def get(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def key_uncovered(self, key):
        """Pixels no shape touched become the key colour (the image list's mask colour)."""
        for j, c in enumerate(self.cover):
            if c == 0:
                self.pixels[j * 3:j * 3 + 3] = bytes(key)

    def paste(self, other, dx, dy):
        for y in range(other.height):
            if not 0 <= y + dy < self.height:
                continue
            for x in range(other.width):
                if 0 <= x + dx < self.width:
                    i = ((y + dy) * self.width + x + dx) * 3
                    j = (y * other.width + x) * 3
                    self.pixels[i:i + 3] = other.pixels[j:j + 3]

    def save_bmp(self, path):
        """A 24-bit bottom-up BMP."""
        stride = (self.width * 3 + 3) // 4 * 4
        pad = b"\0" * (stride - self.width * 3)
        rows = []
        for y in range(self.height - 1, -1, -1):
            row = self.pixels[y * self.width * 3:(y + 1) * self.width * 3]
            bgr = bytearray(len(row))
            bgr[0::3], bgr[1::3], bgr[2::3] = row[2::3], row[1::3], row[0::3]
            rows.append(bytes(bgr) + pad)
        bits = b"".join(rows)
        offset = 14 + 40
        header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + bits)


def vertical_gradient(y0, y1, top, bottom):
    return lambda x, y: mix(top, bottom, clamp((y - y0) / float(y1 - y0 or 1)))


def horizontal_gradient(x0, x1, left, right):
    return lambda x, y: mix(left, right, clamp((x - x0) / float(x1 - x0 or 1)))


def save_png(canvas, path):
    """A PNG copy of a canvas, to look at the artwork (the program reads the BMP files)."""
    import zlib

    raw = b"".join(b"\0" + bytes(canvas.pixels[y * canvas.width * 3:(y + 1) * canvas.width * 3])
                   for y in range(canvas.height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_pictures(pictures, folder, preview=None):
    """Writes each canvas of {file name: canvas} as a BMP file in `folder` and, with `preview`, a
    PNG copy of it there to look at."""
    import os

    os.makedirs(folder, exist_ok=True)
    for name, canvas in pictures.items():
        canvas.save_bmp(os.path.join(folder, name))
        if preview:
            os.makedirs(preview, exist_ok=True)
            save_png(canvas, os.path.join(preview, name[:-4] + ".png"))
    return pictures
