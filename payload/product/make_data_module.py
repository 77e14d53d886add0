#!/usr/bin/env python3
"""Writes the product's data module: the texts that Quorvane shows, by key.

Layout, integers little-endian:
  b"QVDM", uint32 format (1), uint32 record count,
  per record: uint16 key length, key bytes, uint32 text length, text bytes,
  uint32 CRC-32 of every byte before it.
Texts are stored in GBK, the code page the program hands to the system.
"""
import struct
import sys
import zlib

TEXTS = [
    ("greeting", "欢迎使用 Quorvane 1.4。"),
    ("about", "Quorvane 1.4 已就绪：核心库已加载，数据模块已校验。"),
    ("status", "就绪"),
]


def module_bytes(texts):
    body = bytearray(b"QVDM")
    body += struct.pack("<II", 1, len(texts))
    for key, text in texts:
        key_bytes = key.encode("ascii")
        text_bytes = text.encode("gbk")
        body += struct.pack("<H", len(key_bytes)) + key_bytes
        body += struct.pack("<I", len(text_bytes)) + text_bytes
    body += struct.pack("<I", zlib.crc32(body))
    return bytes(body)


def main(argv):
    if len(argv) != 2:
        print("usage: make_data_module.py OUTPUT", file=sys.stderr)
        return 2
    with open(argv[1], "wb") as out:
        out.write(module_bytes(TEXTS))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
