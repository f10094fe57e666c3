#!/usr/bin/env python3
"""Builds the PICT test fixtures in this folder.

Three kinds of files:
  * tool_*.pict: written by ImageMagick (`convert`) and netpbm (`ppmtopict`) from the src_*.ppm
    images made here; the decoder must reproduce the source exactly.
  * hand_*.pict: pictures assembled byte by byte below, covering what those tools never write
    (1/2/4-bit pixels, 16-bit pixels, other pack types, version 1, odd-length opcodes, masks,
    scaling, transfer modes, QuickTime JPEG). Each has a hand_*.expected.ppm computed here from
    the same pixel values, not from the encoding.
  * bad_*.pict: damaged pictures, named for the fault; each must fail with a message.

Run from anywhere: python3 tests/data/pict/make_fixtures.py  (needs convert and ppmtopict).
The output is committed; rerunning it must reproduce the same bytes.
"""

import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------------------------------------
# Images as lists of rows of (r, g, b)

def blank(w, h, colour=(255, 255, 255)):
    return [[colour] * w for _ in range(h)]


def write_ppm(name, img):
    h = len(img)
    w = len(img[0])
    data = bytearray(f"P6\n{w} {h}\n255\n".encode())
    for row in img:
        for px in row:
            data += bytes(px)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------
# PICT building blocks (big-endian)

def u8(v):
    return struct.pack(">B", v)


def u16(v):
    return struct.pack(">H", v & 0xFFFF)


def s16(v):
    return struct.pack(">h", v)


def u32(v):
    return struct.pack(">I", v & 0xFFFFFFFF)


def rect(top, left, bottom, right):
    return s16(top) + s16(left) + s16(bottom) + s16(right)


def packbits(data, unit=1):
    """PackBits over units of `unit` bytes: runs of 2+ equal units become repeats."""
    units = [bytes(data[i:i + unit]) for i in range(0, len(data), unit)]
    out = bytearray()
    i = 0
    literal = []

    def flush():
        while literal:
            chunk = literal[:128]
            del literal[:128]
            out.append(len(chunk) - 1)
            for u in chunk:
                out.extend(u)

    while i < len(units):
        run = 1
        while i + run < len(units) and units[i + run] == units[i] and run < 128:
            run += 1
        if run >= 2:
            flush()
            out.append(257 - run)
            out.extend(units[i])
            i += run
        else:
            literal.append(units[i])
            i += 1
    flush()
    return bytes(out)


def packed_rows(rows, row_bytes, unit=1, word_counts=None):
    """Rows packed with a count before each; the count is a word when rowBytes > 250 (Apple)."""
    if word_counts is None:
        word_counts = row_bytes > 250
    out = bytearray()
    for row in rows:
        p = packbits(row, unit)
        out += u16(len(p)) if word_counts else u8(len(p))
        out += p
    return bytes(out)


def pixmap_fields(pack_type, pixel_size, cmp_count, cmp_size, pixel_type=None):
    if pixel_type is None:
        pixel_type = 16 if pixel_size >= 16 else 0
    return (u16(0) + u16(pack_type) + u32(0) + u32(72 << 16) + u32(72 << 16) + u16(pixel_type)
            + u16(pixel_size) + u16(cmp_count) + u16(cmp_size) + u32(0) + u32(0) + u32(0))


def color_table(colours, flags=0, values=None, shifted=False):
    """shifted: components stored as c << 8 (some writers) instead of c * 257."""
    scale = (lambda c: c << 8) if shifted else (lambda c: c * 257)
    out = u32(0) + u16(flags) + u16(len(colours) - 1)
    for k, (r, g, b) in enumerate(colours):
        v = k if values is None else values[k]
        out += u16(v) + u16(scale(r)) + u16(scale(g)) + u16(scale(b))
    return out


def picture(frame, ops, version=2, header=True, ext=None):
    """A whole picture: optional 512-byte file header, record header, ops, end opcode.

    ext = (hres, vres, srcRect tuple) gives an extended version 2 header."""
    body = u16(0) + rect(*frame)
    if version == 1:
        body += b"\x11\x01" + ops + b"\xff"
    else:
        body += u16(0x0011) + u16(0x02FF) + u16(0x0C00)
        if ext:
            hres, vres, src = ext
            body += s16(-2) + u16(0) + u32(hres << 16) + u32(vres << 16) + rect(*src) + u32(0)
        else:
            body += s16(-1) + s16(-1) + rect(0, 0, 0, 0) + rect(0, 0, 0, 0) + u32(0)
        body += ops
        if len(body) % 2:
            body += b"\x00"
        body += u16(0x00FF)
    return (b"\x00" * 512 if header else b"") + body


def op(code):
    return u16(code)


def indexed_rows(indices, width, bits, row_bytes):
    rows = []
    for line in indices:
        buf = bytearray(row_bytes)
        for x, v in enumerate(line[:width]):
            bit = x * bits
            buf[bit // 8] |= v << (8 - bits - bit % 8)
        rows.append(bytes(buf))
    return rows


def pack_bits_rect(bounds, src, dst, rows_data, row_bytes, pixel_size, colours, mode=0, code=0x98,
                   pack_type=0, flags=0, values=None, mask=b"", shifted=False):
    return (op(code) + u16(0x8000 | row_bytes) + rect(*bounds)
            + pixmap_fields(pack_type, pixel_size, 1, pixel_size)
            + color_table(colours, flags, values, shifted) + rect(*src) + rect(*dst) + u16(mode) + mask + rows_data)


def draw(canvas, space, bounds, src, dst, pixel_at, mode=0, mask=None):
    """Reference compositing: nearest neighbour from src (in bounds coords) to dst."""
    st, sl, sb, sr = src
    dt, dl, db, dr = dst
    sw, sh, dw, dh = sr - sl, sb - st, dr - dl, db - dt
    for y in range(dt, db):
        for x in range(dl, dr):
            cy, cx = y - space[0], x - space[1]
            if not (0 <= cy < len(canvas) and 0 <= cx < len(canvas[0])):
                continue
            if mask and not mask(x, y):
                continue
            sy = st + (y - dt) * sh // dh
            sx = sl + (x - dl) * sw // dw
            if not (bounds[0] <= sy < bounds[2] and bounds[1] <= sx < bounds[3]):
                continue
            p = pixel_at(sx - bounds[1], sy - bounds[0])
            if mode == 1:                     # srcOr: only non-white source pixels land
                if p != (255, 255, 255):
                    canvas[cy][cx] = p
            else:
                canvas[cy][cx] = p


# ---------------------------------------------------------------------------------------------
# Source images for the tools

def gradient(w, h):
    return [[((x * 255) // max(w - 1, 1), (y * 255) // max(h - 1, 1), ((x + y) * 37) % 256)
             for x in range(w)] for y in range(h)]


def palette_image(w, h, n):
    cols = [((k * 53) % 256, (k * 97 + 11) % 256, (255 - k * 29) % 256) for k in range(n)]
    return [[cols[(x // 3 + y * 5) % n] for x in range(w)] for y in range(h)]


def make_tool_fixtures():
    srcs = {
        "src_rgb_37x23": gradient(37, 23),
        "src_pal_53x17": palette_image(53, 17, 40),
        "src_pal_260x5": palette_image(260, 5, 64),
        "src_pal_230x4": palette_image(230, 4, 30),
    }
    for name, img in srcs.items():
        write_ppm(name + ".ppm", img)

    def run(args, out):
        data = subprocess.run(args, check=True, stdout=subprocess.PIPE, cwd=HERE).stdout
        write(out, data)

    # ImageMagick: truecolour gives DirectBitsRect 32-bit pack type 4; a palette image PackBitsRect.
    run(["convert", "src_rgb_37x23.ppm", "PICT:-"], "tool_im_rgb_37x23.pict")
    run(["convert", "src_pal_53x17.ppm", "-type", "Palette", "PICT:-"], "tool_im_pal_53x17.pict")
    run(["convert", "src_pal_260x5.ppm", "-type", "Palette", "PICT:-"], "tool_im_pal_260x5.pict")
    run(["convert", "src_pal_230x4.ppm", "-type", "Palette", "PICT:-"], "tool_im_pal_230x4.pict")
    # netpbm: 8-bit PackBitsRect; rowBytes 230 carries word counts (its > 200 rule).
    run(["ppmtopict", "src_pal_53x17.ppm"], "tool_np_pal_53x17.pict")
    run(["ppmtopict", "src_pal_260x5.ppm"], "tool_np_pal_260x5.pict")
    run(["ppmtopict", "src_pal_230x4.ppm"], "tool_np_pal_230x4.pict")


# ---------------------------------------------------------------------------------------------
# Hand-made pictures

def hand_indexed(bits, name, width=21, height=6, short_table=False, packed=True):
    """A PackBitsRect of `bits` bits a pixel with its colour table."""
    n = 1 << bits
    colours = [((k * 70) % 256, (k * 150 + 30) % 256, (k * 33 + 90) % 256) for k in range(n)]
    if bits == 2:
        colours[1] = (255, 255, 255)   # stored as 0xFF00 below: must stay 255
    if short_table:
        colours = colours[: max(2, n // 2)]     # values past the table draw black
    indices = [[(x * 3 + y * 7) % n for x in range(width)] for y in range(height)]
    row_bytes = max((width * bits + 7) // 8, 8 if packed else 1)
    if row_bytes % 2:
        row_bytes += 1
    rows = indexed_rows(indices, width, bits, row_bytes)
    data = packed_rows(rows, row_bytes) if row_bytes >= 8 else b"".join(rows)
    frame = (0, 0, height, width)
    ops = pack_bits_rect((0, 0, height, width), frame, frame, data, row_bytes, bits, colours, shifted=(bits == 2))
    write(name + ".pict", picture(frame, ops))

    def colour(v):
        return colours[v] if v < len(colours) else (0, 0, 0)
    write_ppm(name + ".expected.ppm", [[colour(v) for v in line] for line in indices])


def direct16_image(w, h):
    return [[((x * 5) & 31, (y * 9 + x) & 31, (31 - x) & 31) for x in range(w)] for y in range(h)]


def expand5(v):
    return (v << 3) | (v >> 2)


def hand_direct16(pack_type, name, width=19, height=5):
    px = direct16_image(width, height)
    row_bytes = width * 2 + (2 if pack_type == 3 else 0)   # padded row for the packed case
    rows = []
    for line in px:
        buf = bytearray()
        for r, g, b in line:
            buf += u16(0x8000 | (r << 10) | (g << 5) | b)   # top bit set: must be ignored
        buf += b"\x00" * (row_bytes - len(buf))
        rows.append(bytes(buf))
    data = packed_rows(rows, row_bytes, unit=2) if pack_type == 3 else b"".join(rows)
    frame = (0, 0, height, width)
    ops = (op(0x9A) + u32(0xFF) + u16(0x8000 | row_bytes) + rect(*frame)
           + pixmap_fields(pack_type, 16, 3, 5) + rect(*frame) + rect(*frame) + u16(0) + data)
    write(name + ".pict", picture(frame, ops))
    write_ppm(name + ".expected.ppm", [[(expand5(r), expand5(g), expand5(b)) for r, g, b in line] for line in px])


def hand_direct32(pack_type, cmp_count, name, width=13, height=7):
    img = [[((x * 19 + y) % 256, (y * 31) % 256, (x * y * 7 + 5) % 256) for x in range(width)] for y in range(height)]
    row_bytes = width * 4
    rows = []
    for y, line in enumerate(img):
        if pack_type == 4:
            planes = bytearray()
            if cmp_count == 4:
                planes += bytes((x * 11) % 256 for x in range(width))     # alpha: ignored
            for c in range(3):
                planes += bytes(p[c] for p in line)
            rows.append(bytes(planes))
        elif pack_type == 2:
            rows.append(b"".join(bytes(p) for p in line))
        else:
            rows.append(b"".join(b"\x7f" + bytes(p) for p in line))
    data = packed_rows(rows, row_bytes) if pack_type == 4 else b"".join(rows)
    frame = (0, 0, height, width)
    ops = (op(0x9A) + u32(0xFF) + u16(0x8000 | row_bytes) + rect(*frame)
           + pixmap_fields(pack_type, 32, cmp_count, 8) + rect(*frame) + rect(*frame) + u16(64) + data)
    write(name + ".pict", picture(frame, ops))
    write_ppm(name + ".expected.ppm", img)


def bitmap_v1():
    """Version 1: an old-style 1-bit BitMap drawn unpacked (BitsRect, rowBytes 2) and packed."""
    w, h = 12, 4
    bits = [[1 if (x + y) % 3 == 0 else 0 for x in range(w)] for y in range(h)]
    raw = b"".join(indexed_rows(bits, w, 1, 2))
    w2, h2 = 70, 3
    bits2 = [[1 if (x // 5 + y) % 2 else 0 for x in range(w2)] for y in range(h2)]
    rows2 = indexed_rows(bits2, w2, 1, 10)
    ops = bytearray()
    ops += b"\xa0" + u16(100)                            # ShortComment
    ops += b"\x01" + u16(10) + rect(-32767, -32767, 32767, 32767)   # wide-open clip
    ops += b"\x90" + u16(2) + rect(0, 0, h, w) + rect(0, 0, h, w) + rect(0, 0, h, w) + u16(0) + raw
    ops += b"\x98" + u16(10) + rect(0, 0, h2, w2) + rect(0, 0, h2, w2) + rect(h, 0, h + h2, w2) + u16(0)
    ops += packed_rows(rows2, 10)
    frame = (0, 0, h + h2, w2)
    write("hand_v1_bitmap.pict", picture(frame, bytes(ops), version=1))
    canvas = blank(w2, h + h2)
    bw = lambda v: (0, 0, 0) if v else (255, 255, 255)
    for y in range(h):
        for x in range(w):
            canvas[y][x] = bw(bits[y][x])
    for y in range(h2):
        for x in range(w2):
            canvas[h + y][x] = bw(bits2[y][x])
    write_ppm("hand_v1_bitmap.expected.ppm", canvas)
    return bytes(ops), frame


def odd_opcodes_and_alignment():
    """Odd-length opcodes (TxFace, LongComment, DHText) each followed by a pad byte, the reserved
    opcode families, a pixel pattern and a polygon, then a bitmap that must still be found."""
    w, h = 9, 3
    colours = [(255, 0, 0), (0, 0, 255)]
    idx = [[(x + y) % 2 for x in range(w)] for y in range(h)]
    rows = indexed_rows(idx, w, 8, 10)
    ops = bytearray()
    ops += op(0x0004) + b"\x01" + b"\x00"                          # TxFace + pad
    ops += op(0x00A1) + u16(4) + u16(3) + b"abc" + b"\x00"         # LongComment, odd + pad
    ops += op(0x0029) + b"\x05" + b"\x02" + b"hi"                  # DHText, even: no pad
    ops += op(0x0026) + u16(3) + b"xyz" + b"\x00"                  # reserved, u16 length
    ops += op(0x0305) + b"\x00" * 6                                # reserved, 2 * high byte
    ops += op(0x00B5)                                              # reserved, no data
    ops += op(0x00E0) + u32(5) + b"12345" + b"\x00"                # reserved, u32 length
    ops += op(0x8037)                                              # reserved, no data
    ops += op(0x9876) + u32(3) + b"abc" + b"\x00"                  # reserved, u32 length
    ops += op(0x0071) + u16(14) + rect(0, 0, 2, 2) + s16(0) + s16(0)   # PaintPoly
    # FillPixPat: type 1 pattern with an 8x8 8-bit pixel map (packed, rowBytes 8)
    prow = bytes(range(8))
    ops += (op(0x0014) + u16(1) + b"\xaa" * 8 + u16(0x8000 | 8) + rect(0, 0, 8, 8)
            + pixmap_fields(0, 8, 1, 8) + color_table([(0, 0, 0), (255, 255, 255)])
            + packed_rows([prow] * 8, 8))
    ops += op(0x0013) + u16(2) + b"\x55" * 8 + b"\x12\x34\x56\x78\x9a\xbc"  # dither PnPixPat
    frame = (0, 0, h, w)
    ops += pack_bits_rect(frame, frame, frame, packed_rows(rows, 10), 10, 8, colours)
    write("hand_odd_opcodes_aligned.pict", picture(frame, bytes(ops)))
    write_ppm("hand_odd_opcodes_aligned.expected.ppm", [[colours[v] for v in line] for line in idx])


def scaled_offset_and_modes():
    """Negative picture origin, bands, a stretched source, a bounds wider than srcRect, and a
    1-bit srcOr overlay."""
    space = (-10, -20, 10, 20)            # 40 x 20
    canvas = blank(40, 20)
    ops = bytearray()
    # Band 1: 4x3 8-bit, bounds (100,200)-(103,206) (wider than src), src cols 201..205, drawn x2
    bw, bh = 6, 3
    bounds = (100, 200, 103, 206)
    colours = [((k * 40) % 256, (255 - k * 30) % 256, (k * 90) % 256) for k in range(18)]
    idx = [[(x + y * 6) for x in range(bw)] for y in range(bh)]
    rows = indexed_rows(idx, bw, 8, 8)
    src = (100, 201, 103, 205)
    dst = (-10, -20, -4, -12)
    ops += pack_bits_rect(bounds, src, dst, packed_rows(rows, 8), 8, 8, colours)
    draw(canvas, space, bounds, src, dst, lambda x, y: colours[idx[y][x]])
    # Band 2: 32-bit 5x2 at 1:1 partly outside the frame (clipped at the right edge)
    w2, h2 = 5, 2
    img = [[(10 * x, 200, 20 * y) for x in range(w2)] for y in range(h2)]
    rows32 = [b"".join(bytes(p[c] for p in line) for c in range(3)) for line in img]
    b2 = (0, 0, h2, w2)
    d2 = (-2, 17, 0, 22)
    ops += (op(0x9A) + u32(0xFF) + u16(0x8000 | (w2 * 4)) + rect(*b2) + pixmap_fields(4, 32, 3, 8)
            + rect(*b2) + rect(*d2) + u16(0) + packed_rows(rows32, w2 * 4))
    draw(canvas, space, b2, b2, d2, lambda x, y: img[y][x])
    # Band 3: a 1-bit BitMap drawn with srcOr over band 1: only black pixels land
    w3, h3 = 8, 4
    bits = [[1 if x == y or x == 7 - y else 0 for x in range(w3)] for y in range(h3)]
    raw = b"".join(indexed_rows(bits, w3, 1, 2))
    b3 = (0, 0, h3, w3)
    d3 = (-9, -19, -5, -11)
    ops += op(0x90) + u16(2) + rect(*b3) + rect(*b3) + rect(*d3) + u16(1) + raw
    draw(canvas, space, b3, b3, d3, lambda x, y: (0, 0, 0) if bits[y][x] else (255, 255, 255), mode=1)
    write("hand_scaled_offset_modes.pict", picture(space, bytes(ops)))
    write_ppm("hand_scaled_offset_modes.expected.ppm", canvas)


def masked_region():
    """PackBitsRgn with an L-shaped mask region, and extended version 2 at 144 dpi whose
    srcRect (not the 72-dpi frame) is the canvas."""
    w, h = 10, 8
    colours = [(200, 10, 10), (10, 200, 10), (10, 10, 200)]
    idx = [[(x // 2 + y) % 3 for x in range(w)] for y in range(h)]
    rows = indexed_rows(idx, w, 8, 10)
    # Region: rows 0..3 cover x 0..10, rows 4..7 cover x 0..4 (an L). Inversion points:
    # at y=0 start [0,10); at y=4 toggle 4 and 10 -> [0,4); at y=8 toggle 0 and 4 -> empty.
    body = (s16(0) + s16(0) + s16(10) + s16(0x7FFF) + s16(4) + s16(4) + s16(10) + s16(0x7FFF)
            + s16(8) + s16(0) + s16(4) + s16(0x7FFF) + s16(0x7FFF))
    region = u16(10 + len(body)) + rect(0, 0, 8, 10) + body
    frame = (0, 0, h, w)
    ops = pack_bits_rect(frame, frame, frame, packed_rows(rows, 10), 10, 8, colours, code=0x99, mask=region)
    write("hand_mask_region_ext144.pict",
          picture((0, 0, h // 2, w // 2), ops, ext=(144, 144, frame)))
    canvas = blank(w, h)
    draw(canvas, (0, 0), frame, frame, frame, lambda x, y: colours[idx[y][x]],
         mask=lambda x, y: x < 10 if y < 4 else x < 4)
    write_ppm("hand_mask_region_ext144.expected.ppm", canvas)


def quicktime_jpeg():
    """CompressedQuickTime with a JPEG of 16 x 8 at ty 4, then the black placeholder bitmap for
    viewers without QuickTime at the same place (must be skipped), a pad, and a small bitmap."""
    w, h = 16, 8
    src = [[(240, 40, 40) if x < 8 else (40, 40, 240) for x in range(w)] for y in range(h)]
    write_ppm("src_qt_16x8.ppm", src)
    jpeg = subprocess.run(["convert", "src_qt_16x8.ppm", "-quality", "95", "-sampling-factor", "1x1",
                           "-strip", "JPEG:-"], check=True, stdout=subprocess.PIPE, cwd=HERE).stdout
    idesc = (u32(86) + b"jpeg" + b"\x00" * 6 + u16(0) + u16(1) + u16(1) + b"appl" + u32(0) + u32(0x200)
             + u16(w) + u16(h) + u32(72 << 16) + u32(72 << 16) + u32(len(jpeg)) + u16(1)
             + bytes([12]) + b"Photo - JPEG" + b"\x00" * 19 + s16(24) + s16(-1))
    assert len(idesc) == 86
    matrix = [0x10000, 0, 0, 0, 0x10000, 0, 0, 4 << 16, 0x40000000]
    qt = (u16(0) + b"".join(struct.pack(">i", m) for m in matrix) + u32(0) + rect(0, 0, 0, 0)
          + u16(0) + rect(0, 0, h, w) + u32(0) + u32(0) + idesc + jpeg)
    ops = bytearray()
    ops += op(0x8200) + u32(len(qt)) + qt
    if len(ops) % 2:
        ops += b"\x00"
    # Placeholder: 1-bit BitMap of all black at the JPEG's destination
    ops += op(0x90) + u16(2) + rect(0, 0, h, w) + rect(0, 0, h, w) + rect(4, 0, 4 + h, w) + u16(0)
    ops += b"\xff\xff" * h
    # A 2x2 green block below: proof that drawing continues after the skipped placeholder
    ops += (op(0x9A) + u32(0xFF) + u16(0x8000 | 8) + rect(0, 0, 2, 2) + pixmap_fields(1, 32, 3, 8)
            + rect(0, 0, 2, 2) + rect(12, 0, 14, 2) + u16(0) + (b"\x00\x00\xff\x00" * 4))
    write("hand_quicktime_jpeg.pict", picture((0, 0, 14, w), bytes(ops)))
    canvas = blank(w, 14)
    for y in range(h):
        canvas[4 + y] = list(src[y])
    for y in (12, 13):
        canvas[y][0] = canvas[y][1] = (0, 255, 0)
    write_ppm("hand_quicktime_jpeg.expected.ppm", canvas)
    return bytes(ops)


def quicktime_uncompressed():
    """UncompressedQuickTime: the image is an ordinary DirectBitsRect inside the QuickTime data."""
    w, h = 4, 3
    img = [[(60 * x, 80 * y, 200) for x in range(w)] for y in range(h)]
    raw = b"".join(b"\x00" + bytes(p) for line in img for p in line)
    bitmap = (u16(0x9A) + u32(0xFF) + u16(0x8000 | (w * 4)) + rect(0, 0, h, w) + pixmap_fields(1, 32, 3, 8)
              + rect(0, 0, h, w) + rect(1, 1, 1 + h, 1 + w) + u16(0) + raw)
    matrix = [0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000]
    qt = u16(0) + b"".join(struct.pack(">i", m) for m in matrix) + u32(0) + rect(0, 0, 0, 0) + bitmap
    frame = (0, 0, h + 2, w + 2)
    write("hand_quicktime_uncompressed.pict", picture(frame, op(0x8201) + u32(len(qt)) + qt))
    canvas = blank(w + 2, h + 2)
    for y in range(h):
        for x in range(w):
            canvas[1 + y][1 + x] = img[y][x]
    write_ppm("hand_quicktime_uncompressed.expected.ppm", canvas)


def broken():
    good = open(os.path.join(HERE, "hand_indexed_4bit.pict"), "rb").read()
    write("bad_empty.pict", b"")
    write("bad_truncated_header.pict", good[:520])
    write("bad_truncated_in_pixels.pict", good[:-12])
    write("bad_no_end_opcode.pict", good[:-2])
    write("bad_not_a_picture.pict", b"\x00" * 512 + b"GIF89a" + b"\x00" * 40)
    frame = (0, 0, 4, 4)
    # A packed row whose byte count reaches past the end of the picture.
    ops = (op(0x98) + u16(0x8000 | 8) + rect(0, 0, 1, 8) + pixmap_fields(0, 8, 1, 8)
           + color_table([(0, 0, 0)]) + rect(0, 0, 1, 8) + rect(0, 0, 1, 8) + u16(0) + u8(200) + b"\x07")
    write("bad_count_past_end.pict", picture(frame, ops))
    # A colour table claiming 256 entries with data for one.
    ops = (op(0x98) + u16(0x8000 | 8) + rect(0, 0, 1, 8) + pixmap_fields(0, 8, 1, 8)
           + u32(0) + u16(0) + u16(255) + u16(0) + u16(0) * 3 + rect(0, 0, 1, 8))
    write("bad_colour_table_past_end.pict", picture(frame, ops))
    # A frame of 16000 x 16000 from a few dozen bytes: must not allocate 768 MB.
    ops = (op(0x90) + u16(2) + rect(0, 0, 1, 1) + rect(0, 0, 1, 1) + rect(0, 0, 16000, 16000) + u16(0) + b"\x80\x00")
    write("bad_frame_too_large_for_data.pict", picture((0, 0, 16000, 16000), ops))
    write("bad_frame_over_limit.pict", picture((0, 0, 20000, 100), ops))
    # Pixel size 3 does not exist.
    ops = (op(0x98) + u16(0x8000 | 8) + rect(0, 0, 1, 8) + pixmap_fields(0, 3, 1, 3)
           + color_table([(0, 0, 0)]) + rect(0, 0, 1, 8) + rect(0, 0, 1, 8) + u16(0) + b"\x01\x00\x00")
    write("bad_pixel_size.pict", picture(frame, ops))
    # Rows that unpack to fewer bytes than rowBytes under either count size.
    ops = (op(0x98) + u16(0x8000 | 8) + rect(0, 0, 2, 8) + pixmap_fields(0, 8, 1, 8)
           + color_table([(0, 0, 0)]) + rect(0, 0, 2, 8) + rect(0, 0, 2, 8) + u16(0)
           + b"\x02\xfd\x01" + b"\x02\xfd\x01")
    write("bad_short_packed_rows.pict", picture(frame, ops))
    # A reserved opcode whose 32-bit length overruns the picture.
    write("bad_reserved_length_past_end.pict", picture(frame, op(0x8100) + u32(0xFFFFFFF0)))
    # JPEG QuickTime without a JPEG stream inside.
    qt = u16(0) + b"\x00" * 36 + u32(0) + rect(0, 0, 0, 0) + u16(0) + rect(0, 0, 4, 4) + u32(0) + u32(0)
    qt += u32(86) + b"jpeg" + b"\x00" * 78 + b"\x00" * 10
    write("bad_quicktime_without_jpeg.pict", picture(frame, op(0x8200) + u32(len(qt)) + qt))
    # A clip region of 3000 scan lines whose inversion points pile up, then 200 one-pixel
    # bitmaps at its bottom: each would rescan the whole region (minutes of work in all).
    body = b"".join(s16(i) + s16(2 * i) + s16(2 * i + 1) + s16(0x7FFF) for i in range(3000)) + s16(0x7FFF)
    clip = op(0x0001) + u16(10 + len(body)) + rect(0, 0, 100, 30000) + body
    dot = op(0x90) + u16(2) + rect(0, 0, 1, 1) + rect(0, 0, 1, 1) + rect(99, 0, 100, 1) + u16(0) + b"\x80\x00"
    write("bad_clip_region_rescanned.pict", picture((0, 0, 100, 100), clip + dot * 200))
    # A version 1 picture using a version 2 only opcode.
    write("bad_v1_direct_bits.pict", picture(frame, b"\x9a" + b"\x00" * 40, version=1))


def main():
    make_tool_fixtures()
    hand_indexed(1, "hand_indexed_1bit", width=70, height=3)
    hand_indexed(2, "hand_indexed_2bit_short_table", short_table=True, width=37)
    hand_indexed(4, "hand_indexed_4bit", width=23)
    hand_indexed(4, "hand_indexed_4bit_unpacked", width=9, packed=False)
    hand_direct16(3, "hand_direct16_pack3")
    hand_direct16(1, "hand_direct16_pack1")
    hand_direct32(4, 3, "hand_direct32_pack4_rgb")
    hand_direct32(4, 4, "hand_direct32_pack4_alpha")
    hand_direct32(1, 3, "hand_direct32_pack1_xrgb")
    hand_direct32(2, 3, "hand_direct32_pack2_rgb")
    bitmap_v1()
    odd_opcodes_and_alignment()
    scaled_offset_and_modes()
    masked_region()
    quicktime_jpeg()
    quicktime_uncompressed()
    broken()


if __name__ == "__main__":
    main()
