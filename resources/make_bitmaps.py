#!/usr/bin/env python3
"""Writes the menu bitmaps and the dialog icon of the plug-in.

reply.bmp (108) and reply_all.bmp (113) are 16x16, 16 colours (4 bits per
pixel, the standard VGA palette). halyard.ico (122) holds a 16x16 and a
32x32 image of the same palette with a transparency mask. The pictures are
drawn below as text, one character per pixel; run this script again after
changing them and commit the files it writes.
"""

import os
import struct

# The standard 16-colour palette (blue, green, red order in the files).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]  # as (red, green, blue)

# Picture characters to palette indexes; '.' is the background.
INK = {".": 15, "#": 4, "+": 12, "o": 8, "w": 15, "y": 14, "k": 0}

REPLY = [
    "................",
    "................",
    "....#...........",
    "...##...........",
    "..#+#########...",
    ".#++++++++++##..",
    "#++++++++++++##.",
    ".#++++++++++++#.",
    "..#+########++#.",
    "...##.......#+#.",
    "....#.......#+#.",
    "............#+#.",
    "............#+#.",
    "............###.",
    "................",
    "................",
]

REPLY_ALL = [
    "................",
    "................",
    "...#..#.........",
    "..##.##.........",
    ".#+##+#######...",
    "#++#++++++++##..",
    "++#++++++++++##.",
    "#++#++++++++++#.",
    ".#+##+######++#.",
    "..##.##.....#+#.",
    "...#..#.....#+#.",
    "............#+#.",
    "............#+#.",
    "............###.",
    "................",
    "................",
]

# A sail on a mast over water; ' ' is transparent.
ICON_16 = [
    "                ",
    "       k        ",
    "       kw       ",
    "       kww      ",
    "       kwww     ",
    "       kwwww    ",
    "       kwwwww   ",
    "      wkwwwwww  ",
    "     wwkwwwwwww ",
    "    wwwkwwwwwww ",
    "   wwwwk        ",
    "       k        ",
    "  ############  ",
    "   #oooooooo#   ",
    " ++++++++++++++ ",
    "++++++++++++++++",
]


def scale(picture, factor):
    return ["".join(ch * factor for ch in row) for row in picture for _ in range(factor)]


def pixel_rows(picture, ink):
    """Palette indexes, bottom row first as the files store them."""
    return [[ink.get(ch, 15) for ch in row] for row in reversed(picture)]


def pack_4bpp(rows):
    data = bytearray()
    for row in rows:
        line = bytearray()
        for i in range(0, len(row), 2):
            line.append((row[i] << 4) | row[i + 1])
        while len(line) % 4:
            line.append(0)
        data += line
    return bytes(data)


def pack_mask(picture):
    """1 bit per pixel, 1 = transparent, rows padded to 32 bits."""
    data = bytearray()
    for row in reversed(picture):
        bits = 0
        line = bytearray()
        for i, ch in enumerate(row):
            bits = (bits << 1) | (1 if ch == " " else 0)
            if i % 8 == 7:
                line.append(bits)
                bits = 0
        while len(line) % 4:
            line.append(0)
        data += line
    return bytes(data)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 2835, 2835, 16, 0)


def bitmap_file(picture):
    assert len(picture) == 16 and all(len(row) == 16 for row in picture)
    pixels = pack_4bpp(pixel_rows(picture, INK))
    header = info_header(16, 16, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def icon_image(picture):
    size = len(picture)
    ink = dict(INK)
    ink[" "] = 0
    pixels = pack_4bpp(pixel_rows(picture, ink))
    mask = pack_mask(picture)
    # Height counts the colour image and the mask together.
    return info_header(size, size * 2, len(pixels) + len(mask)) + palette_bytes() + pixels + mask


def icon_file(pictures):
    images = [icon_image(p) for p in pictures]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for picture, image in zip(pictures, images):
        size = len(picture)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "reply.bmp": bitmap_file(REPLY),
        "reply_all.bmp": bitmap_file(REPLY_ALL),
        "halyard.ico": icon_file([ICON_16, scale(ICON_16, 2)]),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
