#!/usr/bin/env python3
"""Writes res/drag.cur, the launch menu's drag cursor: an arrow over a small
dotted frame, 32 x 32, two colours, hot spot at the arrow's tip.
Run it again after changing SHAPE: B black, W white, D the dotted frame
(black and white by turns), blank transparent."""

import os
import struct

SHAPE = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWBBBBB",
    "BWWBWWB",
    "BWB BWWB",
    "BB  BWWB",
    "B    BWWB",
    "     BWWB",
    "      BB",
    "",
    "",
    "     DDDDDDDDDDDDD",
    "     DWWWWWWWWWWWD",
    "     DWWWWWWWWWWWD",
    "     DWWWWWWWWWWWD",
    "     DWWWWWWWWWWWD",
    "     DWWWWWWWWWWWD",
    "     DDDDDDDDDDDDD",
]
SIZE = 32
HOT_SPOT = (0, 0)


def planes():
    """The AND mask and the XOR image, rows from the top, one bit a pixel:
    AND 1 is transparent; under AND 0, XOR 1 is white and 0 black."""
    and_rows = [[1] * SIZE for _ in range(SIZE)]
    xor_rows = [[0] * SIZE for _ in range(SIZE)]
    for y, line in enumerate(SHAPE):
        for x, c in enumerate(line[:SIZE]):
            if c == "D":
                c = "W" if (x + y) % 2 else "B"
            if c == " ":
                continue
            and_rows[y][x] = 0
            xor_rows[y][x] = 1 if c == "W" else 0
    return and_rows, xor_rows


def packed(rows):
    """Rows bottom-up, as a device-independent bitmap stores them; 32 pixels
    make a 4-byte row, so no padding is needed."""
    out = b""
    for row in reversed(rows):
        for i in range(0, SIZE, 8):
            byte = 0
            for bit in row[i:i + 8]:
                byte = (byte << 1) | bit
            out += bytes([byte])
    return out


def cursor_file():
    and_rows, xor_rows = planes()
    image = packed(xor_rows) + packed(and_rows)
    # The header's height counts both planes.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, len(image), 0, 0, 2, 2)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    body = header + palette + image
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(body), 6 + 16)
    return directory + entry + body


if __name__ == "__main__":
    path = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "res", "drag.cur")
    with open(path, "wb") as f:
        f.write(cursor_file())
    print(path)
