#!/usr/bin/env python3
"""Checks the product archive the setup carries, field by field.

check_archive.py ARCHIVE FILE...

The archive must hold exactly the FILEs, in that order, each at the root under
its own name (GBK bytes, no UTF-8 flag), deflated to its exact contents, with
version needed 2.0, flags 0, external attributes 0x20, no extra field (so no
"UT" time) and no comment; the archive starts with its first local header and
ends with an end-of-central-directory record without comment.
"""
import os
import struct
import sys
import zlib

LOCAL = struct.Struct("<IHHHHHIIIHH")
CENTRAL = struct.Struct("<IHHHHHHIIIHHHHHII")
END = struct.Struct("<IHHHHIIH")


class Checker:
    def __init__(self):
        self.faults = []

    def expect(self, what, got, want):
        if got != want:
            self.faults.append(f"{what}: {got!r}, expected {want!r}")
        return got == want


def check(archive, files):
    c = Checker()
    if len(archive) < END.size:
        return [f"{len(archive)} bytes is no archive"]
    c.expect("first bytes", archive[:4], b"PK\x03\x04")

    end_at = len(archive) - END.size
    sig, disk, cd_disk, on_disk, total, cd_size, cd_offset, comment = END.unpack_from(archive, end_at)
    if not c.expect("end record signature (the archive ends with it, no comment)", sig, 0x06054B50):
        return c.faults
    c.expect("archive comment length", comment, 0)
    c.expect("disk numbers", (disk, cd_disk), (0, 0))
    c.expect("entries on this disk", on_disk, len(files))
    c.expect("entries in all", total, len(files))
    c.expect("central directory ends at the end record", cd_offset + cd_size, end_at)

    at = cd_offset
    next_local = 0
    for index, path in enumerate(files):
        with open(path, "rb") as f:
            contents = f.read()
        want_name = os.path.basename(path).encode("gbk")
        where = f"entry {index} ({os.path.basename(path)})"
        if at + CENTRAL.size > end_at:
            c.faults.append(f"{where}: missing from the central directory")
            break
        (sig, made_by, needed, flags, method, time, date, crc, packed, size, name_len, extra_len,
         comment_len, disk_start, internal, external, local_at) = CENTRAL.unpack_from(archive, at)
        if not c.expect(f"{where} central signature", sig, 0x02014B50):
            break
        name = archive[at + CENTRAL.size:at + CENTRAL.size + name_len]
        at += CENTRAL.size + name_len + extra_len + comment_len
        c.expect(f"{where} name", name, want_name)
        c.expect(f"{where} at the root", b"/" in name or b"\\" in name, False)
        c.expect(f"{where} version needed", needed, 20)
        c.expect(f"{where} flags (no UTF-8 flag, no encryption, no data descriptor)", flags, 0)
        c.expect(f"{where} method", method, 8)
        c.expect(f"{where} external attributes", external, 0x20)
        c.expect(f"{where} central extra field length (no UT time)", extra_len, 0)
        c.expect(f"{where} comment length", comment_len, 0)
        c.expect(f"{where} starting disk", disk_start, 0)
        c.expect(f"{where} local header offset (entries back to back from the start)", local_at, next_local)
        c.expect(f"{where} size", size, len(contents))
        c.expect(f"{where} CRC-32", crc, zlib.crc32(contents))

        if local_at + LOCAL.size > cd_offset:
            c.faults.append(f"{where}: local header past the central directory")
            continue
        (lsig, lneeded, lflags, lmethod, ltime, ldate, lcrc, lpacked, lsize, lname_len,
         lextra_len) = LOCAL.unpack_from(archive, local_at)
        c.expect(f"{where} local signature", lsig, 0x04034B50)
        c.expect(f"{where} local header matches the central one",
                 (lneeded, lflags, lmethod, ltime, ldate, lcrc, lpacked, lsize),
                 (needed, flags, method, time, date, crc, packed, size))
        data_at = local_at + LOCAL.size + lname_len + lextra_len
        c.expect(f"{where} local name", archive[local_at + LOCAL.size:local_at + LOCAL.size + lname_len], name)
        c.expect(f"{where} local extra field length (no UT time)", lextra_len, 0)
        try:
            unpacked = zlib.decompress(archive[data_at:data_at + packed], -15)
        except zlib.error as e:
            c.faults.append(f"{where}: data does not inflate: {e}")
        else:
            c.expect(f"{where} inflates to the file", unpacked == contents, True)
        next_local = data_at + packed
    c.expect("central directory follows the last entry's data", next_local, cd_offset)
    c.expect("central directory size", at - cd_offset, cd_size)
    return c.faults


def main(argv):
    if len(argv) < 3:
        print("usage: check_archive.py ARCHIVE FILE...", file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        archive = f.read()
    faults = check(archive, argv[2:])
    for fault in faults:
        print(f"{argv[1]}: {fault}", file=sys.stderr)
    if not faults:
        print(f"{argv[1]}: {len(archive)} bytes, {len(argv) - 2} entries as required")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
