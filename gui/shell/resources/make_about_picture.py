#!/usr/bin/env python3
"""Writes about.ppm, the picture of the about window: 253 x 227, binary PPM.

A smooth grey landscape of bright and dark blobs with the outlines of its
level sets drawn at three grey levels, the way the program sees an image:
nested regions, one partition per scale. Run it again after changing it and
commit the picture it writes.
"""
import math
import pathlib

WIDTH, HEIGHT = 253, 227
# (column, row, radius, weight): positive weights are bright blobs, negative
# ones dark blobs.
BLOBS = [
    (70, 80, 38, 1.00), (105, 120, 30, 0.85), (60, 150, 22, 0.70),
    (180, 70, 26, 0.90), (200, 100, 14, 0.55), (170, 165, 34, 0.80),
    (130, 45, 12, 0.50), (215, 190, 16, 0.60),
    (140, 110, 20, -0.75), (35, 40, 16, -0.55), (225, 35, 14, -0.50),
]
# Grey levels whose outlines are drawn, with their colours.
LEVELS = [(0.35, (240, 150, 40)), (0.60, (90, 210, 110)), (0.85, (80, 200, 240))]
DARK_LEVEL, DARK_COLOUR = -0.35, (220, 80, 200)


def height_at(x, y):
    value = 0.0
    for cx, cy, r, weight in BLOBS:
        value += weight * math.exp(-((x - cx) ** 2 + (y - cy) ** 2) / (2.0 * r * r))
    return value


def main():
    field = [[height_at(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    pixels = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            v = field[y][x]
            grey = max(0, min(255, int(60 + 150 * v)))
            colour = (grey // 2, grey * 3 // 4, min(255, grey + 30))
            neighbours = [field[ny][nx] for nx, ny in ((x + 1, y), (x, y + 1))
                          if nx < WIDTH and ny < HEIGHT]
            for level, level_colour in LEVELS:
                if any((v >= level) != (n >= level) for n in neighbours):
                    colour = level_colour
            if any((v <= DARK_LEVEL) != (n <= DARK_LEVEL) for n in neighbours):
                colour = DARK_COLOUR
            pixels += bytes(colour)
    header = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT)
    out = pathlib.Path(__file__).with_name("about.ppm")
    out.write_bytes(header + bytes(pixels))


if __name__ == "__main__":
    main()
