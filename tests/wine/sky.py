"""Where each screen pixel of the renderer's window meets the sky plane, and
the gradient colour painted there before any cloud is added. The window is
at the screen's top left; a pixel beyond it (on another monitor) is taken
on the same image plane, as if the window were that much larger."""

import math

ZENITH = (0.23, 0.37, 0.57)
MIDDLE = (0.53, 0.67, 0.97)
HORIZON = (0.9, 0.95, 1.0)
FOV_Y = 80.0
LOOK_AT = (9.75, 0.0, 10.0)
SKY_Z = 2.0


def _normalise(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def plane_point(px, py, width, height):
    """The point (x, y) of the plane z = 2 seen through pixel (px, py), counted
    from the window's top left, or None when the ray misses the plane."""
    f = _normalise(LOOK_AT)
    s = _normalise(_cross(f, (0.0, 0.0, 1.0)))
    u = _cross(s, f)
    half = math.tan(math.radians(FOV_Y / 2))
    cx = ((px + 0.5) / width * 2 - 1) * half * width / height
    cy = (1 - (py + 0.5) / height * 2) * half
    d = tuple(f[i] + s[i] * cx + u[i] * cy for i in range(3))
    if d[2] <= 0:
        return None
    t = SKY_Z / d[2]
    return d[0] * t, d[1] * t


def gradient(x, y):
    """Colour (0..255 per channel) of the gradient at plane point (x, y), or None
    beyond the plane's edge. Inside the inner square it runs linearly from the
    zenith with the max-norm, in the ring from the middle colour to the horizon."""
    m = max(abs(x), abs(y))
    if m > 20.0:
        return None
    if m <= 6.0:
        a, b, k = ZENITH, MIDDLE, m / 6.0
    else:
        a, b, k = MIDDLE, HORIZON, (m - 6.0) / 14.0
    return tuple(255.0 * (a[i] + (b[i] - a[i]) * k) for i in range(3))


def excess(picture, width, height, step=(31, 23), area=None):
    """Light each sampled pixel of a window at the screen's top left has above
    the bare gradient, per channel; in `area` (left, top, right, bottom) of
    the screen when given, else in the window."""
    x0, y0, x1, y1 = area or (0, 0, width, height)
    samples = []
    for py in range(y0 + 4, y1, step[1]):
        for px in range(x0 + 4, x1, step[0]):
            point = plane_point(px, py, width, height)
            expected = gradient(*point) if point else None
            if expected is not None:
                seen = picture.pixel(px, py)
                samples.append(((px, py), [seen[i] - expected[i] for i in range(3)]))
    return samples


def assert_sky(test, picture, width, height, area=None):
    """Fails `test` unless the picture shows the sky in a window of this size
    at the screen's top left (or in `area` of the screen, seen from that
    window): additive clouds only ever add light to the gradient; some of
    the sky is clear and some is cloudy."""
    clear = cloudy = 0
    for where, added in excess(picture, width, height, area=area):
        test.assertTrue(all(a >= -3 for a in added), f"pixel {where} darker than the gradient: {added}")
        if max(added) <= 3:
            clear += 1
        elif max(added) >= 10:
            cloudy += 1
    test.assertGreater(clear, 20)
    test.assertGreater(cloudy, 20)


def wait_for_sky(test, screen, width, height, save_as):
    """Waits for the clouds to fade in (a cloudy share of the sky, as
    assert_sky asks) and returns that screenshot, kept as `save_as`, once
    assert_sky has passed on it."""
    def cloudy(picture):
        return sum(max(a) >= 10 for _, a in excess(picture, width, height)) > 20
    picture = screen.wait_for(cloudy, 15, "a cloudy sky")
    picture.save(screen.outputs.file(save_as))
    assert_sky(test, picture, width, height)
    return picture


def seam_contrast(picture, column, top, bottom):
    """The mean difference, over rows top to bottom, between the columns
    that meet at `column` (column - 1 and column), and between two pairs of
    columns four apart on either side: a picture continuous across the seam
    changes there no faster than within."""
    def mean_difference(a, b):
        total = sum(abs(p - q) for y in range(top, bottom)
                    for p, q in zip(picture.pixel(a, y), picture.pixel(b, y)))
        return total / (3 * (bottom - top))
    return (mean_difference(column - 1, column), mean_difference(column - 5, column - 1),
            mean_difference(column, column + 4))
