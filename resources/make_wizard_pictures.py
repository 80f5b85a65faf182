#!/usr/bin/env python3
"""Draws the wizard's built-in pictures: the side picture of the welcome and finish pages (164 x 314,
16 colours: a software box and a disc on dark blue), the header picture of the inner pages (55 x 55,
256 colours: the same box and disc on white), and the separator line (497 x 2, a baseline JPEG: a
grey line with a white line under it). Standard library only.

Usage: make_wizard_pictures.py <side.bmp> <header.bmp> <separator.jpg>"""
import math
import struct
import sys

from palettes import CUBE, VGA, nearest


def scene(width, height, background, box_rect, disc_centre, disc_radius):
    """RGB rows, top first: a box drawn in perspective (front, side, top) and a disc in front of it."""
    bx, by, bw, bh = box_rect
    depth = bw // 4
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = background(x, y)
            # top face: a parallelogram above the front
            if by - depth <= y < by and bx + (by - y) <= x < bx + bw + (by - y):
                colour = (90, 150, 230)
            # side face: a parallelogram right of the front
            if bx + bw <= x < bx + bw + depth and by - (x - bx - bw) <= y < by + bh - (x - bx - bw):
                colour = (20, 60, 140)
            if bx <= x < bx + bw and by <= y < by + bh:
                colour = (40, 100, 200)
                if by + bh // 5 <= y < by + bh // 5 + max(2, bh // 12):
                    colour = (250, 204, 60)  # the band across the box's front
            d = math.hypot(x - disc_centre[0], y - disc_centre[1])
            if d < disc_radius:
                shade = 200 + int(50 * math.cos((x + y) / max(1, disc_radius) * 2.0))
                colour = (shade, shade, min(255, shade + 10))
                if d < disc_radius * 0.22:
                    colour = background(x, y) if d < disc_radius * 0.12 else (150, 150, 160)
            row.append(colour)
        rows.append(row)
    return rows


def bmp(rows, palette, bits):
    """An uncompressed palette BMP (bottom-up) of 4 or 8 bits per pixel."""
    height, width = len(rows), len(rows[0])
    cache = {}
    index_rows = []
    for row in rows:
        index_rows.append([cache.setdefault(c, nearest(palette, c)) for c in row])
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(index_rows):
        line = bytearray()
        if bits == 8:
            line.extend(row)
        else:
            for x in range(0, width, 2):
                high = row[x]
                low = row[x + 1] if x + 1 < width else 0
                line.append((high << 4) | low)
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    colours = len(palette)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, colours, 0)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + table + bytes(pixels)


# Baseline JPEG, one grey component, quality 100 (all quantisers 1), the standard Huffman tables.
ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,
          7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
          39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
DC_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_VALUES = list(range(12))
AC_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
AC_VALUES = [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3,
    0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA]
assert sum(DC_BITS) == len(DC_VALUES) and sum(AC_BITS) == len(AC_VALUES) == 162


def huffman_codes(bits, values):
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)  # byte stuffing
                self.acc = self.count = 0

    def flush(self):
        while self.count:
            self.put(1, 1)


def magnitude(value):
    size = abs(value).bit_length()
    return size, (value if value >= 0 else value + (1 << size) - 1)


def jpeg_grey(rows):
    height, width = len(rows), len(rows[0])
    dc_codes, ac_codes = huffman_codes(DC_BITS, DC_VALUES), huffman_codes(AC_BITS, AC_VALUES)
    cos = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
    writer = BitWriter()
    previous_dc = 0
    for top in range(0, height, 8):
        for left in range(0, width, 8):
            block = [[rows[min(top + y, height - 1)][min(left + x, width - 1)] - 128 for x in range(8)]
                     for y in range(8)]
            coefficients = [0] * 64
            for v in range(8):
                for u in range(8):
                    s = sum(block[y][x] * cos[u][x] * cos[v][y] for y in range(8) for x in range(8))
                    cu = math.sqrt(0.5) if u == 0 else 1.0
                    cv = math.sqrt(0.5) if v == 0 else 1.0
                    coefficients[v * 8 + u] = int(round(0.25 * cu * cv * s))
            zz = [coefficients[i] for i in ZIGZAG]
            size, bits = magnitude(zz[0] - previous_dc)
            previous_dc = zz[0]
            writer.put(*dc_codes[size])
            writer.put(bits, size)
            run = 0
            for value in zz[1:]:
                if value == 0:
                    run += 1
                    continue
                while run > 15:
                    writer.put(*ac_codes[0xF0])
                    run -= 16
                size, bits = magnitude(value)
                writer.put(*ac_codes[(run << 4) | size])
                writer.put(bits, size)
                run = 0
            if run:
                writer.put(*ac_codes[0x00])
    writer.flush()

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    quant = bytes([0]) + bytes([1] * 64)
    frame = struct.pack(">BHHB", 8, height, width, 1) + bytes([1, 0x11, 0])
    tables = bytes([0x00]) + bytes(DC_BITS) + bytes(DC_VALUES) + bytes([0x10]) + bytes(AC_BITS) + bytes(AC_VALUES)
    scan = bytes([1, 1, 0x00, 0, 63, 0])
    jfif = b"JFIF\0" + struct.pack(">BBBHHBB", 1, 1, 0, 1, 1, 0, 0)
    return (b"\xFF\xD8" + segment(0xE0, jfif) + segment(0xDB, quant) + segment(0xC0, frame) +
            segment(0xC4, tables) + segment(0xDA, scan) + bytes(writer.out) + b"\xFF\xD9")


def main(side_path, header_path, separator_path):
    stars = {((i * 37) % 151 + 6, (i * 53) % 120 + 8) for i in range(18)}

    def night(x, y):
        # dark blue with a few stars above the box; the lower half a shade lighter, as a floor
        if (x, y) in stars:
            return (255, 255, 255)
        return (0, 0, 128) if y < 260 else (0, 0, 255) if (x + y) % 2 else (0, 0, 128)

    side = scene(164, 314, night, (40, 150, 70, 90), (100, 235), 34)
    with open(side_path, "wb") as f:
        f.write(bmp(side, VGA, 4))
    header = scene(55, 55, lambda x, y: (255, 255, 255), (8, 18, 26, 30), (36, 38), 13)
    with open(header_path, "wb") as f:
        f.write(bmp(header, CUBE, 8))
    with open(separator_path, "wb") as f:
        f.write(jpeg_grey([[160] * 497, [255] * 497]))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
