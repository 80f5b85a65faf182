#!/usr/bin/env python3
"""Writes a benchmark payload: make_payload.py <folder> <files> [small].

Without "small": <files> files of mixed sizes (2 KB to 150 KB, every 50th 2.5 MB; 2,000 files make
about 205 MB) in 20 folders of 5 subfolders, a third random, a third text, a third half zeros and
half random. With "small": <files> files of a few bytes each in 100 folders. The same arguments
always give the same names, sizes and text; the random bytes differ."""
import os
import random
import sys

root, count = sys.argv[1], int(sys.argv[2])
small = len(sys.argv) > 3 and sys.argv[3] == "small"
rng = random.Random(7)
words = [b"alpha", b"beta", b"gamma", b"delta", b"setup", b"folder", b"entry", b"value", b"\r\n",
         b"install", b"0x1f", b"name="]
for i in range(count):
    if small:
        folder = os.path.join(root, "d%03d" % (i % 100))
        data = b"file %d\r\n" % i
    else:
        folder = os.path.join(root, "d%02d" % (i % 20), "s%d" % (i % 5))
        size = rng.choice([2000, 20000, 60000, 150000]) if i % 50 else 2_500_000
        kind = i % 3
        if kind == 0:
            data = os.urandom(size)
        elif kind == 1:
            data = b" ".join(rng.choice(words) for _ in range(size // 5 + 1))[:size]
        else:
            data = bytes(size // 2) + os.urandom(size - size // 2)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.dat" % i), "wb") as f:
        f.write(data)
