#!/usr/bin/env python3
"""Draws the setup program's built-in icon: a crescent moon over an open box, in nine images
(48, 32 and 16 pixels, each in 16 colours, 256 colours and 32-bit colour with alpha), written as
one ICO file; with --program, the programs' own icon of the 32-bit images alone. Standard library
only, so the build needs nothing but python3."""
import math
import struct
import sys

SIZES = (48, 32, 16)

from palettes import CUBE, VGA, nearest


def coverage(size, inside):
    """Anti-aliased coverage of a shape given in unit coordinates, 4x4 samples a pixel."""
    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = sum(inside((x + (i + 0.5) / 4) / size, (y + (j + 0.5) / 4) / size)
                       for i in range(4) for j in range(4))
            row.append(hits / 16)
        grid.append(row)
    return grid


def moon(u, v):
    return math.hypot(u - 0.62, v - 0.30) < 0.25 and math.hypot(u - 0.74, v - 0.22) > 0.20


def box(u, v):
    return 0.12 < u < 0.88 and 0.50 < v < 0.92


def lid(u, v):
    return 0.08 < u < 0.92 and 0.44 < v < 0.54


def render(size):
    """RGBA rows, top row first."""
    layers = [(coverage(size, box), (38, 84, 160)), (coverage(size, lid), (70, 130, 210)),
              (coverage(size, moon), (250, 204, 60))]
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = 0.0
            a = 0.0
            for grid, colour in layers:
                c = grid[y][x]
                if c:
                    r, g, b = [p * (1 - c) + q * c for p, q in zip((r, g, b), colour)]
                    a = a + c * (1 - a)
            row.append((round(r), round(g), round(b), round(a * 255)))
        pixels.append(row)
    return pixels


def and_mask(pixels, size):
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def image(size, bits):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    if bits == 32:
        for row in reversed(pixels):
            for r, g, b, a in row:
                body += bytes((b, g, r, a))
        palette = b''
    else:
        colours = VGA if bits == 4 else CUBE
        palette = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
        stride = ((size * bits + 31) // 32) * 4
        for row in reversed(pixels):
            line = bytearray(stride)
            for x, (r, g, b, a) in enumerate(row):
                index = nearest(colours, (r, g, b)) if a >= 128 else 0
                if bits == 8:
                    line[x] = index
                else:
                    line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            body += line
    return header + palette + bytes(body) + and_mask(pixels, size)


def main(path, depths=(4, 8, 32)):
    images = [(size, bits, image(size, bits)) for bits in depths for size in SIZES]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    # The built-in icon file keeps every depth; the programs' own icon (icon group 1, shown by the
    # shell and in their title bars) needs only the 32-bit images every display since Windows 7 uses,
    # which keeps the setup program within its size.
    if len(sys.argv) > 2 and sys.argv[2] == '--program':
        main(sys.argv[1], depths=(32,))
    else:
        main(sys.argv[1])
