#!/usr/bin/env python3
"""Writes clipboard.ico: a 256-colour (8-bit palette) icon of a clipboard,
drawn from the 16x16 pixel map below, at the sizes Windows asks for at 100 to
200 % scaling (16, 20, 24 and 32 pixels); the larger ones sample the same map.

Run from this folder: python3 make_icon.py
"""
import struct

# . transparent   O orange board   o dark orange board edge
# Y pale yellow sheet   g grey lines on the sheet
# B grey-blue clip    b dark grey-blue clip edge
PIXELS = [
    "................",
    "......bbbb......",
    "..oooobBBboooo..",
    ".oOOObBBBBbOOOo.",
    ".oOObBBBBBBbOOo.",
    ".oOObbbbbbbbOOo.",
    ".oOYYYYYYYYYYOo.",
    ".oOYggggggggYOo.",
    ".oOYYYYYYYYYYOo.",
    ".oOYggggggggYOo.",
    ".oOYYYYYYYYYYOo.",
    ".oOYggggggYYYOo.",
    ".oOYYYYYYYYYYOo.",
    ".oOYYYYYYYYYYOo.",
    ".oOOOOOOOOOOOOo.",
    "..oooooooooooo..",
]

# Colours as (red, green, blue).
COLOURS = {
    ".": (0, 0, 0),
    "O": (240, 150, 40),
    "o": (190, 100, 20),
    "Y": (255, 250, 200),
    "g": (170, 170, 160),
    "B": (120, 140, 170),
    "b": (70, 85, 110),
}


SIZES = (16, 20, 24, 32)


def scaled(size):
    """The pixel map at size x size, each pixel taken from the map's pixel under its centre."""
    return ["".join(PIXELS[y * 16 // size][x * 16 // size] for x in range(size)) for y in range(size)]


def image(size):
    pixels = scaled(size)
    keys = list(COLOURS)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in COLOURS.values())
    palette += b"\0" * (256 * 4 - len(palette))
    # Rows are stored bottom-up; colour rows and mask rows padded to 32 bits.
    colour_rows = b""
    mask_rows = b""
    for row in reversed(pixels):
        colour_rows += bytes(keys.index(ch) for ch in row) + b"\0" * ((4 - size % 4) % 4)
        bits = 0
        for x, ch in enumerate(row):
            if ch == ".":
                bits |= 1 << (size - 1 - x)
        mask_bytes = (size + 31) // 32 * 4
        mask_rows += (bits << (mask_bytes * 8 - size)).to_bytes(mask_bytes, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 256, 0)
    return header + palette + colour_rows + mask_rows


def build_icon():
    assert len(PIXELS) == 16 and all(len(row) == 16 for row in PIXELS)
    images = [image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


if __name__ == "__main__":
    with open("clipboard.ico", "wb") as f:
        f.write(build_icon())
