#!/usr/bin/env python3
"""Draws Quintabel's own pictures and writes them beside this folder:

  HAND-M.CUR        the hand pointer (32x32, 32-bit colour, hot spot at the fingertip)
  quintabel.png     the program icon, 256x256
  quintabel-32.png  the program icon, 32x32
  quintabel.ico     the program icon for Windows-style shells (32x32 and 256x256)
  icons/hicolor/NxN/apps/example.corvandel.Quintabel.png
                    the program icon in the sizes a Linux desktop's icon theme looks for

Plain Python 3 (zlib and struct only). Run it again after changing a drawing:
    python3 resources/tools/draw_resources.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

# ---------------------------------------------------------------- the hand pointer

HAND_SIZE = 32
HAND_HOT_SPOT = (6, 0)


def hand_rows():
    """The hand as rows of 'X' (black outline), '.' (white) and ' ' (clear): the index finger
    points up; middle, ring and little finger are folded, the thumb lies on the left."""
    grid = [[" "] * HAND_SIZE for _ in range(HAND_SIZE)]

    def put(row, columns, mark):
        for column in columns:
            grid[row][column] = mark

    # Each finger: (left edge column, top row); its inside is the two columns after the edge.
    fingers = [(5, 0), (8, 5), (11, 6), (14, 7)]
    for left, top in fingers:
        put(top, [left + 1, left + 2], "X")
        for row in range(top + 1, 9):
            put(row, [left, left + 3], "X")
            put(row, [left + 1, left + 2], ".")
    # Where two fingers meet, the shared edge stays outline (drawn above); the palm starts at row 9.
    put(8, [1, 2], "X")                      # the thumb's tip
    put(9, [1, 3, 5, 17], "X")
    put(9, [2], ".")
    put(9, range(6, 17), ".")
    palm = [(10, 1, 17), (11, 2, 17), (12, 2, 17), (13, 3, 17), (14, 3, 17),
            (15, 4, 16), (16, 4, 16), (17, 5, 15), (18, 5, 15)]
    for row, left, right in palm:
        put(row, [left, right], "X")
        put(row, range(left + 1, right), ".")
    put(19, range(5, 16), "X")
    return ["".join(row) for row in grid]


def hand_pixels():
    colours = {"X": (0, 0, 0, 255), ".": (255, 255, 255, 255), " ": (0, 0, 0, 0)}
    return [[colours[mark] for mark in row] for row in hand_rows()]


# ---------------------------------------------------------------- the program icon

def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def icon_shapes():
    """Shapes in a 256x256 square, painted in order: a blue tile; on the left a white table
    card with a header row and grid lines (a Paradox table); on the right an amber database
    cylinder; between them a two-way arrow."""
    blue = (31, 86, 140, 255)
    white = (250, 250, 250, 255)
    header = (120, 170, 215, 255)
    line = (150, 165, 180, 255)
    amber = (240, 170, 40, 255)
    amber_dark = (200, 130, 20, 255)
    amber_top = (252, 205, 110, 255)
    arrow = (255, 255, 255, 255)

    shapes = [(rounded_rect(8, 8, 248, 248, 44), blue)]
    # The table card.
    shapes.append((rounded_rect(26, 58, 112, 196, 8), white))
    shapes.append((rect(26, 58, 112, 84), header))
    shapes.append((rounded_rect(26, 58, 112, 72, 8), header))
    for y in (108, 132, 156, 180):
        shapes.append((rect(32, y - 1.5, 106, y + 1.5), line))
    shapes.append((rect(67.5, 84, 70.5, 190), line))
    # The database cylinder.
    shapes.append((rect(148, 76, 232, 180), amber))
    shapes.append((ellipse(190, 180, 42, 16), amber))
    shapes.append((rect(148, 126, 232, 129), amber_dark))
    shapes.append((ellipse(190, 76, 42, 16), amber_top))
    # The two-way arrow between them.
    shapes.append((rect(118, 123, 142, 133), arrow))
    shapes.append((polygon([(112, 128), (126, 112), (126, 144)]), arrow))
    shapes.append((polygon([(148, 128), (134, 112), (134, 144)]), arrow))
    return shapes


def draw_icon(size=256, samples=4):
    shapes = icon_shapes()
    scale = 256.0 / size
    step = 1.0 / samples
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) * step) * scale
                    y = (py + (sy + 0.5) * step) * scale
                    colour = (0, 0, 0, 0)
                    for inside, fill in shapes:
                        if inside(x, y):
                            colour = fill
                    alpha = colour[3] / 255.0
                    total[0] += colour[0] * alpha
                    total[1] += colour[1] * alpha
                    total[2] += colour[2] * alpha
                    total[3] += alpha
            count = samples * samples
            coverage = total[3] / count
            if coverage == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(total[i] / total[3]) for i in range(3)) + (round(coverage * 255),))
        image.append(row)
    return image


# ---------------------------------------------------------------- file formats

def png_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(channel for pixel in row for channel in pixel) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(pixels):
    """A 32-bit device-independent bitmap as icon and cursor files hold it: the header gives
    twice the height (colour rows, then the 1-bit mask), rows run from the bottom up."""
    height, width = len(pixels), len(pixels[0])
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def directory_file(kind, images):
    """An .ico (kind 1) or .cur (kind 2) file. images: (width, height, data, field1, field2)
    where the two fields are planes and bit count for an icon, the hot spot for a cursor."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for width, height, data, field1, field2 in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, field1, field2, len(data), offset)
        offset += len(data)
    return out + b"".join(image[2] for image in images)


def downsample(pixels, factor):
    size = len(pixels) // factor
    result = []
    for y in range(size):
        row = []
        for x in range(size):
            block = [pixels[y * factor + dy][x * factor + dx] for dy in range(factor) for dx in range(factor)]
            alpha = sum(p[3] for p in block)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(sum(p[i] * p[3] for p in block) / alpha) for i in range(3)) +
                           (round(alpha / len(block)),))
        result.append(row)
    return result


# The desktop's icon theme picks the size nearest to what it shows; the name is the
# application's id, as the .desktop file and the AppStream metainfo give it.
HICOLOR_SIZES = (16, 24, 32, 48, 64, 128, 256)
APPLICATION_ID = "example.corvandel.Quintabel"


def hicolor_icons(icon):
    for size in HICOLOR_SIZES:
        # Sizes that divide 256 are averaged from the large drawing; the others are drawn anew.
        pixels = downsample(icon, 256 // size) if 256 % size == 0 else draw_icon(size, samples=8)
        folder = os.path.join("icons", "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(os.path.join(OUT, folder), exist_ok=True)
        write(os.path.join(folder, APPLICATION_ID + ".png"), png_bytes(pixels))


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    hand = hand_pixels()
    write("HAND-M.CUR", directory_file(2, [(HAND_SIZE, HAND_SIZE, dib_bytes(hand), *HAND_HOT_SPOT)]))
    icon = draw_icon()
    small = downsample(icon, 8)
    write("quintabel.png", png_bytes(icon))
    write("quintabel-32.png", png_bytes(small))
    write("quintabel.ico", directory_file(1, [(32, 32, dib_bytes(small), 1, 32), (256, 256, png_bytes(icon), 1, 32)]))
    hicolor_icons(icon)


if __name__ == "__main__":
    main()
