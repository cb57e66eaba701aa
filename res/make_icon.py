#!/usr/bin/env python3
"""Draws pdclean.ico: a grey waste bin with a red front panel and a blue-tipped pen
dropped into it, 32 x 32, 16 colours, transparent background. Run it to remake the icon."""
import os
import struct

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, NAVY, SILVER, GREY, RED, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 12, 15
SIZE = 32


def draw():
    """Returns rows top-down of palette indexes, None where transparent."""
    px = [[None] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c

    # Body: a trapezoid narrowing towards the bottom.
    top, bottom = 11, 30
    for y in range(top, bottom + 1):
        inset = (y - top) // 7
        left, right = 7 + inset, 24 - inset
        for x in range(left, right + 1):
            edge = x in (left, right) or y == bottom
            rib = (x - left) % 4 == 0
            put(x, y, BLACK if edge else (GREY if rib else SILVER))

    # Red front panel with a darker border.
    for y in range(15, 26):
        for x in range(11, 21):
            border = y in (15, 25) or x in (11, 20)
            put(x, y, MAROON if border else RED)

    # Rim, wider than the body.
    for y in (9, 10):
        for x in range(5, 27):
            edge = x in (5, 26)
            put(x, y, BLACK if edge else (WHITE if y == 9 else GREY))
    for x in range(5, 27):
        put(x, 8, BLACK)

    # Pen, drawn last so it lies across the rim: a white barrel from the top right,
    # its blue tip dipping into the opening.
    for i in range(11):
        x, y = 28 - i, i
        for dy, c in ((-1, BLACK), (0, WHITE), (1, SILVER), (2, BLACK)):
            put(x, y + dy, c)
    for i in range(4):
        for dy, c in ((-1, BLACK), (0, BLUE), (1, NAVY), (2, BLACK)):
            put(17 - i, 11 + i + dy, c)
    return px


def icon_bytes(px):
    xor_stride = SIZE // 2          # 4 bits a pixel, already a multiple of 4 bytes
    and_stride = SIZE // 8          # 1 bit a pixel, already a multiple of 4 bytes
    xor, mask = bytearray(), bytearray()
    for row in reversed(px):         # bitmaps are stored bottom-up
        for x in range(0, SIZE, 2):
            hi, lo = (row[x] or 0), (row[x + 1] or 0)
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += bits.to_bytes(and_stride, 'big')
    assert len(xor) == xor_stride * SIZE
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == '__main__':
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'pdclean.ico')
    with open(out, 'wb') as f:
        f.write(icon_bytes(draw()))
    print(out)
