#!/usr/bin/env python3
"""Builds the QuickTime-in-PICT test fixtures in this folder.

Every fixture is a small PICT whose only drawing is one CompressedQuickTime (0x8200) opcode, named
qt_<codec>_<variant>.pict, with qt_<codec>_<variant>.expected.ppm holding the pixels it must give:

  * Own encoders below ('raw ', 'WRLE', '8BPS', and PNG written with zlib): the expected image is the
    source image itself (or what the Mac conventions make of it: grey and 1-bit tables with index 0
    white, alpha over white). The 'raw ', 'WRLE', '8BPS' and 'rle ' ones are also put into a movie
    and decoded by ffmpeg, which must agree (cross_check).
  * ImageMagick (`convert`) writes the TIFF, GIF and interlaced PNG files; the expected image is the
    source again (all lossless for these few colours).
  * ffmpeg encodes 'rle ', 'smc ', 'rpza' and 'cvid' into a one-frame .mov; the image description
    (the movie's sample description, the same record) and the frame's data are lifted out of it. The
    expected image is ffmpeg's own decoding of that .mov, so these fixtures check the decoders against
    an independent one; for the lossy codecs the tests also check known pixels against the source.

bad_qt_*.pict are damaged variants, one or more per codec, each named for its fault.

Run from anywhere: python3 tests/data/pict/quicktime/make_quicktime_fixtures.py
(needs convert and ffmpeg; ffmpeg is only a test-data tool, nothing builds or tests with it).
The output is committed.
"""

import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 22, 14   # not a multiple of 4: block codecs must crop their padding

# Colour levels that 5-bit channels reproduce exactly ((v << 3) | (v >> 2)).
RED = (231, 33, 33)
GREEN = (33, 198, 66)
BLUE = (33, 66, 231)
YELLOW = (255, 231, 0)
DARK = (66, 66, 66)
WHITE = (255, 255, 255)
PALETTE = [WHITE, RED, GREEN, BLUE, YELLOW, DARK]


def source_image():
    """Quadrants red (top left), green (top right), blue (bottom left), yellow (bottom right),
    split at x 12, y 8 (on 4x4 block edges); a dark 4x4 square and a white one inside, and one
    dark pixel at (13, 2)."""
    img = []
    for y in range(H):
        row = []
        for x in range(W):
            if x < 12:
                c = RED if y < 8 else BLUE
            else:
                c = GREEN if y < 8 else YELLOW
            if 4 <= x < 8 and 4 <= y < 8:
                c = DARK
            if 16 <= x < 20 and 8 <= y < 12:
                c = WHITE
            if (x, y) == (13, 2):
                c = DARK
            row.append(c)
        img.append(row)
    return img


# ---------------------------------------------------------------------------------------------
# Files

def path(name):
    return os.path.join(HERE, name)


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)


def ppm_bytes(img):
    data = bytearray(f"P6\n{len(img[0])} {len(img)}\n255\n".encode())
    for row in img:
        for px in row:
            data += bytes(px)
    return bytes(data)


def write_ppm(name, img):
    write(name, ppm_bytes(img))


def read_ppm(data):
    parts = data.split(b"\n", 3)
    w, h = map(int, parts[1].split())
    pix = parts[3]
    return [[tuple(pix[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]


# ---------------------------------------------------------------------------------------------
# PICT and QuickTime records (big-endian)

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


def colour_table(colours):
    out = u32(0) + u16(0) + u16(len(colours) - 1)
    for k, (r, g, b) in enumerate(colours):
        out += u16(k) + u16(r * 257) + u16(g * 257) + u16(b * 257)
    return out


def image_description(codec, w, h, depth, data_size, name=b"", colours=None):
    """The 86-byte fixed part; with `colours`, colour table id 0 and the table after it."""
    body = (codec + b"\x00" * 6 + u16(0) + u16(0) + u16(0) + b"appl" + u32(0) + u32(0x200)
            + u16(w) + u16(h) + u32(72 << 16) + u32(72 << 16) + u32(data_size) + u16(1)
            + bytes([len(name)]) + name.ljust(31, b"\x00") + s16(depth) + s16(0 if colours else -1))
    if colours:
        body += colour_table(colours)
    return u32(len(body) + 4) + body


def pict_with_quicktime(idesc, data, w, h):
    """A version 2 picture of w x h (with the 512-byte file header) holding one 0x8200 image."""
    matrix = [0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000]
    qt = (u16(0) + b"".join(struct.pack(">i", m) for m in matrix) + u32(0) + rect(0, 0, 0, 0)
          + u16(0) + rect(0, 0, h, w) + u32(0) + u32(0) + idesc + data)
    ops = u16(0x8200) + u32(len(qt)) + qt
    if len(ops) % 2:
        ops += b"\x00"
    body = (u16(0) + rect(0, 0, h, w) + u16(0x0011) + u16(0x02FF) + u16(0x0C00)
            + s16(-1) + s16(-1) + rect(0, 0, 0, 0) + rect(0, 0, 0, 0) + u32(0) + ops + u16(0x00FF))
    return b"\x00" * 512 + body


def fixture(name, codec, depth, data, expected, colours=None, desc_size=None):
    w, h = desc_size or (len(expected[0]), len(expected))
    idesc = image_description(codec, w, h, depth, len(data), colours=colours)
    write(f"qt_{name}.pict", pict_with_quicktime(idesc, data, w, h))
    write_ppm(f"qt_{name}.expected.ppm", expected)
    if codec in (b"raw ", b"WRLE", b"8BPS", b"rle "):
        cross_check(name, idesc, data, expected)


def cross_check(name, idesc, data, expected):
    """Our own encodings, decoded by ffmpeg too: a one-frame movie of ffmpeg's own making gets our
    image description and frame in place of its own, and ffmpeg's decoding must equal the expected
    image - so encoder and decoder here cannot share a misreading of the format unnoticed."""
    w, h = len(expected[0]), len(expected)
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "src.ppm")
        with open(src, "wb") as f:
            f.write(ppm_bytes(expected))
        base = os.path.join(tmp, "base.mov")
        quiet = ["-hide_banner", "-loglevel", "error", "-y"]
        subprocess.run(["ffmpeg"] + quiet + ["-i", src, "-frames:v", "1", "-c:v", "rawvideo", "-pix_fmt", "argb",
                                            "-bitexact", base], check=True)
        with open(base, "rb") as f:
            mov = bytearray(f.read())
        stbl = [b"moov", b"trak", b"mdia", b"minf", b"stbl"]
        body, _ = find_atom(mov, stbl + [b"stco"])
        offset = struct.unpack(">I", mov[body + 8:body + 12])[0]
        assert len(data) <= w * h * 4
        mov[offset:offset + len(data)] = data
        body, _ = find_atom(mov, stbl + [b"stsz"])
        mov[body + 4:body + 8] = u32(len(data))
        body, _ = find_atom(mov, stbl + [b"stsd"])
        old_size = struct.unpack(">I", mov[body + 8:body + 12])[0]
        mov[body + 8:body + 8 + old_size] = idesc
        delta = len(idesc) - old_size
        for depth in range(len(stbl) + 1):
            start = find_atom(mov, (stbl + [b"stsd"])[:depth + 1])[0] - 8
            mov[start:start + 4] = u32(struct.unpack(">I", mov[start:start + 4])[0] + delta)
        patched = os.path.join(tmp, "patched.mov")
        with open(patched, "wb") as f:
            f.write(mov)
        decoded = subprocess.run(["ffmpeg"] + quiet + ["-i", patched, "-frames:v", "1", "-f", "rawvideo",
                                                       "-pix_fmt", "rgb24", "-"], stdout=subprocess.PIPE).stdout
    want = b"".join(bytes(px) for row in expected for px in row)
    if decoded != want:
        raise SystemExit(f"cross-check: ffmpeg decodes qt_{name} differently ({len(decoded)} bytes)")


# ---------------------------------------------------------------------------------------------
# Own encoders

def grey_of(c):
    return (c[0] * 30 + c[1] * 59 + c[2] * 11) // 100


def raw_fixtures(img):
    rows24 = b"".join(bytes(c for px in row for c in px) for row in img)
    fixture("raw_24", b"raw ", 24, rows24, img)
    # Alpha 0x40 in every pixel: a QuickDraw copy ignores it.
    rows32 = b"".join(b"".join(b"\x40" + bytes(px) for px in row) for row in img)
    fixture("raw_32", b"raw ", 32, rows32, img)
    rows16 = b"".join(b"".join(u16(((px[0] >> 3) << 10) | ((px[1] >> 3) << 5) | (px[2] >> 3)) for px in row)
                      for row in img)
    fixture("raw_16", b"raw ", 16, rows16, img)
    rows8 = b"".join(bytes(PALETTE.index(px) for px in row) for row in img)
    fixture("raw_8_own_table", b"raw ", 8, rows8, img, colours=PALETTE)
    # 1 bit, the default table (0 white, 1 black), rows of 3 bytes padded to 4.
    bits = [[1 if grey_of(px) < 128 else 0 for px in row] for row in img]
    data = bytearray()
    for row in bits:
        line = bytearray(4)
        for x, b in enumerate(row):
            line[x // 8] |= b << (7 - x % 8)
        data += line
    fixture("raw_1_padded_rows", b"raw ", 1, bytes(data),
            [[(0, 0, 0) if b else WHITE for b in row] for row in bits])
    # 8-bit grey (depth 40): index 0 is white, 255 black.
    greys = [[grey_of(px) for px in row] for row in img]
    data = b"".join(bytes(255 - g for g in row) for row in greys)
    fixture("raw_grey8", b"raw ", 40, data, [[(g, g, g) for g in row] for row in greys])


def bmp_fixtures(img):
    # 24-bit, bottom-up, B G R, rows padded to four bytes.
    stride = (W * 3 + 3) & ~3
    data = b"".join(b"".join(bytes((px[2], px[1], px[0])) for px in row).ljust(stride, b"\x00")
                    for row in reversed(img))
    fixture("bmp_24", b"WRLE", 24, data, img)
    # RLE8 with the description's colour table: runs per row, one literal run, end codes.
    data = bytearray()
    for y, row in enumerate(reversed(img)):
        idx = [PALETTE.index(px) for px in row]
        if y == 3:
            data += bytes([0, 5]) + bytes(idx[:5]) + b"\x00"   # literal of 5, padded to even
            idx = idx[5:]
        x = 0
        while x < len(idx):
            n = 1
            while x + n < len(idx) and idx[x + n] == idx[x] and n < 255:
                n += 1
            data += bytes([n, idx[x]])
            x += n
        data += b"\x00\x00"
    data += b"\x00\x01"
    fixture("bmp_rle8", b"WRLE", 8, bytes(data), img, colours=PALETTE)
    return bytes(data)


MAC16 = [(0xFF, 0xFF, 0xFF), (0xFC, 0xF3, 0x05), (0xFF, 0x64, 0x02), (0xDD, 0x08, 0x06), (0xF2, 0x08, 0x84),
         (0x46, 0x00, 0xA5), (0x00, 0x00, 0xD4), (0x02, 0xAB, 0xEA), (0x1F, 0xB7, 0x14), (0x00, 0x64, 0x11),
         (0x56, 0x2C, 0x05), (0x90, 0x71, 0x3A), (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0x40, 0x40, 0x40),
         (0x00, 0x00, 0x00)]
MAC4 = [(255, 255, 255), (0xAC, 0xAC, 0xAC), (0x55, 0x55, 0x55), (0, 0, 0)]


def mac256(index):
    """The Mac 8-bit system table, for the few indices used here (cube entries and grey ramp)."""
    if index < 215:
        r, g, b = 5 - index // 36, 5 - index // 6 % 6, 5 - index % 6
        return (r * 0x33, g * 0x33, b * 0x33)
    ramp = [0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11]
    if 245 <= index < 255:
        v = ramp[index - 245]
        return (v, v, v)
    raise ValueError(index)


def animation(rows_units, unit_bytes):
    """An 'rle ' frame for 2, 4 and 8 bits (and whole pixels): per row a skip byte of 1, then a run
    for repeated units and literals for the rest, then -1."""
    out = bytearray(u16(0))
    for units in rows_units:
        out.append(1)
        i = 0
        while i < len(units):
            n = 1
            while i + n < len(units) and units[i + n] == units[i] and n < 128:
                n += 1
            if n >= 2:
                out += struct.pack(">b", -n) + units[i]
                i += n
            else:
                j = i
                while j < len(units) and (j + 1 >= len(units) or units[j + 1] != units[j]) and j - i < 127:
                    j += 1
                out += struct.pack(">b", j - i) + b"".join(units[i:j])
                i = j
        out += b"\xff"
    return u32(len(out) + 4) + bytes(out)


def animation_1bit(rows_bits):
    """A 1-bit 'rle ' frame: per row a new-row pair, then 16-pixel units as one run (when they are
    all equal) or one literal; (0, 0) ends the frame."""
    out = bytearray(u16(0))
    for bits in rows_bits:
        units = []
        for u in range(0, len(bits), 16):
            v = 0
            for i in range(16):
                v = (v << 1) | (bits[u + i] if u + i < len(bits) else 0)
            units.append(u16(v))
        if all(x == units[0] for x in units):
            out += bytes([0x80]) + struct.pack(">b", -len(units)) + units[0]
        else:
            out += bytes([0x80, 0xFF]) + bytes([0]) + struct.pack(">b", len(units)) + b"".join(units)
    out += b"\x00\x00"
    return u32(len(out) + 4) + bytes(out)


def pack_units(indices, bits):
    """Rows of indices as 4-byte units of 32 / bits pixels, padded with index 0."""
    per = 32 // bits
    rows = []
    for row in indices:
        row = row + [0] * (-len(row) % per)
        units = []
        for u in range(0, len(row), per):
            v = 0
            for x in row[u:u + per]:
                v = (v << bits) | x
            units.append(u32(v))
        rows.append(units)
    return rows


def animation_fixtures(img):
    indices = [[PALETTE.index(px) for px in row] for row in img]
    fixture("rle_8_own_table", b"rle ", 8, animation(pack_units(indices, 8), 4), img, colours=PALETTE)
    mac16 = {WHITE: 0, YELLOW: 1, RED: 3, BLUE: 6, GREEN: 8, DARK: 14}
    indices = [[mac16[px] for px in row] for row in img]
    fixture("rle_4_mac_table", b"rle ", 4, animation(pack_units(indices, 4), 4),
            [[MAC16[i] for i in row] for row in indices])
    indices = [[3 - grey_of(px) // 64 for px in row] for row in img]
    fixture("rle_2_mac_table", b"rle ", 2, animation(pack_units(indices, 2), 4),
            [[MAC4[i] for i in row] for row in indices])
    bits = [[1 if grey_of(px) < 128 else 0 for px in row] for row in img]
    bits[5] = [1] * W   # one row that is a single run
    fixture("rle_1", b"rle ", 1, animation_1bit(bits), [[(0, 0, 0) if b else WHITE for b in row] for row in bits])
    # The 8-bit system table: cube corners and a grey of the ramp.
    mac256_index = {WHITE: 0, RED: 35, GREEN: 185, BLUE: 210, YELLOW: 5, DARK: 252}
    indices = [[mac256_index[px] for px in row] for row in img]
    fixture("raw_8_mac_table", b"raw ", 8, b"".join(bytes(row) for row in indices),
            [[mac256(i) for i in row] for row in indices])


def packbits(row):
    out = bytearray()
    i = 0
    literal = bytearray()

    def flush():
        while literal:
            chunk = literal[:128]
            del literal[:128]
            out.append(len(chunk) - 1)
            out.extend(chunk)

    while i < len(row):
        run = 1
        while i + run < len(row) and row[i + run] == row[i] and run < 128:
            run += 1
        if run >= 2:
            flush()
            out.append(257 - run)
            out.append(row[i])
            i += run
        else:
            literal.append(row[i])
            i += 1
    flush()
    return bytes(out)


def planar(planes):
    lengths = bytearray()
    rows = bytearray()
    for plane in planes:
        for row in plane:
            p = packbits(bytes(row))
            lengths += u16(len(p))
            rows += p
    return bytes(lengths + rows)


def planar_fixtures(img):
    planes = [[[px[c] for px in row] for row in img] for c in range(3)]
    fixture("8bps_24", b"8BPS", 24, planar(planes), img)
    alpha = [[(x * 11) & 0xFF for x in range(W)] for _ in range(H)]
    fixture("8bps_32", b"8BPS", 32, planar(planes + [alpha]), img)
    indices = [[PALETTE.index(px) for px in row] for row in img]
    fixture("8bps_8_own_table", b"8BPS", 8, planar([indices]), img, colours=PALETTE)


def png_chunk(kind, data):
    return u32(len(data)) + kind + data + u32(zlib.crc32(kind + data))


def png_file(w, h, colour_type, rows, extra=b""):
    header = u32(w) + u32(h) + bytes([8, colour_type, 0, 0, 0])
    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def over_white(c, a):
    return tuple((v * a + 255 * (255 - a) + 127) // 255 for v in c)


def alpha_of(x, y):
    """Opaque, then half, then fully transparent columns."""
    return 255 if x < 8 else (128 if x < 15 else 0)


def png_fixtures(img):
    rgb = png_file(W, H, 2, [bytes(c for px in row for c in px) for row in img])
    fixture("png_rgb", b"png ", 24, rgb, img)
    rgba = png_file(W, H, 6, [bytes(c for x, px in enumerate(row) for c in px + (alpha_of(x, y),))
                              for y, row in enumerate(img)])
    fixture("png_alpha_over_white", b"png ", 32, rgba,
            [[over_white(px, alpha_of(x, y)) for x, px in enumerate(row)] for y, row in enumerate(img)])
    # Palette with a tRNS entry making the dark colour transparent.
    plte = b"".join(bytes(c) for c in PALETTE)
    trns = bytes([255] * PALETTE.index(DARK) + [0])
    pal = png_file(W, H, 3, [bytes(PALETTE.index(px) for px in row) for row in img],
                   png_chunk(b"PLTE", plte) + png_chunk(b"tRNS", trns))
    fixture("png_palette_transparent", b"png ", 8, pal,
            [[WHITE if px == DARK else px for px in row] for row in img])
    # Plain files for the PNG reader on its own: the RGB image, and 16-bit grey (a ramp across
    # the width, 0x0000 to 0xFFFF) whose high bytes are what comes out.
    write("source_rgb.png", rgb)
    header = u32(W) + u32(H) + bytes([16, 0, 0, 0, 0])
    raw = b"".join(b"\x00" + b"".join(u16(x * 0xFFFF // (W - 1)) for x in range(W)) for _ in range(H))
    write("grey16.png", b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(raw, 9))
          + png_chunk(b"IEND", b""))
    return rgb


# ---------------------------------------------------------------------------------------------
# ImageMagick

def convert(args, src_bytes, src_ext):
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "src." + src_ext)
        with open(src, "wb") as f:
            f.write(src_bytes)
        out = os.path.join(tmp, "out")
        subprocess.run(["convert", src] + args[:-1] + [args[-1] + ":" + out], check=True)
        with open(out, "rb") as f:
            return f.read()


def magick_fixtures(img):
    src = ppm_bytes(img)
    fixture("tiff_rgb_lzw", b"tiff", 24, convert(["-compress", "lzw", "-strip", "TIFF"], src, "ppm"), img)
    fixture("tiff_rgb_uncompressed", b"tiff", 24, convert(["-compress", "none", "-strip", "TIFF"], src, "ppm"), img)
    rgba = png_file(W, H, 6, [bytes(c for x, px in enumerate(row) for c in px + (alpha_of(x, y),))
                              for y, row in enumerate(img)])
    fixture("tiff_alpha_over_white", b"tiff", 32, convert(["-compress", "zip", "-strip", "TIFF"], rgba, "png"),
            [[over_white(px, alpha_of(x, y)) for x, px in enumerate(row)] for y, row in enumerate(img)])
    fixture("png_interlaced", b"png ", 24, convert(["-interlace", "PNG", "-strip", "PNG24"], src, "ppm"), img)
    fixture("gif_plain", b"gif ", 8, convert(["-strip", "GIF"], src, "ppm"), img)
    fixture("gif_interlaced", b"gif ", 8, convert(["-interlace", "GIF", "-strip", "GIF"], src, "ppm"), img)
    binary = png_file(W, H, 6, [bytes(c for x, px in enumerate(row) for c in px + (255 if x < 15 else 0,))
                                for row in img])
    fixture("gif_transparent", b"gif ", 8, convert(["-strip", "GIF"], binary, "png"),
            [[px if x < 15 else WHITE for x, px in enumerate(row)] for row in img])


# ---------------------------------------------------------------------------------------------
# ffmpeg: one-frame movies; the sample description and the frame's data come out of the .mov

def atoms(data, start, end):
    pos = start
    while pos + 8 <= end:
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if size < 8:
            break
        yield kind, pos + 8, pos + size
        pos += size


def find_atom(data, path_kinds, start=0, end=None):
    end = len(data) if end is None else end
    for kind, body, stop in atoms(data, start, end):
        if kind == path_kinds[0]:
            if len(path_kinds) == 1:
                return body, stop
            return find_atom(data, path_kinds[1:], body, stop)
    raise ValueError(f"no {path_kinds[0]} atom")


def movie_frame(mov):
    stbl = [b"moov", b"trak", b"mdia", b"minf", b"stbl"]
    body, _ = find_atom(mov, stbl + [b"stsd"])
    entry_size = struct.unpack(">I", mov[body + 8:body + 12])[0]
    idesc = mov[body + 8:body + 8 + entry_size]
    body, _ = find_atom(mov, stbl + [b"stco"])
    offset = struct.unpack(">I", mov[body + 8:body + 12])[0]
    body, _ = find_atom(mov, stbl + [b"stsz"])
    size = struct.unpack(">I", mov[body + 4:body + 8])[0] or struct.unpack(">I", mov[body + 12:body + 16])[0]
    return idesc, mov[offset:offset + size]


def ffmpeg_fixture(name, img, codec_args, pix_fmt, crop=None):
    """crop = (w, h): the description claims this smaller size after encoding, so the decoder must
    cut the visible part out of the coded one."""
    with tempfile.TemporaryDirectory() as tmp:
        src_args = []
        # Indexed output starts from a palette PNG, so ffmpeg keeps our colours instead of
        # quantising to a fixed palette of its own.
        if pix_fmt == "pal8":
            src = os.path.join(tmp, "src.png")
            data = png_file(len(img[0]), len(img), 3, [bytes(PALETTE.index(px) for px in row) for row in img],
                            png_chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE)))
        elif pix_fmt.startswith("rgb555"):
            # 15-bit output from 15-bit input: ffmpeg would dither a conversion from 24 bits.
            src = os.path.join(tmp, "src.raw")
            order = ">H" if pix_fmt.endswith("be") else "<H"
            data = b"".join(struct.pack(order, ((px[0] >> 3) << 10) | ((px[1] >> 3) << 5) | (px[2] >> 3))
                            for row in img for px in row)
            src_args = ["-f", "rawvideo", "-pix_fmt", pix_fmt, "-s", f"{len(img[0])}x{len(img)}"]
        else:
            src = os.path.join(tmp, "src.ppm")
            data = ppm_bytes(img)
        with open(src, "wb") as f:
            f.write(data)
        mov = os.path.join(tmp, "out.mov")
        quiet = ["-hide_banner", "-loglevel", "error", "-y"]
        subprocess.run(["ffmpeg"] + quiet + src_args + ["-i", src, "-frames:v", "1", "-pix_fmt", pix_fmt] + codec_args
                       + ["-bitexact", mov], check=True)
        decoded = subprocess.run(["ffmpeg"] + quiet + ["-i", mov, "-frames:v", "1", "-f", "rawvideo",
                                                       "-pix_fmt", "rgb24", "-"],
                                 check=True, stdout=subprocess.PIPE).stdout
        with open(mov, "rb") as f:
            idesc, frame = movie_frame(f.read())
    w, h = len(img[0]), len(img)
    assert len(decoded) == w * h * 3, name
    expected = [[tuple(decoded[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]
    if crop:
        w, h = crop
        idesc = idesc[:32] + u16(w) + u16(h) + idesc[36:]
        expected = [row[:w] for row in expected[:h]]
    write(f"qt_{name}.pict", pict_with_quicktime(idesc, frame, w, h))
    write_ppm(f"qt_{name}.expected.ppm", expected)
    return idesc, frame


def ffmpeg_fixtures(img):
    made = {}
    made["rle_24"] = ffmpeg_fixture("rle_24", img, ["-c:v", "qtrle"], "rgb24")
    made["rle_16"] = ffmpeg_fixture("rle_16", img, ["-c:v", "qtrle"], "rgb555be")
    made["rle_32"] = ffmpeg_fixture("rle_32", img, ["-c:v", "qtrle"], "argb")
    # ffmpeg writes 8-bit Animation only for widths that are a multiple of 4.
    wide = [row + [row[-1]] * 2 for row in img]
    made["rle_grey8"] = ffmpeg_fixture("rle_grey8", wide, ["-c:v", "qtrle"], "gray")
    made["smc"] = ffmpeg_fixture("smc", img, ["-c:v", "smc"], "pal8")
    made["rpza"] = ffmpeg_fixture("rpza", img, ["-c:v", "rpza"], "rgb555le")
    # Cinepak encodes whole 4x4 blocks only: a 24 x 16 frame described as 22 x 14.
    blocks = [row + [row[-1]] * 2 for row in img]
    blocks += [blocks[-1]] * 2
    made["cvid"] = ffmpeg_fixture("cvid", blocks, ["-c:v", "cinepak"], "rgb24", crop=(W, H))
    made["cvid_grey"] = ffmpeg_fixture("cvid_grey", blocks, ["-c:v", "cinepak"], "gray", crop=(W, H))
    return made


# ---------------------------------------------------------------------------------------------
# Damaged pictures

def broken(img, made, rgb_png, rle8):
    def bad(name, codec, depth, data, w=W, h=H, colours=None, idesc=None):
        idesc = idesc or image_description(codec, w, h, depth, len(data), colours=colours)
        write(f"bad_qt_{name}.pict", pict_with_quicktime(idesc, data, min(w, 64), min(h, 64)))

    rows24 = b"".join(bytes(c for px in row for c in px) for row in img)
    bad("raw_cut_off", b"raw ", 24, rows24[:-10])
    bad("raw_depth_12", b"raw ", 12, rows24)
    bad("unknown_codec", b"xyzw", 24, rows24)
    bad("size_too_large_for_data", b"raw ", 24, rows24, w=16000, h=16000)
    bad("bmp_rle8_run_past_row", b"WRLE", 8, bytes([40, 1]) + rle8[2:], colours=PALETTE)
    bad("bmp_rle8_no_end_code", b"WRLE", 8, rle8[:-2], colours=PALETTE)
    idesc, frame = made["rle_24"]
    bad("rle_cut_off", None, 0, frame[:len(frame) // 2], idesc=idesc)
    # First row: skip 1, literal of 100 pixels in a 22-pixel row.
    bad("rle_codes_past_row", None, 0, frame[:6] + bytes([1, 100]) + frame[8:], idesc=idesc)
    # 1 bit: the first row's pair asks for a literal of 3 units in a row of 2.
    one_bit = animation_1bit([[0] * W] * H)
    bad("rle_1_codes_past_row", b"rle ", 1, one_bit[:6] + bytes([0x80, 3]) + b"\x00" * 6 + one_bit[10:])
    idesc, frame = made["smc"]
    bad("smc_repeat_before_any_block", None, 0, frame[:4] + b"\x20" + frame[4:], idesc=idesc)
    bad("smc_cut_off", None, 0, frame[:12], idesc=idesc)
    idesc, frame = made["rpza"]
    bad("rpza_no_chunk_marker", None, 0, b"\x00" + frame[1:], idesc=idesc)
    bad("rpza_cut_off", None, 0, frame[:7], idesc=idesc)
    idesc, frame = made["cvid"]
    # Strip bottom (offset 10 + 8) far below the image.
    bad("cvid_strip_outside_image", None, 0, frame[:18] + u16(400) + frame[20:], idesc=idesc)
    bad("cvid_cut_off", None, 0, frame[:30], idesc=idesc)
    # A strip starting at row 2: its last row of 4x4 blocks would end 2 rows below the padded frame.
    bad("cvid_blocks_past_padding", None, 0, frame[:14] + u16(2) + frame[16:], idesc=idesc)
    planes = [[[px[c] for px in row] for row in img] for c in range(3)]
    data = planar(planes)
    bad("8bps_length_table_cut_off", b"8BPS", 24, data[:H * 3])
    bad("8bps_rows_cut_off", b"8BPS", 24, data[:-5])
    bad("png_bad_crc", b"png ", 24, rgb_png[:-20] + bytes([rgb_png[-20] ^ 0xFF]) + rgb_png[-19:])
    bad("png_cut_off", b"png ", 24, rgb_png[:60])
    bad("png_larger_than_description", b"png ", 24, rgb_png, w=W - 1)
    tiff = convert(["-compress", "none", "-strip", "TIFF"], ppm_bytes(img), "ppm")
    bad("tiff_cut_off", b"tiff", 24, tiff[:200])
    bad("tiff_larger_than_description", b"tiff", 24, tiff, h=H - 1)
    bad("tiff_not_a_tiff", b"tiff", 24, b"II*\x00" + u32(0xFFFFFF00)[::-1] + b"\x00" * 40)
    gif = convert(["-strip", "GIF"], ppm_bytes(img), "ppm")
    bad("gif_cut_off", b"gif ", 8, gif[:len(gif) - 30])
    bad("gif_larger_than_description", b"gif ", 8, gif, w=W - 1)
    bad("gif_not_a_gif", b"gif ", 8, b"XYZ89a" + gif[6:])


FUZZ_CODECS = [b"raw ", b"png ", b"tiff", b"gif ", b"WRLE", b"rle ", b"smc ", b"rpza", b"cvid", b"8BPS"]
FUZZ_DEPTHS = [1, 2, 4, 8, 16, 24, 32, 33, 34, 36, 40]


def fuzz_seeds():
    """Seeds for fuzz/fuzz_quicktime.cpp from the good fixtures: codec index, width - 1,
    height - 1, depth index, then the image data."""
    out_dir = os.path.join(HERE, "..", "..", "..", "..", "fuzz", "corpus", "quicktime")
    os.makedirs(out_dir, exist_ok=True)
    for name in sorted(os.listdir(HERE)):
        if not (name.startswith("qt_") and name.endswith(".pict")):
            continue
        with open(path(name), "rb") as f:
            pict = f.read()
        start = 512 + 40 + 6   # file header, picture header, opcode and length
        qt = pict[start:start + struct.unpack(">I", pict[start - 4:start])[0]]
        idesc_size = struct.unpack(">I", qt[68:72])[0]
        idesc = qt[68:68 + idesc_size]
        codec = idesc[4:8]
        w, h = struct.unpack(">HH", idesc[32:36])
        depth = struct.unpack(">h", idesc[82:84])[0]
        data_size = struct.unpack(">I", idesc[44:48])[0]
        data = qt[68 + idesc_size:]
        if data_size:
            data = data[:data_size]
        seed = bytes([FUZZ_CODECS.index(codec), w - 1, h - 1, FUZZ_DEPTHS.index(depth)]) + data
        with open(os.path.join(out_dir, name[3:-5]), "wb") as f:
            f.write(seed)


def main():
    img = source_image()
    write_ppm("qt_source.ppm", img)
    raw_fixtures(img)
    rle8 = bmp_fixtures(img)
    planar_fixtures(img)
    animation_fixtures(img)
    rgb_png = png_fixtures(img)
    magick_fixtures(img)
    made = ffmpeg_fixtures(img)
    broken(img, made, rgb_png, rle8)
    fuzz_seeds()


if __name__ == "__main__":
    main()
