#!/usr/bin/env python3
"""Draws the bitmaps that the grid paints its cell controls with: check boxes (ZGCHK01..08), radio
buttons (ZGRAD01..08), tree leaves (ZGLEAFCLOSE, ZGLEAFOPEN) and the markers that show where panning
began (INTLI1 both ways, INTLI2 across, INTLI3 up and down), as 24-bit BMP files in grid/resources.
Pixels outside a shape are magenta, the colour the grid leaves out when it draws them.

Usage: scripts/draw-grid-bitmaps.py [OUTPUT_FOLDER]   (default: grid/resources of the project)
"""
import struct
import sys
from pathlib import Path

CLEAR = (255, 0, 255)


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + body)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# The check mark: three strokes down and five up, two pixels thick, as pixel positions in a 13 box.
CHECK_MARK = [(3, 5), (3, 6), (3, 7), (4, 6), (4, 7), (4, 8), (5, 7), (5, 8), (5, 9), (6, 6), (6, 7), (6, 8),
              (7, 5), (7, 6), (7, 7), (8, 4), (8, 5), (8, 6), (9, 3), (9, 4), (9, 5)]


def check_box(frame, top, bottom, mark, checked, rounded):
    size = 13
    px = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            corner = rounded and x in (0, size - 1) and y in (0, size - 1)
            if corner:
                continue
            px[y][x] = frame if edge else mix(top, bottom, (x + y) / (2 * (size - 3)))
    if checked:
        for x, y in CHECK_MARK:
            px[y][x] = mark
    return px


def radio(ring, top, bottom, dot, on):
    size = 16
    px = [[CLEAR] * size for _ in range(size)]
    c = 7.5
    for y in range(size):
        for x in range(size):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if d <= 5.6:
                px[y][x] = mix(top, bottom, (x + y) / 30)
            elif d <= 6.8:
                px[y][x] = ring
            if on and d <= 2.6:
                px[y][x] = dot
    return px


def leaf(opened):
    size = 16
    px = [[CLEAR] * size for _ in range(size)]
    edge, face, light = (128, 96, 0), (240, 200, 80), (255, 232, 150)
    for y in range(3, 14):
        for x in range(1, 15):
            tab = y == 3 and not 1 <= x <= 6
            if tab:
                continue
            border = x in (1, 14) or y in (3, 13) or (y == 4 and x > 6)
            px[y][x] = edge if border else face
    if opened:
        # The front flap tilts down: a lighter panel over the lower part, its top edge further right.
        for y in range(7, 14):
            shift = (13 - y) // 2
            for x in range(1 + shift, 15):
                border = y in (7, 13) or x in (1 + shift, 14)
                px[y][x] = edge if border else light
    return px


def pan_marker(across, down):
    """A 28-pixel disc with a dot in its middle and a filled arrow head toward each way the grid pans."""
    size = 28
    px = [[CLEAR] * size for _ in range(size)]
    c = (size - 1) / 2
    ring, face, ink = (64, 64, 64), (255, 255, 255), (0, 0, 0)
    for y in range(size):
        for x in range(size):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if d <= 12.5:
                px[y][x] = face
            elif d <= 13.5:
                px[y][x] = ring
            if d <= 2.2:
                px[y][x] = ink
    # Each head: 4 rows, 1 to 7 pixels wide, its tip 3 pixels inside the ring.
    for i in range(4):
        for j in range(-i, i + 1):
            mid = round(c)
            if down:
                px[3 + i][mid + j] = ink
                px[size - 4 - i][mid + j] = ink
            if across:
                px[mid + j][3 + i] = ink
                px[mid + j][size - 4 - i] = ink
    return px


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "grid" / "resources"
    out.mkdir(parents=True, exist_ok=True)
    # Two looks, each checked and unchecked, enabled and disabled, in this order.
    looks = [
        dict(frame=(28, 81, 128), top=(220, 220, 215), bottom=(255, 255, 255), mark=(33, 161, 33),
             off_frame=(202, 200, 187), off_top=(245, 244, 234), off_bottom=(245, 244, 234),
             off_mark=(202, 200, 187), rounded=False),
        dict(frame=(0, 60, 116), top=(236, 242, 250), bottom=(176, 200, 232), mark=(0, 40, 120),
             off_frame=(160, 160, 160), off_top=(236, 236, 236), off_bottom=(212, 212, 212),
             off_mark=(150, 150, 150), rounded=True),
    ]
    n = 1
    for look in looks:
        for enabled in (True, False):
            for checked in (True, False):
                p = "" if enabled else "off_"
                write_bmp(out / f"ZGCHK{n:02}.bmp",
                          check_box(look[p + "frame"], look[p + "top"], look[p + "bottom"], look[p + "mark"],
                                    checked, look["rounded"]))
                write_bmp(out / f"ZGRAD{n:02}.bmp",
                          radio(look[p + "frame"], look[p + "top"], look[p + "bottom"], look[p + "mark"], checked))
                n += 1
    write_bmp(out / "ZGLEAFCLOSE.bmp", leaf(False))
    write_bmp(out / "ZGLEAFOPEN.bmp", leaf(True))
    write_bmp(out / "INTLI1.bmp", pan_marker(True, True))
    write_bmp(out / "INTLI2.bmp", pan_marker(True, False))
    write_bmp(out / "INTLI3.bmp", pan_marker(False, True))


if __name__ == "__main__":
    main()
