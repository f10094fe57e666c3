#!/usr/bin/env bash
# Builds the JPEG test files in this folder with ImageMagick from ../pict/src_rgb_37x23.ppm (an
# odd size, so that chroma subsampling meets a ragged edge). The output is committed; the tests
# compare the program's decoder with Qt's reader on each.
#   sub444/sub422/sub420: baseline, the three chroma samplings; progressive; grey; Adobe CMYK;
#   orient1..orient8 (little-endian Exif) and orient6_be (big-endian Exif): the 4:4:4 file with an
#   Exif block giving that orientation; truncated: the 4:2:0 file cut in its scan.
set -euo pipefail
cd "$(dirname "$0")"
src=../pict/src_rgb_37x23.ppm
im() { convert "$src" -strip "$@"; }
im -quality 90 -sampling-factor 1x1 sub444.jpg
im -quality 90 -sampling-factor 2x1 sub422.jpg
im -quality 90 -sampling-factor 2x2 sub420.jpg
im -quality 85 -interlace JPEG progressive.jpg
im -quality 85 -colorspace Gray grey.jpg
im -quality 90 -colorspace CMYK cmyk.jpg
head -c 400 sub420.jpg > truncated.jpg
python3 - <<'PY'
import struct
base = open("sub444.jpg", "rb").read()
def with_exif(orientation, big):
    e = ">" if big else "<"
    tiff = (b"MM\0*" if big else b"II*\0") + struct.pack(e + "I", 8)
    # One directory entry: Orientation (0x0112), SHORT, count 1, the value left-aligned.
    tiff += struct.pack(e + "H", 1) + struct.pack(e + "HHI", 0x0112, 3, 1) + struct.pack(e + "HH", orientation, 0)
    tiff += struct.pack(e + "I", 0)
    body = b"Exif\0\0" + tiff
    return base[:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + base[2:]
for n in range(1, 9):
    open(f"orient{n}.jpg", "wb").write(with_exif(n, False))
open("orient6_be.jpg", "wb").write(with_exif(6, True))
PY
