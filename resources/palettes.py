"""The fixed palettes of our indexed-colour artwork, shared by the artwork scripts."""

# The 16 colours of the standard Windows palette, in palette order.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# 256 colours: a 6x6x6 colour cube, then a ramp of 40 greys.
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
CUBE += [(round(i * 255 / 39),) * 3 for i in range(40)]


def nearest(palette, colour):
    """Index of the palette colour closest to `colour` (RGB)."""
    return min(range(len(palette)), key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))
