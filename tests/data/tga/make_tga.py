#!/usr/bin/env python3
"""Makes the TGA fixtures. Each case NAME.tga comes with NAME.ppm, the pixels it must decode to.
ImageMagick writes the common forms (im_*); this script writes the rest itself (own_*): 15/16-bit
pixels, every colour-map entry size, 16-bit indices, grey with alpha, every origin corner, an image
ID field, the version 2 footer, and run-length packets that cross rows.

Needs ImageMagick `convert`. Run from this folder: python3 make_tga.py
"""
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 13, 7   # odd sizes catch row-stride mistakes


def ppm(path, pixels, w, h):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        for y in range(h):
            for x in range(w):
                f.write(bytes(pixels[y][x]))


def colourful(w, h):
    return [[((x * 37 + y * 11) % 256, (y * 53 + 7) % 256, (x * 19 + y * 29 + 100) % 256) for x in range(w)]
            for y in range(h)]


def few_colours(w, h):
    palette = [(255, 0, 0), (0, 128, 255), (250, 250, 250), (10, 20, 30), (0, 200, 0)]
    return [[palette[(x // 3 + y) % len(palette)] for x in range(w)] for y in range(h)], palette


def greys(w, h):
    return [[(v, v, v) for v in [(x * 20 + y * 3) % 256 for x in range(w)]] for y in range(h)]


def widen5(v):
    return (v << 3) | (v >> 2)


def to555(rgb):
    r, g, b = (c >> 3 for c in rgb)
    return (r << 10) | (g << 5) | b


def from555(word):
    return (widen5((word >> 10) & 31), widen5((word >> 5) & 31), widen5(word & 31))


def rle(units, unit_bytes):
    """Run-length packets over the whole pixel sequence, so packets cross row ends."""
    out = b""
    i = 0
    while i < len(units):
        run = 1
        while i + run < len(units) and run < 128 and units[i + run] == units[i]:
            run += 1
        if run > 1:
            out += bytes([0x80 | (run - 1)]) + units[i]
            i += run
            continue
        raw = 1
        while i + raw < len(units) and raw < 128 and (i + raw + 1 >= len(units) or units[i + raw] != units[i + raw + 1]):
            raw += 1
        out += bytes([raw - 1]) + b"".join(units[i:i + raw])
        i += raw
    return out


def write_tga(name, image, pixels, bits, *, mapped=None, map_bits=0, map_first=0, grey=False, run_length=False,
              top=False, right=False, image_id=b"", footer=False, alpha_bits=0):
    """pixels: rows top to bottom of what the file should decode to; mapped: palette of RGB."""
    h, w = len(pixels), len(pixels[0])
    rows = list(range(h)) if top else list(range(h - 1, -1, -1))
    units = []
    bpp = (bits + 7) // 8
    for y in rows:
        cols = list(range(w - 1, -1, -1)) if right else list(range(w))
        for x in cols:
            p = pixels[y][x]
            if mapped is not None:
                index = mapped.index(p) + map_first
                units.append(index.to_bytes(bpp, "little"))
            elif grey:
                units.append(bytes([p[0]]) + (b"\xff" if bits == 16 else b""))
            elif bits in (15, 16):
                units.append(struct.pack("<H", to555(p) | (0x8000 if bits == 16 else 0)))
            elif bits == 24:
                units.append(bytes([p[2], p[1], p[0]]))
            else:
                units.append(bytes([p[2], p[1], p[0], 0x80]))
    colour_map = b""
    if mapped is not None:
        for r, g, b in mapped:
            if map_bits in (15, 16):
                colour_map += struct.pack("<H", to555((r, g, b)))
            elif map_bits == 24:
                colour_map += bytes([b, g, r])
            else:
                colour_map += bytes([b, g, r, 0xff])
    base = 1 if mapped is not None else (3 if grey else 2)
    descriptor = alpha_bits | (0x20 if top else 0) | (0x10 if right else 0)
    header = struct.pack("<BBBHHBHHHHBB", len(image_id), 1 if mapped is not None else 0,
                         base + (8 if run_length else 0), map_first if mapped is not None else 0,
                         len(mapped) if mapped is not None else 0, map_bits, 0, 0, w, h, bits, descriptor)
    body = rle(units, bpp) if run_length else b"".join(units)
    data = header + image_id + colour_map + body
    if footer:
        data += struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"
    with open(os.path.join(HERE, name + ".tga"), "wb") as f:
        f.write(data)
    ppm(os.path.join(HERE, name + ".ppm"), image, w, h)


def main():
    colour = colourful(W, H)
    few, palette = few_colours(W, H)
    grey = greys(W, H)

    # ImageMagick's own output: 24-bit raw and RLE, palette raw and RLE, grey raw and RLE, 32-bit.
    # ImageMagick 6.9.11 writes rows in memory order whatever the orientation flag says, so the flag
    # is made to match: "-orient TopLeft", or "-flip -orient BottomLeft" for bottom-up files.
    top = ["-orient", "TopLeft"]
    bottom = ["-flip", "-orient", "BottomLeft"]
    ppm(os.path.join(HERE, "src_colour.ppm"), colour, W, H)
    ppm(os.path.join(HERE, "src_few.ppm"), few, W, H)
    ppm(os.path.join(HERE, "src_grey.ppm"), grey, W, H)
    im_cases = [
        ("im_rgb24", "src_colour.ppm", bottom),
        ("im_rgb24_rle", "src_colour.ppm", top + ["-compress", "RLE"]),
        ("im_palette", "src_few.ppm", top + ["-type", "Palette"]),
        ("im_palette_rle", "src_few.ppm", bottom + ["-type", "Palette", "-compress", "RLE"]),
        ("im_grey", "src_grey.ppm", top + ["-type", "Grayscale"]),
        ("im_grey_rle", "src_grey.ppm", bottom + ["-type", "Grayscale", "-compress", "RLE"]),
        ("im_rgba32", "src_colour.ppm",
         bottom + ["-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel"]),
    ]
    for name, src, args in im_cases:
        subprocess.run(["convert", os.path.join(HERE, src)] + args + [os.path.join(HERE, name + ".tga")], check=True)
        with open(os.path.join(HERE, src), "rb") as f, open(os.path.join(HERE, name + ".ppm"), "wb") as g:
            g.write(f.read())
    for src in ("src_colour.ppm", "src_few.ppm", "src_grey.ppm"):
        os.remove(os.path.join(HERE, src))

    # 5-bit channels lose their low bits, so what the 15/16-bit files decode to is the widened value.
    colour555 = [[from555(to555(p)) for p in row] for row in colour]
    few555 = [[from555(to555(p)) for p in row] for row in few]
    palette555 = [from555(to555(p)) for p in palette]

    write_tga("own_rgb15", colour555, colour555, 15)
    write_tga("own_rgb16_rle_top", colour555, colour555, 16, run_length=True, top=True, alpha_bits=1)
    write_tga("own_rgb24_top_right_id", colour, colour, 24, top=True, right=True, image_id=b"made by make_tga")
    write_tga("own_rgb32_rle_right_footer", colour, colour, 32, run_length=True, right=True, footer=True, alpha_bits=8)
    write_tga("own_map15", few555, few555, 8, mapped=palette555, map_bits=15)
    write_tga("own_map16_index16_first", few555, few555, 16, mapped=palette555, map_bits=16, map_first=3)
    write_tga("own_map24_rle_top", few, few, 8, mapped=palette, map_bits=24, run_length=True, top=True)
    write_tga("own_map32_footer", few, few, 8, mapped=palette, map_bits=32, footer=True)
    write_tga("own_grey16_alpha_rle", grey, grey, 16, grey=True, run_length=True, alpha_bits=8)
    # Long runs: one packet spans several rows.
    flat = [[(90, 60, 30)] * 50 for _ in range(6)]
    flat[5][49] = (1, 2, 3)
    write_tga("own_rgb24_rle_long_runs", flat, flat, 24, run_length=True)


if __name__ == "__main__":
    main()
