#!/usr/bin/env python3
"""Draws the uninstaller's built-in header picture (55 x 55, 256 colours): the wizard's box and disc
on white, with a red disc and a white bar over its corner, for taking the software away.
Standard library only.

Usage: make_uninstaller_header.py <header.bmp>"""
import math
import sys

from make_wizard_pictures import bmp, scene
from palettes import CUBE


def main(header_path):
    rows = scene(55, 55, lambda x, y: (255, 255, 255), (8, 18, 26, 30), (36, 38), 13)
    cx, cy, radius = 40, 14, 11
    for y in range(55):
        for x in range(55):
            if math.hypot(x - cx, y - cy) < radius:
                rows[y][x] = (255, 255, 255) if abs(y - cy) <= 1 and abs(x - cx) <= 6 else (204, 0, 0)
    with open(header_path, "wb") as f:
        f.write(bmp(rows, CUBE, 8))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
