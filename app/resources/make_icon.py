#!/usr/bin/env python3
"""Writes clipboard.ico: a 16x16, 256-colour (8-bit palette) icon of a
clipboard, drawn from the pixel map below.

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


def build_icon():
    assert len(PIXELS) == 16 and all(len(row) == 16 for row in PIXELS)
    keys = list(COLOURS)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in COLOURS.values())
    palette += b"\0" * (256 * 4 - len(palette))

    # Rows are stored bottom-up.
    colour_rows = b"".join(bytes(keys.index(ch) for ch in row) for row in reversed(PIXELS))
    mask_rows = b""
    for row in reversed(PIXELS):
        bits = 0
        for x, ch in enumerate(row):
            if ch == ".":
                bits |= 1 << (15 - x)
        mask_rows += struct.pack(">H", bits) + b"\0\0"  # rows padded to 32 bits

    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 8, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 256, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open("clipboard.ico", "wb") as f:
        f.write(build_icon())
