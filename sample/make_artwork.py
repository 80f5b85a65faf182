#!/usr/bin/env python3
"""Draws the sample setup's splash picture: a 517 x 707 pixel, 24-bit Windows bitmap.

Usage: make_artwork.py <output.bmp>

A night sky over a dark hill with a crescent moon, a few stars and the application's name in
block letters. Only the standard library is used, and the same picture comes out every time.
"""
import struct
import sys

WIDTH, HEIGHT = 517, 707

# 5 x 7 block letters for the texts of the picture.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    " ": ["00000"] * 7,
}


def blend(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def sky(y):
    top, middle, bottom = (12, 14, 48), (52, 38, 110), (150, 92, 150)
    t = y / (HEIGHT - 1)
    return blend(top, middle, t / 0.6) if t < 0.6 else blend(middle, bottom, (t - 0.6) / 0.4)


def draw():
    pixels = [[sky(y) for _ in range(WIDTH)] for y in range(HEIGHT)]

    # Stars from a fixed linear congruential sequence, so the picture never changes.
    seed = 20240517
    for _ in range(160):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x = seed % WIDTH
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        y = seed % (HEIGHT * 3 // 5)
        brightness = 150 + seed % 106
        pixels[y][x] = (brightness, brightness, min(255, brightness + 30))

    # The crescent: a bright disc with a sky-coloured disc taken out of it.
    cx, cy, r = 360, 170, 70
    for y in range(cy - r - 20, cy + r + 20):
        for x in range(cx - r - 20, cx + r + 20):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            inner = ((x - cx + 32) ** 2 + (y - cy - 12) ** 2) ** 0.5
            if d <= r and inner > r - 4:
                pixels[y][x] = blend((255, 246, 200), (230, 210, 150), (y - cy + r) / (2 * r))
            elif r < d < r + 20:
                pixels[y][x] = blend(pixels[y][x], (255, 240, 200), 0.25 * (1 - (d - r) / 20))

    # The hill along the bottom.
    for x in range(WIDTH):
        ridge = int(560 + 40 * ((x - 258) / 258.0) ** 2)
        for y in range(ridge, HEIGHT):
            pixels[y][x] = blend((22, 20, 44), (8, 8, 20), (y - ridge) / max(1, HEIGHT - ridge))

    def text(line, top, scale, colour):
        width = len(line) * 6 * scale - scale
        left = (WIDTH - width) // 2
        for i, letter in enumerate(line):
            for row, bits in enumerate(FONT[letter]):
                for column, bit in enumerate(bits):
                    if bit == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                pixels[top + row * scale + dy][left + (i * 6 + column) * scale + dx] = colour

    text("AVERLUNE", 330, 9, (250, 244, 255))
    text("SAMPLE NOTES", 420, 5, (230, 210, 150))
    text("SETUP", 620, 4, (150, 140, 200))
    return pixels


def write_bmp(path, pixels):
    stride = (WIDTH * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):  # bottom-up, as bitmaps store their rows
        for r, g, b in row:
            image += bytes((b, g, r))
        image += bytes(stride - WIDTH * 3)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_artwork.py <output.bmp>")
    write_bmp(sys.argv[1], draw())
