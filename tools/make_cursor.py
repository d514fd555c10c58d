#!/usr/bin/env python3
"""Writes a two-colour Windows cursor (.cur) from a text picture.

The picture file holds comment lines starting with '#', a line "hotspot X Y", and 32
rows of 32 characters: 'W' white, 'B' black, '.' transparent.
    make_cursor.py PICTURE.txt OUTPUT.cur
"""
import struct
import sys

SIZE = 32


def read_picture(path):
    hotspot, rows = None, []
    with open(path) as picture:
        for line in picture:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            if line.startswith("hotspot"):
                _, x, y = line.split()
                hotspot = (int(x), int(y))
            else:
                rows.append(line)
    if hotspot is None or len(rows) != SIZE or any(len(r) != SIZE or set(r) - set("WB.") for r in rows):
        sys.exit(f"{path}: expected a hotspot line and {SIZE} rows of {SIZE} characters W, B or .")
    return hotspot, rows


def mask_rows(rows, bit_set):
    """Packed 1-bit rows, bottom row first as bitmaps store them."""
    packed = b""
    for row in reversed(rows):
        bits = 0
        for x, pixel in enumerate(row):
            if bit_set(pixel):
                bits |= 1 << (SIZE - 1 - x)
        packed += struct.pack(">I", bits)
    return packed


def cursor_bytes(hotspot, rows):
    # Colour bit 1 is white; the AND mask keeps the screen where the picture is transparent.
    colour = mask_rows(rows, lambda p: p == "W")
    transparent = mask_rows(rows, lambda p: p == ".")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + colour + transparent
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    hotspot, rows = read_picture(sys.argv[1])
    with open(sys.argv[2], "wb") as out:
        out.write(cursor_bytes(hotspot, rows))


if __name__ == "__main__":
    main()
