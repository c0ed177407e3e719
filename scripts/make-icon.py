#!/usr/bin/env python3
"""Draws res/vlcr.ico: a lightning bolt, white with a dark blue outline, on a
rounded square that fades from deep to light blue. Each size is drawn for
itself, not shrunk from a larger one: the outline is a whole number of
pixels wide where that keeps it sharp, and at the small sizes the bolt's
corners sit on pixel edges. Sizes: the small icon at 100 % to 250 % (16, 20,
24, 32, 40), the large icon (32, 48, 64) and 256 for Explorer's large views.
Run it from anywhere; it needs only Python 3."""

import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "vlcr.ico")

TOP = (48, 112, 255)
BOTTOM = (154, 208, 255)
FILL = (255, 255, 255)
SHADE = (233, 236, 244)  # the bolt's lower half, a touch of depth
OUTLINE = (26, 60, 140)
# The bolt on the unit square, clockwise from its top.
BOLT = [(0.56, 0.075), (0.215, 0.545), (0.47, 0.565), (0.39, 0.915), (0.80, 0.40), (0.535, 0.40)]

# Per size: outline width in pixels, corner radius in pixels, snap corners to
# the pixel grid, samples per pixel along each axis.
SIZES = {
    16: (1.0, 3, True, 8),
    20: (1.0, 4, True, 8),
    24: (1.25, 4, True, 8),
    32: (1.5, 6, True, 6),
    40: (1.75, 7, False, 6),
    48: (2.0, 9, False, 5),
    64: (2.5, 12, False, 4),
    256: (8.0, 48, False, 3),
}


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def edge_distance(poly, x, y):
    best = 1e9
    for i in range(len(poly)):
        ax, ay = poly[i]
        bx, by = poly[(i + 1) % len(poly)]
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
    return best


def in_rounded_square(size, radius, x, y):
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return math.hypot(x - cx, y - cy) <= radius


def draw(size):
    width, radius, snap, samples = SIZES[size]
    poly = [(px * size, py * size) for px, py in BOLT]
    if snap:
        poly = [(round(px), round(py)) for px, py in poly]
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = col + (sx + 0.5) / samples
                    y = row + (sy + 0.5) / samples
                    if not in_rounded_square(size, radius, x, y):
                        continue
                    t = y / size
                    colour = tuple(TOP[k] + (BOTTOM[k] - TOP[k]) * t for k in range(3))
                    if inside(poly, x, y):
                        colour = OUTLINE if edge_distance(poly, x, y) < width else (FILL if y < size * 0.5 else SHADE)
                    for k in range(3):
                        acc[k] += colour[k]
                    acc[3] += 1
            n = samples * samples
            alpha = acc[3] / n
            if acc[3]:
                line.append(tuple(int(round(acc[k] / acc[3])) for k in range(3)) + (int(round(alpha * 255)),))
            else:
                line.append((0, 0, 0, 0))
        pixels.append(line)
    return pixels


def bmp_entry(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(v for (r, g, b, a) in pixels[y] for v in (b, g, r, a)) for y in reversed(range(size)))
    stride = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(stride)
        for x in range(size):
            if pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
        del bits
    return header + rows + mask


def png_entry(size, pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for p in pixels[y] for v in p) for y in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = []
    for size in sorted(SIZES):
        pixels = draw(size)
        images.append((size, png_entry(size, pixels) if size >= 256 else bmp_entry(size, pixels)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    with open(OUT, "wb") as f:
        f.write(directory + body)


if __name__ == "__main__":
    main()
