#!/usr/bin/env python3
"""Packs a file for the setup program's resources: its size as four bytes, least significant
first, then the file in zlib's format (config/packed_bytes.h unpacks it). zopfli finds a zlib
stream some 4% smaller than zlib's own highest level, and every setup an author ships carries the
packed uninstaller; the stream is the same on every run for the same file.
    pack_bytes.py <file> <packed file>"""
import struct
import subprocess
import sys

data = open(sys.argv[1], "rb").read()
packed = subprocess.run(["zopfli", "--zlib", "-c", sys.argv[1]], check=True, stdout=subprocess.PIPE).stdout
with open(sys.argv[2], "wb") as out:
    out.write(struct.pack("<I", len(data)) + packed)
