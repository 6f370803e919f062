#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's icon from one 16 x 16 pixel map, in the style of the toolbar images: the
scalable SVG and a PNG for each size the desktop asks for, every one an exact multiple of the
map so no pixel is blurred. Run it after changing the map; its output is kept in the repository."""

import pathlib
import struct
import zlib

COLOURS = {
    "k": (0x00, 0x00, 0x00),  # outlines, as the toolbar draws them
    "w": (0xFF, 0xFF, 0xFF),  # the empty picture
    "g": (0x80, 0x90, 0xC0),  # step grid points
    "r": (0xD0, 0x30, 0x30),  # the frame of the floating tile
    "G": (0x40, 0xA0, 0x40),  # grass tile
    "d": (0x20, 0x70, 0x20),
    "B": (0x40, 0x70, 0xD0),  # water tile
    "l": (0xA0, 0xC0, 0xF0),
    "o": (0xA0, 0x60, 0x20),  # path tile
    "b": (0x70, 0x40, 0x10),
}

# A picture of four tiles with one still empty, and a tile floating above it in its frame.
PIXELS = [
    "........rkrkrkrk",
    "........kGGGdGGr",
    "kkkkkkkkrGdGGGGk",
    "kGGGGGGwkGGGGdGr",
    "kGdGGGGwrGGdGGGk",
    "kGGGGdGgkdGGGGGr",
    "kGGdGGGwrGGGGdGk",
    "kGGGGGGwkrkrkrkr",
    "kGdGGdGwwgwwgk..",
    "kooooooBBBBBBk..",
    "kobooooBBlBBBk..",
    "kooooboBBBBBlk..",
    "kobooooBlBBBBk..",
    "kooobooBBBBlBk..",
    "kooooooBBBBBBk..",
    "kkkkkkkkkkkkkk..",
]

SIZES = (16, 32, 48, 64, 128, 256)
NAME = "tessimap"


def svg():
    rects = []
    for y, row in enumerate(PIXELS):
        x = 0
        while x < len(row):
            c = row[x]
            run = 1
            while x + run < len(row) and row[x + run] == c:
                run += 1
            if c != ".":
                rgb = "#%02X%02X%02X" % COLOURS[c]
                rects.append(f'  <rect x="{x}" y="{y}" width="{run}" height="1" fill="{rgb}"/>')
            x += run
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- SPDX-License-Identifier: GPL-3.0-or-later -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 16 16" '
            'shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n")


def png(size):
    scale = size // len(PIXELS)
    rows = []
    for row in PIXELS:
        line = bytearray([0])  # filter type None
        for c in row:
            pixel = bytes(COLOURS[c]) + b"\xff" if c != "." else b"\0\0\0\0"
            line += pixel * scale
        rows += [bytes(line)] * scale

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA, no interlace
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    here = pathlib.Path(__file__).resolve().parent
    assert all(len(row) == len(PIXELS) for row in PIXELS)
    (here / f"{NAME}.svg").write_text(svg())
    for size in SIZES:
        (here / f"{NAME}-{size}.png").write_bytes(png(size))


main()
