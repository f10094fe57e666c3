#!/usr/bin/env python3
"""Draws the six map cursors of Mapquill and writes them as 32 x 32 PNG files.

    python3 make_cursors.py [output folder]      (default: the folder of this script)

Numbers follow the application's cursor resources: 128, 129, 130 in colour and 168, 169, 170
(the same shapes) in black and white.

  130  the mouse is over the map / a mark begins: a fine crosshair
  129  a mark is being dragged: the crosshair with the corner of the growing rectangle
  128  the map picture is dragged out: an arrow carrying a small framed map

The hot spots are fixed in src/map/MapCursors.cpp and must match the drawings here:
(15, 15) for the crosshairs and (1, 1) for the arrow tip.

Standard library only (zlib + struct), so the pictures can be remade anywhere and come out
byte-identical every time.
"""

import os
import struct
import sys
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
RED = (220, 20, 20, 255)
ORANGE = (255, 155, 0, 255)
YELLOW = (255, 230, 60, 255)
SEA = (70, 130, 200, 255)
LAND = (90, 170, 70, 255)
SAND = (220, 200, 130, 255)


class Canvas:
    def __init__(self):
        self.px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def set(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = colour

    def get(self, x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            return self.px[y][x]
        return CLEAR

    def hline(self, x1, x2, y, colour):
        for x in range(x1, x2 + 1):
            self.set(x, y, colour)

    def vline(self, x, y1, y2, colour):
        for y in range(y1, y2 + 1):
            self.set(x, y, colour)

    def fill(self, x1, y1, x2, y2, colour):
        for y in range(y1, y2 + 1):
            self.hline(x1, x2, y, colour)

    def frame(self, x1, y1, x2, y2, colour):
        self.hline(x1, x2, y1, colour)
        self.hline(x1, x2, y2, colour)
        self.vline(x1, y1, y2, colour)
        self.vline(x2, y1, y2, colour)

    def halo(self, colour):
        """Surrounds every drawn pixel with `colour` where the canvas is clear, so the cursor
        stays visible over dark and light parts of the map alike."""
        drawn = [(x, y) for y in range(SIZE) for x in range(SIZE) if self.px[y][x][3] != 0]
        for x, y in drawn:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if self.get(x + dx, y + dy)[3] == 0:
                        self.set(x + dx, y + dy, colour)

    def png(self):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def crosshair(c, ink, centre_ink):
    # Arms stop two pixels short of the hot spot so the marked pixel itself stays visible.
    c.hline(3, 12, 15, ink)
    c.hline(18, 27, 15, ink)
    c.vline(15, 3, 12, ink)
    c.vline(15, 18, 27, ink)
    c.set(15, 15, centre_ink)


def cursor130(colour):
    c = Canvas()
    crosshair(c, RED if colour else BLACK, YELLOW if colour else BLACK)
    c.halo(WHITE)
    return c


def cursor129(colour):
    c = Canvas()
    crosshair(c, RED if colour else BLACK, YELLOW if colour else BLACK)
    # The corner of the rectangle being drawn, opening away from the hot spot.
    box = ORANGE if colour else BLACK
    c.hline(19, 29, 19, box)
    c.vline(19, 19, 29, box)
    c.hline(19, 29, 29, box)
    c.vline(29, 19, 29, box)
    if colour:
        c.fill(20, 20, 28, 28, (255, 220, 150, 160))
    c.halo(WHITE)
    return c


ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      XX",
]


def cursor128(colour):
    c = Canvas()
    # The arrow, tip at (1, 1): X is ink, . is white.
    for y, row in enumerate(ARROW):
        for x, ch in enumerate(row):
            if ch == "X":
                c.set(1 + x, 1 + y, BLACK)
            elif ch == ".":
                c.set(1 + x, 1 + y, WHITE)
    c.halo(WHITE)
    # The carried picture: a small framed map below and right of the arrow.
    c.fill(12, 14, 29, 29, WHITE)
    c.frame(12, 14, 29, 29, BLACK)
    if colour:
        c.fill(13, 15, 28, 28, SEA)
        c.fill(13, 15, 21, 28, LAND)
        c.fill(17, 22, 25, 28, LAND)
        c.vline(21, 15, 21, SAND)
        c.frame(16, 18, 24, 25, RED)
    else:
        for y in range(15, 29):
            for x in range(13, 29):
                if (x + y) % 3 == 0 and x < 22:
                    c.set(x, y, BLACK)
        c.frame(16, 18, 24, 25, BLACK)
    return c


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    drawings = {
        128: cursor128(True), 129: cursor129(True), 130: cursor130(True),
        168: cursor128(False), 169: cursor129(False), 170: cursor130(False),
    }
    for number, canvas in drawings.items():
        with open(os.path.join(out, "cursor%d.png" % number), "wb") as f:
            f.write(canvas.png())


if __name__ == "__main__":
    main()
