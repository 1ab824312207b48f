"""Screenshots of a whole X display, read pixel by pixel or saved as PNG."""

import os
import re
import subprocess


class Picture:
    """An RGB screenshot."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        # P6 header: magic, width, height, maxval, each followed by whitespace.
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", blob)
        width, height = int(fields.group(1)), int(fields.group(2))
        if int(fields.group(3)) != 255:
            raise ValueError("expected 8 bits per sample")
        return cls(width, height, blob[fields.end():])

    @classmethod
    def load(cls, path):
        """A picture file, as ImageMagick reads it."""
        return cls.from_ppm(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                                           stdout=subprocess.PIPE).stdout)

    def cut(self, x0, y0, x1, y1):
        """The rectangle (right and bottom outside) as a picture of its own."""
        rows = (self.data[(y * self.width + x0) * 3:(y * self.width + x1) * 3] for y in range(y0, y1))
        return Picture(x1 - x0, y1 - y0, b"".join(rows))

    def blanked(self, rects):
        """A copy with each rectangle (right and bottom outside) painted black."""
        data = bytearray(self.data)
        for x0, y0, x1, y1 in rects:
            for y in range(y0, y1):
                data[(y * self.width + x0) * 3:(y * self.width + x1) * 3] = bytes(3 * (x1 - x0))
        return Picture(self.width, self.height, bytes(data))

    def differences(self, other):
        """How many pixels differ from `other`, a picture of the same size,
        and the smallest rectangle round them (None when none do)."""
        xs, ys = [], []
        for i in range(0, len(self.data), 3):
            if self.data[i:i + 3] != other.data[i:i + 3]:
                xs.append(i // 3 % self.width)
                ys.append(i // 3 // self.width)
        return len(xs), (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, x0, y0, x1, y1):
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]

    def save(self, path, crop=None):
        """Writes the picture, or its rectangle `crop` (left, top, right,
        bottom), to a file whose name says its format; returns the path."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        picture = self.cut(*crop) if crop else self
        ppm = f"P6\n{picture.width} {picture.height}\n255\n".encode() + picture.data
        subprocess.run(["convert", "ppm:-", "-strip", path], input=ppm, check=True)
        return path


def screenshot(display):
    """The whole screen of an X display, as it is now."""
    blob = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                          check=True, stdout=subprocess.PIPE).stdout
    return Picture.from_ppm(blob)
