#!/usr/bin/env python3
"""Writes a large payload for a setup that takes long enough to interrupt.

make_large_payload.py MAKE_ARCHIVE OUTPUT_FOLDER PRODUCT_FILE...

OUTPUT_FOLDER/files/ receives the product's files and some tens of MB of
filler (incompressible media and compressible text, the same bytes on every
build); OUTPUT_FOLDER/large_payload.zip packs them all at its root with the
product's own archive maker, the executable last. The files folder is what a
finished install must hold, byte for byte.
"""
import importlib.util
import os
import random
import shutil
import sys

MIB = 1024 * 1024


def filler():
    rng = random.Random(1400)
    words = [b"quorvane ", b"setup ", b"folder ", b"archive ", b"page ", b"1.4 ", b"\r\n"]
    text = bytearray()
    while len(text) < 8 * MIB:
        text += rng.choice(words)
    return [
        ("QuorvaneMedia1.pak", rng.randbytes(12 * MIB)),
        ("QuorvaneMedia2.pak", rng.randbytes(10 * MIB)),
        ("QuorvaneManual.txt", bytes(text[: 8 * MIB])),
    ]


def main(argv):
    if len(argv) < 4:
        print("usage: make_large_payload.py MAKE_ARCHIVE OUTPUT_FOLDER PRODUCT_FILE...", file=sys.stderr)
        return 2
    found = importlib.util.spec_from_file_location("make_archive", argv[1])
    make_archive = importlib.util.module_from_spec(found)
    found.loader.exec_module(make_archive)

    files = os.path.join(argv[2], "files")
    shutil.rmtree(files, ignore_errors=True)
    os.makedirs(files)
    product = [shutil.copy(path, files) for path in argv[3:]]
    extra = []
    for name, data in filler():
        path = os.path.join(files, name)
        with open(path, "wb") as f:
            f.write(data)
        extra.append(path)
    # The executable stays the last entry, as in the product's archive.
    order = product[:-1] + extra + product[-1:]
    archive = os.path.join(argv[2], "large_payload.zip")
    with open(archive + ".partial", "wb") as f:
        f.write(make_archive.archive_bytes(order))
    os.replace(archive + ".partial", archive)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
