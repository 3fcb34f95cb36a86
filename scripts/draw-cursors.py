#!/usr/bin/env python3
"""Draws the grid's cursors as cursor files (.cur, 32 x 32, black and white with a mask and a hot
spot) in grid/resources, named by their numbers: the pan cursors shown while the wheel button pans
(8000 neutral, 8001 down, 8002 left, 8003 right, 8004 up, 8005 up-right, 8006 up-left, 8007
down-right, 8008 down-left) and the select cursors over fixed cells (8010 whole row, 8011 whole
column, 8012 all). Shapes are black with a white rim, so they show on any ground.

Usage: scripts/draw-cursors.py [OUTPUT_FOLDER]   (default: grid/resources of the project)
"""
import struct
import sys
from pathlib import Path

SIZE = 32
CENTRE = 15  # the pan cursors' middle and hot spot

# The ways the grid pans, as (dx, dy) with y down, by cursor number.
PAN_WAYS = {8001: (0, 1), 8002: (-1, 0), 8003: (1, 0), 8004: (0, -1),
            8005: (1, -1), 8006: (-1, -1), 8007: (1, 1), 8008: (-1, 1)}


def unit(dx, dy):
    length = (dx * dx + dy * dy) ** 0.5
    return dx / length, dy / length


def arrow(ink, tail, tip, shaft, head, head_length):
    """Marks an arrow from tail to tip (pixel centres): a shaft `shaft` pixels wide, then a head that
    narrows from `head` pixels wide to the tip over `head_length` pixels."""
    ux, uy = unit(tip[0] - tail[0], tip[1] - tail[1])
    length = ((tip[0] - tail[0]) ** 2 + (tip[1] - tail[1]) ** 2) ** 0.5
    for y in range(SIZE):
        for x in range(SIZE):
            along = (x - tail[0]) * ux + (y - tail[1]) * uy
            across = abs((x - tail[0]) * uy - (y - tail[1]) * ux)
            if along < -0.5 or along > length + 0.5:
                continue
            to_tip = length - along
            if to_tip <= head_length:
                inside = across <= head / 2 * to_tip / head_length + 0.5
            else:
                inside = across <= shaft / 2
            if inside:
                ink[y][x] = True


def dot(ink, radius):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - CENTRE) ** 2 + (y - CENTRE) ** 2 <= radius * radius:
                ink[y][x] = True


def pan_head(ink, dx, dy):
    """An arrow head pointing away from the middle: its base 8 pixels out, its tip 14."""
    ux, uy = unit(dx, dy)
    tail = (CENTRE + 8 * ux, CENTRE + 8 * uy)
    tip = (CENTRE + 14 * ux, CENTRE + 14 * uy)
    arrow(ink, tail, tip, 0, 7, 6)


def picture(draw):
    """The rows of a cursor: '#' where `draw` inks, '.' in a one-pixel rim around the ink, ' ' clear."""
    ink = [[False] * SIZE for _ in range(SIZE)]
    draw(ink)
    rows = []
    for y in range(SIZE):
        row = ""
        for x in range(SIZE):
            near = any(ink[j][i] for j in range(max(y - 1, 0), min(y + 2, SIZE))
                       for i in range(max(x - 1, 0), min(x + 2, SIZE)))
            row += "#" if ink[y][x] else "." if near else " "
        rows.append(row)
    return rows


def pan_cursor(ways):
    def draw(ink):
        dot(ink, 2.5)
        for dx, dy in ways:
            pan_head(ink, dx, dy)
    return picture(draw), (CENTRE, CENTRE)


def select_cursor(tail, tip):
    """A broad arrow whose tip, the hot spot, points at what a press selects."""
    return picture(lambda ink: arrow(ink, tail, tip, 5, 15, 9)), tip


def write_cur(path, rows, hot):
    """A cursor file: one 1-bit image, its colours (0 black, 1 white) and its mask (1 clear), rows
    bottom-up, the first pixel in the highest bit."""
    stride = SIZE // 8
    colours = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        c = m = 0
        for x, pixel in enumerate(row):
            bit = 1 << (SIZE - 1 - x)
            if pixel == ".":
                c |= bit
            if pixel == " ":
                m |= bit
        colours += c.to_bytes(stride, "big")
        mask += m.to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, len(colours) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + colours + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    Path(path).write_bytes(directory + entry + image)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "grid" / "resources"
    out.mkdir(parents=True, exist_ok=True)
    write_cur(out / "8000.cur", *pan_cursor([(0, 1), (-1, 0), (1, 0), (0, -1)]))
    for number, way in PAN_WAYS.items():
        write_cur(out / f"{number}.cur", *pan_cursor([way]))
    write_cur(out / "8010.cur", *select_cursor((3, 15), (28, 15)))
    write_cur(out / "8011.cur", *select_cursor((15, 3), (15, 28)))
    write_cur(out / "8012.cur", *select_cursor((5, 5), (26, 26)))


if __name__ == "__main__":
    main()
