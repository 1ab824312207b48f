#!/usr/bin/env python3
"""Rewrites a 24-bit Windows BMP of at most 256 colours as an 8-bit BMP
compressed with run lengths (BI_RLE8), which Windows decodes itself when it
loads the picture: the same pixels in a fraction of the bytes.

    python3 assets/bmp-rle8.py INPUT.bmp OUTPUT.bmp

INPUT is what ImageMagick writes as BMP3: a BITMAPINFOHEADER, 24 bits per
pixel, bottom-up, no compression. The colour table lists the picture's
colours in ascending order of their RGB value, so the same picture always
gives the same bytes. The output is decoded again and compared with the
input before it is written: a picture that would not come back pixel for
pixel is an error, never a file.
"""
import struct
import sys

FILE_HEADER = struct.Struct("<2sIHHI")
INFO_HEADER = struct.Struct("<IiiHHIIiiII")
BI_RGB, BI_RLE8 = 0, 1


def fail(message):
    raise SystemExit("bmp-rle8: " + message)


def read_bmp24(path):
    """The picture's size, its resolution (pixels per metre across and down)
    and its rows, bottom row first, each a list of (r, g, b)."""
    with open(path, "rb") as f:
        data = f.read()
    magic, _, _, _, offset = FILE_HEADER.unpack_from(data, 0)
    (size, width, height, planes, bits, compression, _, x_ppm, y_ppm, _, _) = INFO_HEADER.unpack_from(
        data, FILE_HEADER.size)
    if magic != b"BM" or size != INFO_HEADER.size or planes != 1 or bits != 24 or compression != BI_RGB:
        fail("%s is not a 24-bit BMP3 without compression" % path)
    if width <= 0 or height <= 0:
        fail("%s is not a bottom-up picture" % path)
    stride = (3 * width + 3) & ~3
    rows = []
    for y in range(height):
        row = data[offset + y * stride:offset + y * stride + 3 * width]
        rows.append([(row[x + 2], row[x + 1], row[x]) for x in range(0, 3 * width, 3)])
    return width, height, (x_ppm, y_ppm), rows


def encode_row(indices):
    """One row in RLE8: runs of one index as (count, index), other stretches
    of three or more pixels in absolute mode (0, count, indices, padded to
    an even length)."""
    out = bytearray()
    literal = []

    def flush_literal():
        # Absolute mode needs three pixels at least; one or two go as runs.
        while literal:
            chunk = literal[:255]
            del literal[:255]
            if len(chunk) < 3:
                for index in chunk:
                    out.extend((1, index))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)

    x = 0
    while x < len(indices):
        run = 1
        while x + run < len(indices) and run < 255 and indices[x + run] == indices[x]:
            run += 1
        if run >= 3:
            flush_literal()
            out.extend((run, indices[x]))
        else:
            literal.extend(indices[x:x + run])
        x += run
    flush_literal()
    return out


def decode(data, width, height):
    """The index rows of RLE8 DATA, bottom row first, as Windows reads them;
    None where a pixel is left unset."""
    rows = [[None] * width for _ in range(height)]
    x = y = pos = 0
    while pos < len(data):
        count, value = data[pos], data[pos + 1]
        pos += 2
        if count:
            for _ in range(count):
                rows[y][x] = value
                x += 1
        elif value == 0:  # end of line
            x, y = 0, y + 1
        elif value == 1:  # end of bitmap
            break
        elif value == 2:  # delta
            x, y = x + data[pos], y + data[pos + 1]
            pos += 2
        else:  # absolute mode
            for index in data[pos:pos + value]:
                rows[y][x] = index
                x += 1
            pos += value + (value % 2)
    return rows


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    source, target = sys.argv[1:]
    width, height, resolution, rows = read_bmp24(source)
    palette = sorted({pixel for row in rows for pixel in row})
    if len(palette) > 256:
        fail("%s has %d colours, more than 256" % (source, len(palette)))
    number = {colour: i for i, colour in enumerate(palette)}
    index_rows = [[number[pixel] for pixel in row] for row in rows]

    bits = bytearray()
    for y, row in enumerate(index_rows):
        bits += encode_row(row)
        bits += b"\0\1" if y == height - 1 else b"\0\0"  # end of bitmap, or of line
    if decode(bits, width, height) != index_rows:
        fail("%s does not decode to the same pixels" % source)

    table = b"".join(struct.pack("<BBBx", b, g, r) for r, g, b in palette)
    offset = FILE_HEADER.size + INFO_HEADER.size + len(table)
    with open(target, "wb") as f:
        f.write(FILE_HEADER.pack(b"BM", offset + len(bits), 0, 0, offset))
        f.write(INFO_HEADER.pack(INFO_HEADER.size, width, height, 1, 8, BI_RLE8, len(bits), *resolution,
                                 len(palette), len(palette)))
        f.write(table)
        f.write(bits)


if __name__ == "__main__":
    main()
