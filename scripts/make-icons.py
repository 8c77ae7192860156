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


# The context menu glyphs of the file list: 16 x 16 pictures made of a few filled shapes, each shape
# painted over the ones before it.
def inside_polygon(px, py, points):
    result = False
    j = len(points) - 1
    for i in range(len(points)):
        (xi, yi), (xj, yj) = points[i], points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / float(dx * dx + dy * dy)))
    return ((px - x0 - t * dx) ** 2 + (py - y0 - t * dy) ** 2) ** 0.5


def fill(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def frame(x0, y0, x1, y1):
    return lambda x, y: fill(x0, y0, x1, y1)(x, y) and not fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1)(x, y)


def polygon(*points):
    return lambda x, y: inside_polygon(x + 0.5, y + 0.5, points)


def line(x0, y0, x1, y1, width):
    return lambda x, y: segment_distance(x + 0.5, y + 0.5, x0, y0, x1, y1) <= width / 2.0


def disc(cx, cy, r):
    return lambda x, y: (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: abs(((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5 - r) <= width / 2.0


INK = (40, 40, 40, 255)
GREY = (128, 128, 128, 255)
PAPER = (255, 255, 255, 255)
FOLDER = (240, 200, 80, 255)
FOLDER_DARK = (170, 120, 30, 255)
FOLDER_LIGHT = (252, 226, 140, 255)
GREEN = (40, 150, 60, 255)
BLUE = (40, 90, 190, 255)
GLASS = (190, 220, 250, 255)
RED = (200, 40, 40, 255)
BOARD = (160, 100, 50, 255)


def page(x0, y0, x1, y1, edge=GREY):
    return [(fill(x0, y0, x1, y1), PAPER), (frame(x0, y0, x1, y1), edge)]


def folder(x0, y0, x1, y1):
    return [(fill(x0, y0 - 2, x0 + 5, y0), FOLDER_DARK), (fill(x0, y0, x1, y1), FOLDER),
            (frame(x0, y0, x1, y1), FOLDER_DARK)]


def clipboard():
    return [(fill(2, 2, 13, 15), BOARD)] + page(4, 4, 11, 14) + [
        (fill(5, 1, 10, 3), GREY), (fill(6, 7, 9, 7), GREY), (fill(6, 9, 9, 9), GREY), (fill(6, 11, 8, 11), GREY)]


MENU_GLYPHS = {
    "Open": folder(1, 4, 13, 13) + [(polygon((4, 7), (16, 7), (13.5, 14), (1, 14)), FOLDER_LIGHT),
                                    (line(4, 7, 15.5, 7, 1), FOLDER_DARK)],
    "View": [(line(9.5, 9.5, 14.5, 14.5, 2.6), BOARD), (disc(6.5, 6.5, 4.5), GLASS), (ring(6.5, 6.5, 4.5, 1.5), INK)],
    "SendTo": page(1, 1, 8, 14) + [(fill(6, 6, 11, 9), GREEN), (polygon((11, 2.5), (16, 7.5), (11, 12.5)), GREEN)],
    "Cut": [(line(5, 10, 11.5, 1, 1.5), GREY), (line(11, 10, 4.5, 1, 1.5), GREY),
            (ring(4.5, 12, 2.3, 1.4), RED), (ring(11.5, 12, 2.3, 1.4), RED)],
    "Copy": page(1, 1, 9, 11) + page(6, 5, 14, 15, BLUE) + [(fill(8, 8, 12, 8), GREY), (fill(8, 10, 12, 10), GREY),
                                                            (fill(8, 12, 11, 12), GREY)],
    "Paste": [(fill(1, 2, 11, 15), BOARD), (fill(4, 1, 8, 3), GREY)] + page(7, 6, 15, 15, BLUE) + [
        (fill(9, 9, 13, 9), GREY), (fill(9, 11, 13, 11), GREY)],
    "ReName": [(fill(0, 4, 15, 11), PAPER), (frame(0, 4, 15, 11), INK), (fill(2, 6, 3, 9), BLUE), (fill(5, 6, 6, 9), BLUE),
               (fill(11, 2, 11, 13), INK), (fill(9, 2, 13, 2), INK), (fill(9, 13, 13, 13), INK)],
    "Delete": [(line(3, 3, 13, 13, 2.8), RED), (line(13, 3, 3, 13, 2.8), RED)],
    "Attributes": page(2, 1, 12, 14) + [(line(4.5, 8.5, 7.5, 11.5, 2), GREEN), (line(7.5, 11.5, 14, 3.5, 2), GREEN)],
    "NewFolder": folder(1, 6, 12, 15) + [(line(12.5, 0.5, 12.5, 7.5, 1.2), RED), (line(9, 4, 16, 4, 1.2), RED),
                                         (line(10.5, 1.5, 14.5, 6.5, 1), RED), (line(14.5, 1.5, 10.5, 6.5, 1), RED)],
    "AnyFolder": folder(1, 5, 14, 14) + [(fill(3, 8, 8, 11), BLUE), (polygon((8, 6), (12.5, 9.5), (8, 13)), BLUE)],
    "ClipBoard": clipboard(),
}


def glyph(shapes):
    def pixel(x, y):
        color = (0, 0, 0, 0)
        for inside, paint in shapes:
            if inside(x, y):
                color = paint
        return color

    return pixel


def write_menu_glyphs():
    for name, shapes in MENU_GLYPHS.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(16, 16, glyph(shapes)))


# The context menu glyphs of the folder tree, drawn with the same shapes.
NET_BOX = (150, 150, 160, 255)
NET_LIGHT = (90, 230, 90, 255)


def network_drive():
    return [(fill(2, 1, 13, 7), NET_BOX), (frame(2, 1, 13, 7), INK), (fill(10, 4, 11, 5), NET_LIGHT),
            (line(7.5, 8, 7.5, 12, 1.4), INK), (line(2, 12.5, 14, 12.5, 1.4), INK)]


DIR_TREE_GLYPHS = {
    "NewFolder28": folder(1, 6, 12, 15) + [(line(12.5, 0.5, 12.5, 7.5, 2), GREEN), (line(9, 4, 16, 4, 2), GREEN)],
    "EditFolder28": folder(1, 6, 12, 15) + [(line(6.5, 13.5, 14.5, 2.5, 2.4), BLUE), (line(14, 3, 15.5, 1, 1.5), RED),
                                            (line(5.5, 15, 6.5, 13.5, 1), INK)],
    "DelFolder28": folder(1, 6, 12, 15) + [(line(8, 1, 15, 8, 2.2), RED), (line(15, 1, 8, 8, 2.2), RED)],
    "TreeSize28": folder(1, 6, 14, 15) + [(fill(4, 10, 5, 13), BLUE), (fill(7, 7, 8, 13), BLUE),
                                          (fill(10, 3, 11, 13), BLUE)],
    "DirContents28": folder(1, 5, 14, 14) + page(5, 1, 12, 11) + [(fill(7, 4, 10, 4), GREY), (fill(7, 6, 10, 6), GREY),
                                                                  (fill(7, 8, 9, 8), GREY)],
    "NetConnect28": network_drive() + [(disc(7.5, 12.5, 2.2), GREEN)],
    "NetDisConnect28": network_drive() + [(line(10, 9, 15, 14.5, 2), RED), (line(15, 9, 10, 14.5, 2), RED)],
}


def write_dir_tree_glyphs():
    for name, shapes in DIR_TREE_GLYPHS.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(16, 16, glyph(shapes)))


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, up in (("Bmp_Up", True), ("Bmp_Down", False)):
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(12, 12, arrow(up)))
    write_menu_glyphs()
    write_dir_tree_glyphs()


if __name__ == "__main__":
    main()
