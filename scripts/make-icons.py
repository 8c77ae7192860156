#!/usr/bin/env python3
"""Draws the program's small bitmaps (sort arrows and the like) as PNG files in resources/icons.

The shapes are simple enough to describe as functions of the pixel position; run this script again
after changing one. It needs nothing beyond the standard library."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "icons")


def png(width, height, pixel):
    rows = b""
    for y in range(height):
        rows += b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def arrow(up):
    grey = (96, 96, 96, 255)
    clear = (0, 0, 0, 0)

    def pixel(x, y):
        row = y - 3 if up else 8 - y  # rows 3..8 hold the triangle
        if 0 <= row <= 5 and abs(x - 5.5) <= row + 0.5 - (0 if row else 0):
            return grey
        return clear

    return pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, up in (("Bmp_Up", True), ("Bmp_Down", False)):
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(12, 12, arrow(up)))


if __name__ == "__main__":
    main()
