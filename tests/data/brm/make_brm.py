#!/usr/bin/env python3
"""Makes a small 'Intrface.brm'-style container, Intrface_test.brm, and NAME.ppm files with the
pixels its pictures decode to (red = (w >> 8) & 248, green = (w >> 3) & 248, blue = (w & 31) << 3).

Pictures: 19 slots as in the game. Slot 13 (ID 1013) is 31 x 47, slot 14 is 5 x 3, slot 18 is 8 x 8;
the others are 1 x 1. Blocks are stored in reverse slot order so offsets are not monotonic.
Run from this folder: python3 make_brm.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
COUNT = 19
SIZES = {13: (31, 47), 14: (5, 3), 18: (8, 8)}


def word(slot, x, y):
    return (slot * 7919 + x * 1103 + y * 4513 + x * y * 31) & 0xFFFF


def rgb(w):
    return ((w >> 8) & 248, (w >> 3) & 248, (w & 31) << 3)


def main():
    offsets, widths, heights = [0] * 100, [0] * 100, [0] * 100
    blocks = b""
    for slot in reversed(range(COUNT)):
        w, h = SIZES.get(slot, (1, 1))
        offsets[slot] = 1204 + len(blocks)
        widths[slot], heights[slot] = w, h
        blocks += b"".join(struct.pack("<H", word(slot, x, y)) for y in range(h) for x in range(w))
        if slot in SIZES:
            with open(os.path.join(HERE, "slot%d.ppm" % slot), "wb") as f:
                f.write(b"P6\n%d %d\n255\n" % (w, h))
                f.write(b"".join(bytes(rgb(word(slot, x, y))) for y in range(h) for x in range(w)))
    directory = struct.pack("<i", COUNT) + struct.pack("<100i", *offsets) + struct.pack("<100i", *widths) + \
        struct.pack("<100i", *heights)
    with open(os.path.join(HERE, "Intrface_test.brm"), "wb") as f:
        f.write(directory + blocks)


if __name__ == "__main__":
    main()
