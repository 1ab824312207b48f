#!/usr/bin/env python3
"""Writes a 32 x 32 picture of at most 256 colours as a Windows icon with an
8-bit colour table.

    python3 assets/ppm-to-ico.py INPUT.ppm OUTPUT.ico

INPUT is a binary PPM (P6, maxval 255), already reduced to 256 colours or
fewer. The colour table lists the colours in ascending order of their RGB
value, padded with black to 256 entries, so the same picture always gives
the same bytes. The icon is fully opaque: its transparency mask is all zero.
"""
import struct
import sys

SIZE = 32


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # Header: magic, width, height and maxval, separated by white space
    # (comments are not expected from ImageMagick).
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maxval != 255:
        raise SystemExit("ppm-to-ico: %s is not an 8-bit binary PPM" % path)
    if (width, height) != (SIZE, SIZE):
        raise SystemExit("ppm-to-ico: %s is %dx%d, not %dx%d" % (path, width, height, SIZE, SIZE))
    pixels = data[pos:pos + 3 * width * height]
    if len(pixels) != 3 * width * height:
        raise SystemExit("ppm-to-ico: %s is cut short" % path)
    return [tuple(pixels[i:i + 3]) for i in range(0, len(pixels), 3)]


def icon(pixels):
    colours = sorted(set(pixels))
    if len(colours) > 256:
        raise SystemExit("ppm-to-ico: the picture has %d colours, more than 256" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    table = b"".join(bytes([b, g, r, 0]) for r, g, b in colours)
    table += bytes(4 * (256 - len(colours)))
    # Colour plane bottom-up, one byte a pixel (32 bytes a row, already a
    # multiple of four); then the mask, one bit a pixel, four bytes a row.
    colour = b"".join(bytes(index[p] for p in pixels[y * SIZE:(y + 1) * SIZE])
                      for y in reversed(range(SIZE)))
    mask = bytes(SIZE * 4)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + table + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    # Width, height, colour count (0 stands for 256), reserved, planes,
    # bits per pixel, size and offset of the image.
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage: %s INPUT.ppm OUTPUT.ico\n" % sys.argv[0])
        sys.exit(2)
    data = icon(read_ppm(sys.argv[1]))
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
