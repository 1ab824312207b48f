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

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, x0, y0, x1, y1):
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]

    def save(self, path, crop=None):
        """Writes the picture, or its rectangle `crop` (left, top, right,
        bottom), to a file whose name says its format; returns the path."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        cut = []
        if crop:
            x, y, r, b = crop
            cut = ["-crop", f"{r - x}x{b - y}+{x}+{y}", "+repage"]
        ppm = f"P6\n{self.width} {self.height}\n255\n".encode() + self.data
        subprocess.run(["convert", "ppm:-", *cut, "-strip", path], input=ppm, check=True)
        return path


def screenshot(display):
    """The whole screen of an X display, as it is now."""
    blob = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                          check=True, stdout=subprocess.PIPE).stdout
    return Picture.from_ppm(blob)
