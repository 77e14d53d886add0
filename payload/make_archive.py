#!/usr/bin/env python3
"""Writes the ZIP archive that the setup carries, byte for byte the same on
every build of the same files.

make_archive.py OUTPUT FILE...

Each FILE becomes one entry at the archive's root, named after the file, in
the order given: deflated, version needed 2.0, general-purpose flags 0,
external attributes 0x20 (archive), the name stored as GBK bytes (no UTF-8
flag), no extra fields, a fixed DOS date and time, no archive comment. The
archive starts with its first local header.
"""
import os
import struct
import sys
import zlib

VERSION = 20                     # 2.0: deflate
MADE_BY = VERSION                # MS-DOS attributes, version 2.0
METHOD_DEFLATE = 8
ATTRIBUTE_ARCHIVE = 0x20
# 2024-03-01 12:00:00; a fixed stamp keeps the archive reproducible.
DOS_TIME = 12 << 11
DOS_DATE = ((2024 - 1980) << 9) | (3 << 5) | 1
LIMIT = 0xFFFFFFFF               # no ZIP64 records: every field must fit 32 bits


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15, 9, zlib.Z_DEFAULT_STRATEGY)
    return packer.compress(data) + packer.flush()


def entry_name(path):
    name = os.path.basename(path)
    try:
        return name.encode("gbk")
    except UnicodeEncodeError:
        raise SystemExit(f"make_archive.py: {name!r} has no GBK form")


def archive_bytes(paths):
    out = bytearray()
    central = bytearray()
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        name = entry_name(path)
        packed = deflate(data)
        crc = zlib.crc32(data)
        if len(data) > LIMIT or len(out) > LIMIT:
            raise SystemExit(f"make_archive.py: {path} does not fit a ZIP without ZIP64 records")
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, VERSION, 0, METHOD_DEFLATE, DOS_TIME, DOS_DATE,
                           crc, len(packed), len(data), len(name), 0)
        out += name + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, MADE_BY, VERSION, 0, METHOD_DEFLATE,
                               DOS_TIME, DOS_DATE, crc, len(packed), len(data), len(name), 0, 0, 0, 0,
                               ATTRIBUTE_ARCHIVE, offset)
        central += name
    if len(paths) > 0xFFFF or len(out) > LIMIT:
        raise SystemExit("make_archive.py: too many or too large entries for a ZIP without ZIP64 records")
    directory_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(paths), len(paths), len(central),
                       directory_offset, 0)
    return bytes(out)


def main(argv):
    if len(argv) < 3:
        print("usage: make_archive.py OUTPUT FILE...", file=sys.stderr)
        return 2
    archive = archive_bytes(argv[2:])
    # Written beside and renamed, so a failed run never leaves half an archive.
    partial = argv[1] + ".partial"
    with open(partial, "wb") as f:
        f.write(archive)
    os.replace(partial, argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
