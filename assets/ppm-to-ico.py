#!/usr/bin/env python3
"""Writes square pictures of at most 256 colours each as one Windows icon,
each picture an image with an 8-bit colour table.

    python3 assets/ppm-to-ico.py INPUT.ppm... OUTPUT.ico

Each INPUT is a binary PPM (P6, maxval 255), square, a multiple of 4 pixels
wide and 256 at most, already reduced to 256 colours or fewer; the icon
lists the images in the order given. Each colour table lists its colours in
ascending order of their RGB value, padded with black to 256 entries, so the
same pictures always give the same bytes. The images are fully opaque: their
transparency masks are all zero.
"""
import struct
import sys


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
    # Rows of one byte a pixel need no padding when the width is a multiple of 4.
    if width != height or width % 4 or not 0 < width <= 256:
        raise SystemExit("ppm-to-ico: %s is %dx%d, not square, a multiple of 4 and 256 at most"
                         % (path, width, height))
    pixels = data[pos:pos + 3 * width * height]
    if len(pixels) != 3 * width * height:
        raise SystemExit("ppm-to-ico: %s is cut short" % path)
    return width, [tuple(pixels[i:i + 3]) for i in range(0, len(pixels), 3)]


def image(size, pixels):
    """One icon image: header, colour table, colour plane and mask."""
    colours = sorted(set(pixels))
    if len(colours) > 256:
        raise SystemExit("ppm-to-ico: a picture has %d colours, more than 256" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    table = b"".join(bytes([b, g, r, 0]) for r, g, b in colours)
    table += bytes(4 * (256 - len(colours)))
    # Colour plane bottom-up, one byte a pixel; then the mask, one bit a
    # pixel, each row padded to a multiple of four bytes.
    colour = b"".join(bytes(index[p] for p in pixels[y * size:(y + 1) * size])
                      for y in reversed(range(size)))
    mask = bytes((size + 31) // 32 * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + table + colour + mask


def icon(pictures):
    images = [image(size, pixels) for size, pixels in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, _), data in zip(pictures, images):
        # Width, height (0 stands for 256), colour count (0 stands for 256),
        # reserved, planes, bits per pixel, size and offset of the image.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def main():
    if len(sys.argv) < 3:
        sys.stderr.write("usage: %s INPUT.ppm... OUTPUT.ico\n" % sys.argv[0])
        sys.exit(2)
    data = icon([read_ppm(path) for path in sys.argv[1:-1]])
    with open(sys.argv[-1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
