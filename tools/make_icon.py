#!/usr/bin/env python3
"""Draws the program's icon (a shield with a relay mark) into an .ico file.

Usage: make_icon.py OUTPUT.ico
32-bit BGRA with an AND mask, no external libraries. The sizes are those the
window asks for at the common display scales (100 %, 125 %, 150 %, 200 %):
the small icon at 16, 20, 24 and 32 pixels, the window's own 48-pixel icon at
48, 60, 72 and 96, so that the system never has to stretch one.
"""
import math
import struct
import sys


def shield_pixel(x, y, size):
    """Colour (r, g, b, a) of the pixel at (x, y) of a size x size icon."""
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    # Shield outline: straight top, sides curving to a point at the bottom.
    half = 0.42 if v < 0.55 else 0.42 * math.sqrt(max(0.0, 1 - ((v - 0.55) / 0.40) ** 2))
    inside = 0.08 <= v <= 0.95 and abs(u - 0.5) <= half
    if not inside:
        return (0, 0, 0, 0)
    edge = abs(u - 0.5) > half - 1.5 / size or v < 0.08 + 1.5 / size
    if edge:
        return (20, 60, 120, 255)
    # Vertical gradient from a light to a deep blue.
    t = v
    base = (int(70 + 40 * (1 - t)), int(140 + 50 * (1 - t)), int(220 + 25 * (1 - t)), 255)
    # Relay mark: two dots joined by a bar, in white.
    cy = 0.45
    r = 0.09
    for cx in (0.33, 0.67):
        if (u - cx) ** 2 + (v - cy) ** 2 <= r * r:
            return (255, 255, 255, 255)
    if 0.33 <= u <= 0.67 and abs(v - cy) <= 0.035:
        return (255, 255, 255, 255)
    return base


def image(size):
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = shield_pixel(x, y, size)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    sizes = (16, 20, 24, 32, 48, 60, 72, 96)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
