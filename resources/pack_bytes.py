#!/usr/bin/env python3
"""Packs a file for the setup program's resources: its size as four bytes, least significant
first, then the file in zlib's format at the highest level (install/packed_bytes.h unpacks it).
    pack_bytes.py <file> <packed file>"""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
with open(sys.argv[2], "wb") as out:
    out.write(struct.pack("<I", len(data)) + zlib.compress(data, 9))
