#!/usr/bin/env python3
"""Draws the entries table's pictures (eye icons and the selection bar) as PNG files.

Run from this folder: python3 make_table_pictures.py
Every picture is written at its logical size (name.png) and at twice that size (name@2x.png), so
the table stays crisp on high-DPI screens. Only the standard library is used; shapes are
antialiased by supersampling each output pixel on a 4 x 4 grid.
"""
import math
import struct
import zlib

SUPER = 4


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, 8 bits each."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def render(width, height, scale, shade):
    """shade(x, y) -> (r, g, b, a) with a in 0..1, x and y in logical units; returns 8-bit rows."""
    out = []
    w, h = width * scale, height * scale
    for py in range(h):
        row = []
        for px in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = (px + (sx + 0.5) / SUPER) / scale
                    y = (py + (sy + 0.5) / SUPER) / scale
                    r, g, b, a = shade(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SUPER * SUPER
            alpha = acc[3] / n
            if alpha > 0:
                color = [min(255, round(c / acc[3])) for c in acc[:3]]
            else:
                color = [0, 0, 0]
            row.append((color[0], color[1], color[2], round(alpha * 255)))
        out.append(row)
    return out


# --- the eye: an almond between two parabolic lids, 16 x 12 logical pixels -------------------
EYE_W, EYE_H = 16, 12
CX, CY, RX, RY = 8.0, 6.0, 7.4, 4.6
LINE = 1.1


def lid_distance(x, y):
    """Signed distance-like measure: < 0 inside the almond, > 0 outside (in logical pixels)."""
    t = (x - CX) / RX
    if abs(t) >= 1:
        return max(abs(x - CX) - RX, abs(y - CY))
    half = RY * (1 - t * t)
    return abs(y - CY) - half


def blend(under, over):
    """Source-over of two (r, g, b, a) colours."""
    a = over[3] + under[3] * (1 - over[3])
    if a == 0:
        return (0, 0, 0, 0)
    return tuple((over[i] * over[3] + under[i] * under[3] * (1 - over[3])) / a for i in range(3)) + (a,)


def open_eye(x, y):
    d = lid_distance(x, y)
    color = (0, 0, 0, 0)
    if d < 0:
        color = (255, 255, 255, 1)
        r = math.hypot(x - CX, y - CY)
        if r < 3.3:
            color = (46, 104, 196, 1)
        if r < 1.5:
            color = (10, 10, 20, 1)
        if math.hypot(x - (CX + 1.0), y - (CY - 1.0)) < 0.7:
            color = (255, 255, 255, 1)
    if abs(d) < LINE / 2 + 0.15:
        color = blend(color, (35, 35, 40, 1))
    return color


def missing_eye(x, y):
    d = lid_distance(x, y)
    color = (0, 0, 0, 0)
    if abs(d) < LINE / 2:
        color = (150, 150, 155, 1)
    # the stroke that crosses the eye out, from bottom left to top right
    ax, ay, bx, by = 2.0, 11.0, 14.0, 1.0
    t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    if math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay))) < 0.75:
        color = (150, 150, 155, 1)
    return color


# --- the selection bar: a blue vertical gradient, tiled across the row -------------------------
BAR_W, BAR_H = 64, 22
TOP, BOTTOM = (186, 211, 245), (128, 170, 230)


def bar(x, y):
    if y < 1:
        return (208, 226, 250, 1)
    if y >= BAR_H - 1:
        return (98, 146, 214, 1)
    t = (y - 1) / (BAR_H - 2)
    return tuple(TOP[i] + (BOTTOM[i] - TOP[i]) * t for i in range(3)) + (1,)


def main():
    for name, w, h, shade in (("theeyeopen", EYE_W, EYE_H, open_eye),
                              ("theeyemissing", EYE_W, EYE_H, missing_eye),
                              ("imageBlueBarLeopard", BAR_W, BAR_H, bar)):
        for scale, suffix in ((1, ""), (2, "@2x")):
            write_png(f"{name}{suffix}.png", w * scale, h * scale, render(w, h, scale, shade))


if __name__ == "__main__":
    main()
