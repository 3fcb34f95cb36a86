#!/usr/bin/env python3
"""Draws the programs' icons: the configurator's (ordelin), the mail sender's (quillet) and the
controls demo's, each at 16, 32 and 48 pixels. Writes the icon files that the programs embed
(MAINICON.ico, PNG images inside) and the configurator's PNGs for the freedesktop icon theme. Also
draws the configurator's window pictures as bitmaps (configurator/images): the grid's image strip, the
tool-bar glyphs, the folder glyph of the settings dialog and the logo.

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


def rendered(shapes, size, backdrop, key):
    """Shapes over a backdrop colour; pixels that no shape touches get the key colour (transparent)."""
    out = []
    for row in render(shapes, size):
        line = []
        for r, g, b, a in row:
            if a == 0:
                line.append(key)
            else:
                f = a / 255
                line.append(tuple(round(c * f + k * (1 - f)) for c, k in zip((r, g, b), backdrop)))
        out.append(line)
    return out


def bmp(rows):
    """A 32-bit Windows bitmap of rows of RGB tuples, bottom row first as the format stores it."""
    height, width = len(rows), len(rows[0])
    pixels = b"".join(bytes((b, g, r, 0)) for row in reversed(rows) for r, g, b in row)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


def strip(images):
    """Images of the same height side by side."""
    return [sum((image[y] for image in images), []) for y in range(len(images[0]))]


BUTTON_FACE = (192, 192, 192)
CELL = (255, 255, 255)
KEY = (255, 0, 255)
GREY = (150, 150, 150)
BLUE = (40, 90, 190)
YELLOW = (235, 190, 60)


def switch(on):
    """A grid switch: a green check or a red cross in a round badge."""
    if on:
        marks = [(line(14, 25, 21, 32, 5), WHITE), (line(21, 32, 34, 15, 5), WHITE)]
    else:
        marks = [(line(16, 16, 32, 32, 5), WHITE), (line(32, 16, 16, 32, 5), WHITE)]
    return [(circle(24, 24, 19), OUTLINE), (circle(24, 24, 17), GREEN if on else RED)] + marks


def state(colour, mark=None):
    """A host state: a coloured lamp, with a white mark for the unknown state."""
    shapes = [(circle(24, 24, 18), OUTLINE), (circle(24, 24, 16), colour), (circle(18, 18, 5), (255, 255, 255))]
    return shapes + ([mark] if mark else [])


def question_mark(colour):
    """A question mark in a 48-unit square."""
    ring = lambda x, y: 7 ** 2 <= (x - 24) ** 2 + (y - 17) ** 2 <= 12 ** 2 and not (x < 24 and y > 17)
    return [(ring, colour), (rect(21, 24, 27, 33), colour), (circle(24, 40, 3.5), colour)]


def grid_images():
    """ImageList1: 0 switch off, 1 switch on, 2 to 5 spare, 6 state unknown, 7 host not answering,
    8 host answering, 9 service running, 10 service not running."""
    spare = [(circle(24, 24, 6), GREY)]
    unknown = [(circle(24, 24, 18), OUTLINE), (circle(24, 24, 16), GREY)] + question_mark(WHITE)
    running = [(circle(24, 24, 20), OUTLINE), (circle(24, 24, 18), GREEN),
               (polygon([(18, 13), (36, 24), (18, 35)]), WHITE)]
    stopped = [(circle(24, 24, 20), OUTLINE), (circle(24, 24, 18), RED), (rect(16, 16, 32, 32), WHITE)]
    drawings = [switch(False), switch(True), spare, spare, spare, spare, unknown, state(RED), state(GREEN),
                running, stopped]
    return strip([rendered(d, 16, CELL, KEY) for d in drawings])


def glyphs():
    """The tool-bar glyphs (32 pixels) and the settings dialog's folder glyph (16 pixels)."""
    page = [(rect(8, 6, 34, 42), OUTLINE), (rect(10, 8, 32, 40), WHITE)]
    for top in (14, 22, 30):
        page.append((rect(13, top, 29, top + 3), GREY))
    insert = page + [(circle(34, 34, 11), OUTLINE), (circle(34, 34, 9.5), GREEN),
                     (rect(28, 32, 40, 36), WHITE), (rect(32, 28, 36, 40), WHITE)]
    remove = page + [(circle(34, 34, 11), OUTLINE), (circle(34, 34, 9.5), RED), (rect(28, 32, 40, 36), WHITE)]
    save = [(rounded_rect(6, 6, 42, 42, 3), OUTLINE), (rect(9, 9, 39, 39), SCREEN), (rect(14, 9, 34, 21), WHITE),
            (rect(28, 11, 32, 19), OUTLINE), (rect(13, 27, 35, 39), (225, 225, 225)), (rect(16, 31, 32, 33), GREY)]
    help_ = [(circle(24, 24, 20), OUTLINE), (circle(24, 24, 18), BLUE)] + question_mark(WHITE)
    folder = [(polygon([(4, 12), (18, 12), (22, 16), (44, 16), (44, 40), (4, 40)]), OUTLINE),
              (polygon([(6, 14), (17, 14), (21, 18), (42, 18), (42, 38), (6, 38)]), YELLOW),
              (rect(6, 22, 42, 24), (200, 150, 40))]
    named = {"GLYPHINSERT": insert, "GLYPHREMOVE": remove, "GLYPHSAVE": save, "GLYPHHELP": help_}
    result = {name: rendered(d, 32, BUTTON_FACE, BUTTON_FACE) for name, d in named.items()}
    result["GLYPHFOLDER"] = rendered(folder, 16, BUTTON_FACE, BUTTON_FACE)
    result["LOGO"] = rendered(ordelin(), 64, BUTTON_FACE, BUTTON_FACE)
    return result


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
    images = root / "configurator/images"
    images.mkdir(parents=True, exist_ok=True)
    (images / "IMAGELIST1.bmp").write_bytes(bmp(grid_images()))
    for name, rows in glyphs().items():
        (images / f"{name}.bmp").write_bytes(bmp(rows))


if __name__ == "__main__":
    main()
