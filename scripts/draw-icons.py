#!/usr/bin/env python3
"""Draws the programs' icons: the configurator's (ordelin), the mail sender's (quillet) and the
controls demo's, each at 16, 32 and 48 pixels. Writes the icon files that the programs embed
(MAINICON.ico, PNG images inside) and the configurator's PNGs for the freedesktop icon theme.

Usage: scripts/draw-icons.py [OUTPUT_ROOT]   (default: the project folder; the suite draws into a
temporary folder and compares the result with the files in the project)
"""
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 32, 48)
SAMPLES = 4  # per pixel and direction: edges are smoothed by coverage


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def line(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def render(shapes, size):
    """Shapes in a 48-unit square, painted in order: (test, (r, g, b)). Rows of RGBA tuples."""
    scale = 48.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for test, fill in shapes:
                        if test(x, y):
                            colour = fill
                    if colour is not None:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = SAMPLES * SAMPLES
            row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def ico(images):
    """An icon file of PNG images, smallest first."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


OUTLINE = (48, 52, 64)
SCREEN = (38, 92, 160)
WHITE = (250, 250, 250)
GREEN = (60, 180, 75)
RED = (215, 50, 45)


def ordelin():
    """The configurator: a monitor whose screen lists hosts, two answering and one not."""
    shapes = [
        (polygon([(18, 38), (30, 38), (33, 45), (15, 45)]), OUTLINE),
        (rounded_rect(2, 4, 46, 39, 4), OUTLINE),
        (rect(6, 8, 42, 35), SCREEN),
    ]
    for i, state in enumerate((GREEN, GREEN, RED)):
        top = 11 + i * 8
        shapes.append((rect(9, top, 39, top + 5), WHITE))
        shapes.append((circle(13, top + 2.5, 3.2), state))
    return shapes


def quillet():
    """The mail sender: an envelope going out, with an arrow."""
    return [
        (rect(2, 9, 40, 37), OUTLINE),
        (rect(4, 11, 38, 35), (245, 240, 225)),
        (line(4, 12, 21, 25, 2.6), OUTLINE),
        (line(38, 12, 21, 25, 2.6), OUTLINE),
        (polygon([(30, 30), (40, 30), (40, 25), (47, 34), (40, 43), (40, 38), (30, 38)]), (40, 130, 60)),
    ]


def demo():
    """The controls demo: a window with a title bar, a check box and a button."""
    return [
        (rect(2, 5, 46, 43), OUTLINE),
        (rect(4, 7, 44, 15), (20, 40, 140)),
        (rect(4, 15, 44, 41), (236, 233, 216)),
        (rect(8, 20, 16, 28), OUTLINE),
        (rect(10, 22, 14, 26), WHITE),
        (rect(20, 22, 40, 26), (150, 150, 150)),
        (rect(18, 31, 40, 38), OUTLINE),
        (rect(19, 32, 39, 37), (210, 206, 190)),
    ]


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    for drawing, folder in ((ordelin, "configurator/icons"), (quillet, "mailer/icons"), (demo, "demo/icons")):
        images = [(size, png(render(drawing(), size))) for size in SIZES]
        (root / folder).mkdir(parents=True, exist_ok=True)
        (root / folder / "MAINICON.ico").write_bytes(ico(images))
        if drawing is ordelin:
            for size, data in images:
                theme = root / "configurator/desktop/icons/hicolor" / f"{size}x{size}" / "apps"
                theme.mkdir(parents=True, exist_ok=True)
                (theme / "ordelin.png").write_bytes(data)


if __name__ == "__main__":
    main()
