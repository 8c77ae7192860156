#!/usr/bin/env python3
"""Draws the program's pictures (sort arrows, menu glyphs, tool bar buttons, the program's icon) as PNG
files in resources/icons.

The shapes are simple enough to describe as functions of the pixel position; run this script again
after changing one. It needs nothing beyond the standard library."""
import math
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


# The view-style buttons of the file panes: 16 x 16, drawn on whole pixels so that they stay sharp.
ICON_BLUE = (70, 120, 200, 255)
ICON_EDGE = (30, 60, 130, 255)
LABEL = (90, 90, 90, 255)
HEADER = (200, 200, 200, 255)


def tile(x0, y0, x1, y1):
    return [(fill(x0, y0, x1, y1), ICON_BLUE), (frame(x0, y0, x1, y1), ICON_EDGE)]


def small_item(x, y, label_end):
    return tile(x, y, x + 2, y + 2) + [(fill(x + 4, y + 1, label_end, y + 1), LABEL)]


VIEW_GLYPHS = {
    "ViewLargeIcons": tile(1, 1, 6, 6) + tile(9, 1, 14, 6) + tile(1, 9, 6, 14) + tile(9, 9, 14, 14),
    # Small icons run in rows, the list in columns: the list's items are wider and stand one under another.
    "ViewSmallIcons": small_item(0, 1, 6) + small_item(9, 1, 15) + small_item(0, 6, 6) + small_item(9, 6, 15)
    + small_item(0, 11, 6) + small_item(9, 11, 15),
    "ViewList": small_item(1, 0, 13) + small_item(1, 4, 11) + small_item(1, 8, 14) + small_item(1, 12, 10),
    "ViewDetails": [(fill(0, 0, 15, 2), HEADER), (frame(0, 0, 15, 2), GREY), (fill(7, 0, 7, 2), GREY),
                    (fill(11, 0, 11, 2), GREY)]
    + small_item(0, 4, 5) + small_item(0, 8, 5) + small_item(0, 12, 5)
    + [(fill(8, 5, 10, 5), LABEL), (fill(12, 5, 15, 5), LABEL), (fill(8, 9, 10, 9), LABEL),
       (fill(12, 9, 14, 9), LABEL), (fill(8, 13, 9, 13), LABEL), (fill(12, 13, 15, 13), LABEL)],
}


def write_view_glyphs():
    for name, shapes in VIEW_GLYPHS.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(16, 16, glyph(shapes)))


# The larger pictures (tool bar buttons, the program's icon) are smooth: every pixel is the average of
# several samples. A shape is a bounding box (x0, y0, x1, y1) in the picture's design units and a test
# of a point; its paint is a colour or a function of the point (a gradient). Shapes are painted in
# order, each over the ones before, with its colour's transparency.
def box_shape(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + radius - x, 0.0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0.0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius

    return (x0, y0, x1, y1), inside


def polygon_shape(*points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys)), lambda x, y: inside_polygon(x, y, points)


def ellipse_shape(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return (cx - rx, cy - ry, cx + rx, cy + ry), lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def stroke_shape(x0, y0, x1, y1, width):
    h = width / 2.0
    return ((min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h),
            lambda x, y: segment_distance(x, y, x0, y0, x1, y1) <= h)


def arc_shape(cx, cy, r, width, start, end):
    """A ring between the angles start and end in degrees, counted clockwise from the right (y grows
    downwards), with round ends."""
    h = width / 2.0

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) <= h:
            angle = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
            if (angle - start) % 360.0 <= (end - start) % 360.0:
                return True
        for a in (start, end):
            ex, ey = cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))
            if (x - ex) ** 2 + (y - ey) ** 2 <= h * h:
                return True
        return False

    return (cx - r - h, cy - r - h, cx + r + h, cy + r + h), inside


def minus(shape, cut):
    (box, inside), (_, outside) = shape, cut
    return box, lambda x, y: inside(x, y) and not outside(x, y)


def arrow_head(tip_x, tip_y, dx, dy, length, half_width):
    """A triangle whose tip points along (dx, dy)."""
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    bx, by = tip_x - dx * length, tip_y - dy * length
    return polygon_shape((tip_x, tip_y), (bx - dy * half_width, by + dx * half_width),
                         (bx + dy * half_width, by - dx * half_width))


def gradient(x0, y0, c0, x1, y1, c1):
    """A linear gradient from colour c0 at (x0, y0) to c1 at (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length = float(dx * dx + dy * dy)

    def paint(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))

    return paint


def smooth(size, design, layers, samples=4):
    scale = design / float(size)
    offsets = [(i + 0.5) / samples for i in range(samples)]

    def pixel(px, py):
        left, top, right, bottom = px * scale, py * scale, (px + 1) * scale, (py + 1) * scale
        near = [(inside, paint) for (box, inside), paint in layers
                if box[0] <= right and box[2] >= left and box[1] <= bottom and box[3] >= top]
        if not near:
            return (0, 0, 0, 0)
        total = [0.0, 0.0, 0.0, 0.0]
        for oy in offsets:
            for ox in offsets:
                x, y = (px + ox) * scale, (py + oy) * scale
                r = g = b = a = 0.0  # premultiplied
                for inside, paint in near:
                    if inside(x, y):
                        c = paint(x, y) if callable(paint) else paint
                        alpha = c[3] / 255.0
                        r = c[0] * alpha + r * (1 - alpha)
                        g = c[1] * alpha + g * (1 - alpha)
                        b = c[2] * alpha + b * (1 - alpha)
                        a = alpha + a * (1 - alpha)
                total[0] += r
                total[1] += g
                total[2] += b
                total[3] += a
        count = float(samples * samples)
        alpha = total[3] / count
        if alpha <= 0.0:
            return (0, 0, 0, 0)
        return tuple(min(255, int(round(c / count / alpha))) for c in total[:3]) + (int(round(alpha * 255)),)

    return pixel


WHITE = (255, 255, 255, 255)
SHADOW = (0, 0, 0, 60)
PAPER_EDGE = (110, 120, 135, 255)
PAPER_SHADE = (228, 234, 242, 255)
TEXT_LINE = (150, 160, 175, 255)
ORANGE = (235, 130, 30, 255)
DEEP_RED = (170, 25, 35, 255)
BRIGHT_RED = (225, 60, 60, 255)
SKY = (120, 180, 250, 255)
NAVY = (20, 60, 150, 255)


def document(x0, y0, x1, y1, fold, text_lines, line_colour=TEXT_LINE):
    """A sheet of paper with its upper right corner folded over, lines of text on it."""
    outline = polygon_shape((x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1))
    inner = polygon_shape((x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
                          (x0 + 1, y1 - 1))
    layers = [(outline, PAPER_EDGE), (inner, gradient(x0, y0, WHITE, x1, y1, PAPER_SHADE)),
              (polygon_shape((x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)), PAPER_EDGE),
              (polygon_shape((x1 - fold + 1, y0 + 2.4), (x1 - fold + 1, y0 + fold - 1), (x1 - 2.4, y0 + fold - 1)),
               (215, 222, 232, 255))]
    for lx0, ly, lx1 in text_lines:
        layers.append((stroke_shape(lx0, ly, lx1, ly, 1.4), line_colour))
    return layers


def folder_shapes(x0, y0, x1, y1):
    """A manila folder, its tab on the left, its front flap slightly lighter."""
    return [(box_shape(x0, y0 - 3, x0 + 10, y0 + 2, 1.5), (190, 140, 40, 255)),
            (box_shape(x0, y0, x1, y1, 1.5), (190, 140, 40, 255)),
            (box_shape(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1), (245, 205, 90, 255)),
            (polygon_shape((x0, y0 + 5), (x1, y0 + 5), (x1, y1), (x0, y1)), (200, 150, 45, 255)),
            (polygon_shape((x0 + 1, y0 + 6), (x1 - 1, y0 + 6), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)),
             gradient(0, y0 + 6, (252, 228, 140, 255), 0, y1, (240, 190, 70, 255)))]


def badge(cx, cy, r, light, dark):
    return [(ellipse_shape(cx, cy, r + 1), WHITE),
            (ellipse_shape(cx, cy, r), gradient(cx, cy - r, light, cx, cy + r, dark))]


def question_mark(cx, cy, size):
    """A "?" of the given height centred on (cx, cy)."""
    u = size / 16.0
    return [arc_shape(cx, cy - 3.5 * u, 4.2 * u, 3.2 * u, 175, 45),
            stroke_shape(cx + 4.2 * u * math.cos(math.radians(45)), cy - 3.5 * u + 4.2 * u * math.sin(math.radians(45)),
                         cx, cy + 1.2 * u, 3.2 * u),
            stroke_shape(cx, cy + 1.2 * u, cx, cy + 2.6 * u, 3.2 * u),
            ellipse_shape(cx, cy + 6.3 * u, 1.9 * u)]


def tool_folder():
    return folder_shapes(2, 10, 27, 29) + badge(24, 9, 7, (110, 210, 110, 255), (20, 130, 40, 255)) + [
        (stroke_shape(24, 5, 24, 13, 2.4), WHITE), (stroke_shape(20, 9, 28, 9, 2.4), WHITE)]


def tool_convert():
    left = document(1, 1, 16, 21, 5, [(3.5, 8, 10), (3.5, 11.5, 13.5), (3.5, 15, 12.5)], (200, 70, 70, 255))
    right = document(16, 11, 31, 31, 5, [(18.5, 18, 25), (18.5, 21.5, 28.5), (18.5, 25, 27.5)], (60, 100, 200, 255))
    green = (25, 140, 50, 255)
    arrow = [(stroke_shape(7, 22, 7, 26.5, 3), green), (stroke_shape(7, 26.5, 11, 26.5, 3), green),
             (arrow_head(16.5, 26.5, 1, 0, 6, 4.5), green)]
    return left + right + arrow


def tool_replace():
    page_layers = document(3, 1, 23, 31, 6, [(6, 7, 14), (6, 11, 19), (6, 19, 18), (6, 23, 16), (6, 27, 19)])
    marked = [(box_shape(5, 13, 20, 17, 1), (255, 225, 60, 255)), (stroke_shape(6.5, 15, 17, 15, 1.6), DEEP_RED)]
    # A pencil lying from the upper right down to its point at the marked line.
    pencil = [(stroke_shape(29, 5, 17.5, 20.5, 6.2), (60, 60, 60, 255)),
              (stroke_shape(29, 5, 19.5, 17.8, 4.4), ORANGE),
              (stroke_shape(29.5, 4.3, 27.6, 6.9, 4.6), (240, 150, 170, 255)),
              (stroke_shape(28.2, 6.1, 26.4, 8.5, 4.6), (170, 170, 180, 255)),
              (polygon_shape((17.3, 17.9), (21.4, 20.5), (15.4, 23.3)), (245, 215, 170, 255)),
              (polygon_shape((16.3, 21.3), (17.5, 22.2), (15.4, 23.3)), (40, 40, 40, 255))]
    return page_layers + marked + pencil


def tool_help():
    return ([(ellipse_shape(16, 16, 15), NAVY),
             (ellipse_shape(16, 16, 14), gradient(16, 2, SKY, 16, 30, (30, 90, 200, 255))),
             (ellipse_shape(16, 10, 10, 6.5), (255, 255, 255, 50))]
            + [(shape, WHITE) for shape in question_mark(16, 15.5, 20)])


def tool_exit():
    frame_box = box_shape(5, 2, 21, 30)
    opening = box_shape(7, 4, 19, 30)
    door = polygon_shape((7, 4), (14, 7), (14, 31), (7, 30))
    daylight = gradient(7, 4, (255, 245, 200, 255), 19, 30, (250, 220, 120, 255))
    return [(frame_box, (90, 60, 30, 255)), (opening, daylight),
            (door, gradient(7, 0, (150, 95, 45, 255), 14, 0, (110, 70, 30, 255))),
            (ellipse_shape(12.3, 18.5, 1.1), (250, 210, 80, 255)),
            (stroke_shape(16, 17, 25, 17, 4), (200, 40, 40, 255)),
            (arrow_head(31, 17, 1, 0, 7, 6), (200, 40, 40, 255))]


TOOL_PICTURES = {
    "ToolFolder": tool_folder,
    "ToolConvert": tool_convert,
    "ToolReplace": tool_replace,
    "ToolHelp": tool_help,
    "ToolExit": tool_exit,
}


def write_tool_pictures():
    for name, shapes in TOOL_PICTURES.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(32, 32, smooth(32, 32, shapes())))


def circular_arrows(cx, cy, r, width, colour):
    """Two arrows chasing each other round a circle: the sign of a conversion there and back."""
    layers = []
    for start, end in ((200, 335), (20, 155)):
        layers.append((arc_shape(cx, cy, r, width, start, end), colour))
        a = math.radians(end)
        ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
        # Clockwise on the screen: the direction of travel at the end of the arc.
        dx, dy = -math.sin(a), math.cos(a)
        tip_x, tip_y = ex + dx * width * 1.3, ey + dy * width * 1.3
        layers.append((arrow_head(tip_x, tip_y, dx, dy, width * 2.2, width * 1.25), colour))
    return layers


def program_icon():
    """A page holding a large O with horn and acute accent, a letter only Vietnamese writes, and a blue
    badge with two chasing arrows: Vietnamese text being converted. Drawn on 256 units."""
    layers = [(box_shape(50, 20, 220, 248, 8), SHADOW)]
    layers += [(polygon_shape((40, 10), (170, 10), (214, 54), (214, 238), (40, 238)), PAPER_EDGE),
               (polygon_shape((44, 14), (168, 14), (210, 56), (210, 234), (44, 234)),
                gradient(40, 10, WHITE, 214, 238, (222, 230, 242, 255))),
               (polygon_shape((170, 10), (170, 54), (214, 54)), PAPER_EDGE),
               (polygon_shape((174, 18), (174, 50), (206, 50)), (212, 220, 232, 255))]
    for x0, y, x1 in ((64, 206, 130), (64, 222, 112)):
        layers.append((stroke_shape(x0, y, x1, y, 7), TEXT_LINE))
    # The horn leaves the O at its right shoulder and ends in a drop; the acute accent above makes it
    # a Vietnamese letter at a glance.
    red = gradient(0, 40, BRIGHT_RED, 0, 196, DEEP_RED)
    letter = minus(ellipse_shape(112, 138, 52, 58), ellipse_shape(112, 138, 27, 36))
    layers += [(letter, red),
               (polygon_shape((138, 90), (160, 70), (180, 84), (160, 112)), red),
               (ellipse_shape(169, 79, 13), red),
               (polygon_shape((110, 66), (134, 34), (148, 42), (120, 72)), red)]
    layers += badge(192, 196, 46, (110, 175, 250, 255), (20, 70, 170, 255))
    layers += circular_arrows(192, 196, 25, 8, WHITE)
    return layers


def write_program_icon():
    for size in (48, 256):
        with open(os.path.join(OUT, "odizodoruz-%d.png" % size), "wb") as f:
            f.write(png(size, size, smooth(size, 256, program_icon(), 4 if size <= 48 else 3)))


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, up in (("Bmp_Up", True), ("Bmp_Down", False)):
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(12, 12, arrow(up)))
    write_menu_glyphs()
    write_dir_tree_glyphs()
    write_view_glyphs()
    write_tool_pictures()
    write_program_icon()


if __name__ == "__main__":
    main()
