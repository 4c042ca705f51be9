#!/usr/bin/env python3
"""Draws Tessera's icons: a clipboard holding a 3 x 3 mosaic of tiles, in 16 colours.

Writes res/tessera.ico (the application icon, also frame 0) and res/frame0.ico .. frame2.ico (the
tray animation: the tiles' colours move one step round the mosaic per frame). Each file is a
Windows icon file with one 4-bit image per size in SIZES, so that Windows finds the size it shows
at every display scaling (16 is the small icon at 100 %, 32 the large one, 64 the large one at
200 %). The drawing is made on a 32 x 32 grid and each shape's edges are scaled to the size. Run
it again after changing the drawing; the icons are committed, so building does not need Python.
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, as (blue, green, red, 0) quads.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # (red, green, blue)
BLACK, DARK_RED, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, GREEN, YELLOW, BLUE, \
    MAGENTA, CYAN, WHITE = range(16)
TRANSPARENT = None
TILE_COLOURS = [RED, YELLOW, GREEN, CYAN, BLUE, MAGENTA, RED, GREEN, BLUE]
# Tiles in the order the colours travel round the mosaic: the ring of eight, then the centre.
RING = [(0, 0), (1, 0), (2, 0), (2, 1), (2, 2), (1, 2), (0, 2), (0, 1)]


SIZES = [16, 20, 24, 32, 40, 48, 64]


def draw(frame, size):
    px = [[TRANSPARENT] * size for _ in range(size)]

    def edge(v):  # a grid line of the 32 x 32 drawing, at this size
        return (v * size + 16) // 32

    def rect(x0, y0, x1, y1, c, apart=False):  # the cells x0..x1, y0..y1 of the 32 x 32 grid
        # Shapes drawn `apart` end on the grid line before theirs: small sizes keep their gaps.
        end = (lambda v: v * size // 32) if apart else edge
        for y in range(edge(y0), max(end(y1 + 1), edge(y0) + 1)):
            for x in range(edge(x0), max(end(x1 + 1), edge(x0) + 1)):
                px[y][x] = c

    rect(3, 3, 28, 31, BLACK)         # board outline
    rect(4, 4, 27, 30, OLIVE)         # the board
    rect(10, 1, 21, 6, BLACK)         # the clip
    rect(11, 2, 20, 5, SILVER)
    rect(14, 2, 17, 3, GREY)
    rect(6, 8, 25, 28, WHITE)         # the sheet
    colours = {}
    for i, pos in enumerate(RING):
        colours[pos] = TILE_COLOURS[(i + frame) % len(RING)]
    colours[(1, 1)] = DARK_RED if frame % 2 else NAVY
    for (tx, ty), c in colours.items():
        x0, y0 = 8 + tx * 6, 10 + ty * 6
        rect(x0, y0, x0 + 4, y0 + 4, c, apart=True)
    return px


def image(px):
    """One 4-bit image as an icon file holds it: header, palette, colours, transparency mask."""
    size = len(px)
    xor = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up rows, each padded to four bytes
        row = bytearray()
        for x in range(0, size, 2):
            hi = px[y][x] if px[y][x] is not None else 0
            lo = px[y][x + 1] if x + 1 < size and px[y][x + 1] is not None else 0
            row.append((hi << 4) | lo)
        xor += row + bytes(-len(row) % 4)
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if px[y][x] is None else 0)
        row = (bits << (-size % 8)).to_bytes((size + 7) // 8, "big")
        mask += row + bytes(-len(row) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def icon_file(frame):
    images = [image(draw(frame, size)) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def main():
    res = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "res")
    for frame in range(3):
        data = icon_file(frame)
        (res / f"frame{frame}.ico").write_bytes(data)
        if frame == 0:
            (res / "tessera.ico").write_bytes(data)


if __name__ == "__main__":
    main()
