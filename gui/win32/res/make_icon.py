#!/usr/bin/env python3
"""Draws Tarnwell's application icon and writes it as tarnwell.ico.

The icon is a hard-drive case with a drive-letter tab and a lamp, drawn at
16, 24, 32 and 48 pixels as 32-bit images with alpha. Run it again after a
change; the output is committed next to this script.
"""
import struct
import sys
from pathlib import Path


def draw(size):
    """Returns rows (top first) of (r, g, b, a) pixels."""
    s = size / 32.0
    px = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]

    def box(l, t, r, b, colour):
        for y in range(int(t * s), max(int(t * s) + 1, int(b * s))):
            for x in range(int(l * s), max(int(l * s) + 1, int(r * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    edge = (40, 52, 78, 255)
    body = (92, 122, 178, 255)
    face = (176, 196, 228, 255)
    # Case with a one-unit edge and a lighter front face.
    box(2, 9, 30, 27, edge)
    box(3, 10, 29, 26, body)
    box(4, 19, 28, 25, face)
    # The drive-letter tab sitting on the case.
    box(6, 4, 17, 10, edge)
    box(7, 5, 16, 10, (250, 250, 250, 255))
    box(10, 6, 13, 9, (200, 40, 40, 255))
    # Slot and lamp on the front face.
    box(6, 21, 18, 23, edge)
    box(22, 21, 26, 23, (40, 200, 70, 255))
    return px


def image_entry(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def main():
    sizes = [16, 24, 32, 48]
    images = [image_entry(n) for n in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name('tarnwell.ico')
    target.write_bytes(bytes(out))


if __name__ == '__main__':
    main()
