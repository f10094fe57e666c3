#!/usr/bin/env python3
"""Writes the tiny OvData fixtures of the ovdata and tool tests, each named for what it carries.

Built with struct, independently of the C++ writer, so that the tests compare the program
against a second reading of the format. Run from anywhere: python3 make_fixtures.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def name_field(name: bytes) -> bytes:
    name = name[:49]
    return name + b"\x00" + b"\xa3" * (50 - len(name) - 1)


def header(resource_id: int, sectors: int, magic: bytes = b"OvDa", fmt: int = 1) -> bytes:
    return magic + struct.pack(">iii", fmt, resource_id, sectors)


def record(entry_id: int, name: bytes, rect, count: int) -> bytes:
    return struct.pack(">i", entry_id) + name_field(name) + struct.pack(">4h", *rect) + struct.pack(">i", count)


def battle(entry_id: int, name: bytes, rect, tail: bytes) -> bytes:
    return struct.pack(">i", entry_id) + name_field(name) + struct.pack(">4h", *rect) + tail


# The file the editor writes for a new sector 4 with map picture 1018.
one_sector = header(1018, 1) + record(4, b"<new sector 4>", (0, 0, 0, 0), 0)

# One sector North (1) with op "Op A" (10) holding battles B1 (100) and B2 (101).
north = (header(1013, 1) + record(1, b"North", (10, 20, 300, 480), 1)
         + record(10, b"Op A", (15, 25, 200, 300), 2)
         + battle(100, b"B1", (20, 30, 60, 70), b"\x00\x02\x00")
         + battle(101, b"B2", (-5, 32767, -32768, 0), b"\x01\x00\xff"))

fixtures = {
    "empty.ovdata": b"",
    "one_sector_82_bytes.ovdata": one_sector,
    "north_one_op_two_battles.ovdata": north,
    "bad_magic.ovdata": b"OvDb" + one_sector[4:],
    "lowercase_magic.ovdata": b"ovda" + one_sector[4:],
    "shorter_than_magic.ovdata": b"OvD",
    "truncated_header.ovdata": one_sector[:10],
    "truncated_in_sector_record.ovdata": one_sector[:60],
    "truncated_in_battle_tail.ovdata": north[:-1],
    "sector_count_12.ovdata": header(1013, 12) + record(1, b"S", (0, 0, 0, 0), 0) * 12,
    "sector_count_negative.ovdata": header(1013, -1),
    "op_count_12.ovdata": header(1013, 1) + record(1, b"S", (0, 0, 0, 0), 12)
    + record(10, b"O", (0, 0, 0, 0), 0) * 12,
    "battle_count_negative.ovdata": header(1013, 1) + record(1, b"S", (0, 0, 0, 0), 1)
    + record(10, b"O", (0, 0, 0, 0), -2),
    "format_number_7.ovdata": header(1018, 1, fmt=7) + one_sector[16:],
    "trailing_bytes.ovdata": one_sector + b"\x00\x01junk",
    "name_of_50_bytes_without_zero.ovdata": header(1013, 1) + struct.pack(">i", 1) + b"N" * 50
    + struct.pack(">4hi", 0, 0, 0, 0, 0),
}

for name, data in fixtures.items():
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
