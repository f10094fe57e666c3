#!/usr/bin/env python3
"""Makes the resource-fork fixtures: three PICTs drawn by ImageMagick packed into one bare fork,
then the same fork in every carrier (MacBinary I/II/III, BinHex from macutils and hfsutils,
AppleSingle, AppleDouble). Also writes each picture's source as a PPM for pixel checks.

Needs: ImageMagick `convert`, macutils (`macstream`, `binhex`), hfsutils (`hformat`, `hmount`,
`hcopy`, `humount`), `unar`. Run from this folder: python3 make_forks.py
"""
import binascii
import os
import shutil
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def run(*args, **kw):
    return subprocess.run(args, check=True, **kw)


def crc16(data):
    return binascii.crc_hqx(data, 0)


# (id, name, width, height, ImageMagick drawing)
PICTURES = [
    (1013, b"over", 32, 48,
     ["xc:#d0c080", "-fill", "#204080", "-draw", "rectangle 4,4 27,20",
      "-fill", "#ff0000", "-draw", "point 0,0", "-fill", "#00ff00", "-draw", "point 31,47"]),
    # Many colours: ImageMagick writes a 32-bit DirectBitsRect for this one.
    (1014, b"", 40, 24, ["xc:", "-fx", "r=i/w; g=j/h; b=(i+j)/(w+h)"]),
    (128, b"Map", 12, 6, ["xc:#ffffff", "-fill", "#000000", "-draw", "rectangle 0,0 5,2"]),
]


def make_picts(work):
    picts = []
    for rid, name, w, h, draw in PICTURES:
        png = os.path.join(work, "p%d.png" % rid)
        args = ["convert", "-size", "%dx%d" % (w, h)] + draw + ["-depth", "8", "-type", "TrueColor", png]
        if rid == 1014:
            args = ["convert", "-size", "%dx%d" % (w, h), draw[0], "-fx", draw[2], "-depth", "8", png]
        run(*args)
        pict = os.path.join(work, "p%d.pict" % rid)
        run("convert", png, "PICT:" + pict)
        run("convert", png, os.path.join(HERE, "pict%d.ppm" % rid))
        with open(pict, "rb") as f:
            picts.append((rid, name, f.read()[512:]))   # resources carry no 512-byte header
    return picts


def build_fork(resources):
    """resources: list of (type, id, name, data). Data area at 256, map after it."""
    data = b""
    by_type = {}
    for rtype, rid, name, payload in resources:
        by_type.setdefault(rtype, []).append((rid, name, len(data)))
        data += struct.pack(">I", len(payload)) + payload
    names = b""
    types = list(by_type)
    type_list = struct.pack(">H", len(types) - 1)
    refs = b""
    ref_base = 2 + 8 * len(types)
    for rtype in types:
        entries = by_type[rtype]
        type_list += rtype + struct.pack(">HH", len(entries) - 1, ref_base + len(refs))
        for rid, name, off in entries:
            name_off = 0xFFFF
            if name:
                name_off = len(names)
                names += bytes([len(name)]) + name
            refs += struct.pack(">hHI I", rid, name_off, off & 0xFFFFFF, 0)
    map_body = type_list + refs
    data_offset = 256
    map_offset = data_offset + len(data)
    map_length = 28 + len(map_body) + len(names)
    header = struct.pack(">IIII", data_offset, map_offset, len(data), map_length)
    res_map = header + struct.pack(">IHHHH", 0, 0, 0, 28, 28 + len(map_body)) + map_body + names
    return header + bytes(240) + data + res_map


def macbinary(name, rsrc, version):
    h = bytearray(128)
    h[1] = len(name)
    h[2:2 + len(name)] = name
    h[65:69] = b"PICT"
    h[69:73] = b"ttxt"
    struct.pack_into(">II", h, 83, 0, len(rsrc))
    if version >= 2:
        h[122] = 0x81 if version == 2 else 0x82
        h[123] = 0x81
        if version == 3:
            h[102:106] = b"mBIN"
        struct.pack_into(">H", h, 124, crc16(bytes(h[:124])))
    pad = (-len(rsrc)) % 128
    return bytes(h) + rsrc + bytes(pad)


def applesingle(rsrc, magic):
    entries = [(3, b"Map"), (9, bytes(32)), (2, rsrc)]
    if magic == 0x00051600:
        entries.insert(0, (1, b"data fork bytes"))
    out = struct.pack(">II16sH", magic, 0x00020000, bytes(16), len(entries))
    offset = len(out) + 12 * len(entries)
    table = b""
    body = b""
    for eid, payload in entries:
        table += struct.pack(">III", eid, offset + len(body), len(payload))
        body += payload
    return out + table + body


def main():
    work = tempfile.mkdtemp()
    try:
        picts = make_picts(work)
        resources = [(b"PICT", rid, name, data) for rid, name, data in picts]
        resources.append((b"STR ", 128, b"Title", b"\x08Test map"))
        fork = build_fork(resources)
        out = lambda n: os.path.join(HERE, n)
        with open(out("map.rsrc"), "wb") as f:
            f.write(fork)
        with open(out("map_mb3.bin"), "wb") as f:
            f.write(macbinary(b"Map", fork, 3))
        with open(out("map.as"), "wb") as f:
            f.write(applesingle(fork, 0x00051600))
        with open(out("map_appledouble.rsrc"), "wb") as f:
            f.write(applesingle(fork, 0x00051607))
        with open(out("map_macstream.bin"), "wb") as f:
            run("macstream", "-r", "-t", "PICT", "-c", "ttxt", out("map.rsrc"), stdout=f)
        with open(out("map_macutils.hqx"), "wb") as f:
            run("binhex", "-r", "-t", "PICT", "-c", "ttxt", out("map.rsrc"), stdout=f)

        # hfsutils: through a real HFS volume, as a Mac file would travel.
        env = dict(os.environ, HOME=work)
        disk = os.path.join(work, "disk.hfs")
        with open(disk, "wb") as f:
            f.write(bytes(1440 * 1024))
        mb2 = os.path.join(work, "Map.bin")
        with open(mb2, "wb") as f:
            f.write(macbinary(b"Map", fork, 2))
        run("hformat", "-l", "Vol", disk, env=env, stdout=subprocess.DEVNULL)
        run("hmount", disk, env=env, stdout=subprocess.DEVNULL)
        try:
            run("hcopy", "-m", mb2, ":Map", env=env)
            run("hcopy", "-m", ":Map", out("map_hcopy.bin"), env=env)
            run("hcopy", "-b", ":Map", out("map_hcopy.hqx"), env=env)
        finally:
            run("humount", env=env)

        # unar's AppleDouble sidecar for the BinHex file: "Map" plus "._Map".
        unpacked = os.path.join(work, "unar")
        run("unar", "-q", "-k", "hidden", "-o", unpacked, out("map_hcopy.hqx"), stdout=subprocess.DEVNULL)
        shutil.copy(os.path.join(unpacked, "._Map"), out("AppleDouble_of_Map"))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
