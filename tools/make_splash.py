#!/usr/bin/env python3
"""Draws Tessera's splash picture and its link cursor.

Writes res/splash.bmp and res/splash_en.bmp (360 x 300, 256 colours: a mosaic frame round the
program's name, in French and in English) and res/hand.cur (32 x 32, two colours: a pointing hand, its hot spot on the finger tip). Run it again
after changing the drawing; both files are committed, so building does not need Python.
"""
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT = 360, 300
TILE, GROUT = 12, 2

# 5 x 7 capitals, enough for the two lines of text in both languages.
GLYPHS = {
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'E': ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    'S': [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    'R': ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    'A': [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'P': ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    'I': [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    'C': [".####", "#....", "#....", "#....", "#....", "#....", ".####"],
    'L': ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    'B': ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    'O': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'D': ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    '-': [".....", ".....", ".....", ".###.", ".....", ".....", "....."],
    ' ': ["....."] * 7,
}

TILE_COLOURS = [(200, 40, 40), (230, 180, 30), (40, 150, 60), (30, 160, 170), (40, 70, 180), (150, 50, 150)]
GROUT_COLOUR = (235, 230, 215)
PANEL_COLOUR = (250, 247, 238)
INK = (30, 40, 90)
SHADOW = (170, 165, 150)


def splash_pixels(subtitle):
    px = [[GROUT_COLOUR] * WIDTH for _ in range(HEIGHT)]
    step = TILE + GROUT
    # The tiles: a frame three tiles deep, colours in a fixed scramble so that the pattern looks laid by hand.
    cols, rows = WIDTH // step, HEIGHT // step
    left = (WIDTH - cols * step + GROUT) // 2
    top = (HEIGHT - rows * step + GROUT) // 2
    for r in range(rows):
        for c in range(cols):
            if 3 <= r < rows - 3 and 3 <= c < cols - 3:
                continue
            colour = TILE_COLOURS[(r * 7 + c * 3 + (r * c) % 5) % len(TILE_COLOURS)]
            shade = 0.85 + 0.15 * (((r * 13 + c * 29) % 7) / 6)
            colour = tuple(int(v * shade) for v in colour)
            for y in range(top + r * step, top + r * step + TILE):
                for x in range(left + c * step, left + c * step + TILE):
                    px[y][x] = colour
    # The panel inside the frame.
    x0, y0 = left + 3 * step, top + 3 * step
    x1, y1 = left + (cols - 3) * step - GROUT, top + (rows - 3) * step - GROUT
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = PANEL_COLOUR

    def text(s, scale, cy, colour, shadow=None):
        w = len(s) * 6 * scale - scale
        tx = (WIDTH - w) // 2
        ty = cy - 7 * scale // 2
        for i, ch in enumerate(s):
            for gy, line in enumerate(GLYPHS[ch]):
                for gx, bit in enumerate(line):
                    if bit != '#':
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            x = tx + (i * 6 + gx) * scale + dx
                            y = ty + gy * scale + dy
                            if shadow:
                                px[y + 2][x + 2] = shadow
                            px[y][x] = colour

    # Shadow first, then the letters over it.
    text("TESSERA", 6, (y0 + y1) // 2 - 14, INK, SHADOW)
    text("TESSERA", 6, (y0 + y1) // 2 - 14, INK)
    text(subtitle, 2, (y0 + y1) // 2 + 34, TILE_COLOURS[4])
    return px


def write_bmp8(path, px):
    palette = sorted({c for row in px for c in row})
    if len(palette) > 256:
        sys.exit("too many colours: %d" % len(palette))
    index = {c: i for i, c in enumerate(palette)}
    h, w = len(px), len(px[0])
    stride = (w + 3) & ~3
    pixels = bytearray()
    for row in reversed(px):  # bottom-up
        pixels += bytes(index[c] for c in row) + bytes(stride - w)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    quads += bytes(4 * (256 - len(palette)))
    offset = 14 + 40 + len(quads)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    path.write_bytes(header + info + quads + pixels)


# The hand: X outline, everything enclosed by it white, the rest transparent. Hot spot: the finger tip.
HAND = [
    ".....XX.........",
    "....X..X........",
    "....X..X........",
    "....X..X........",
    "....X..XXX......",
    "....X..X..XXX...",
    ".XX.X..X..X..XX.",
    "X..XX........X.X",
    "X...X..........X",
    ".X.............X",
    "..X............X",
    "..X...........X.",
    "...X..........X.",
    "....X........X..",
    ".....X.......X..",
    ".....XXXXXXXXX..",
]
HOT_SPOT = (6, 1)


def write_cursor(path):
    size = 32
    art = [row.ljust(size, '.') for row in HAND] + ['.' * size] * (size - len(HAND))
    # Transparent: reachable from the edge without crossing the outline.
    outside = [[False] * size for _ in range(size)]
    todo = [(x, y) for x in range(size) for y in (0, size - 1)] + [(x, y) for y in range(size) for x in (0, size - 1)]
    while todo:
        x, y = todo.pop()
        if not (0 <= x < size and 0 <= y < size) or outside[y][x] or art[y][x] == 'X':
            continue
        outside[y][x] = True
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]

    def mask(bit):
        out = bytearray()
        for y in reversed(range(size)):
            row = 0
            for x in range(size):
                row = (row << 1) | bit(x, y)
            out += row.to_bytes(size // 8, "big")
        return bytes(out)

    xor = mask(lambda x, y: 1 if art[y][x] != 'X' and not outside[y][x] else 0)  # white inside
    and_ = mask(lambda x, y: 1 if outside[y][x] else 0)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = info + palette + xor + and_
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    path.write_bytes(header + entry + image)


def main():
    res = Path(__file__).resolve().parent.parent / "res"
    write_bmp8(res / "splash.bmp", splash_pixels("PRESSE-PAPIERS"))
    write_bmp8(res / "splash_en.bmp", splash_pixels("CLIPBOARD"))
    write_cursor(res / "hand.cur")


if __name__ == "__main__":
    main()
