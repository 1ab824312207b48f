// A rectangle of the virtual desktop and the one way it is cut around
// another, shared by the host's covers and the renderer's other monitors.
#pragma once

// In pixels: left and top inside, right and bottom just outside. The primary
// monitor's top left is (0, 0); other monitors may lie at negative
// coordinates.
struct ScreenRect {
  long left, top, right, bottom;
  bool operator==(const ScreenRect &o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

bool IsEmpty(const ScreenRect &r);

// The parts of `r` outside `hole`, none of them empty, into `parts`; returns
// how many. At most a band above and one below across the whole width, and
// one to the left and one to the right between them; `r` itself when the two
// do not meet.
int PartsOutside(const ScreenRect &r, const ScreenRect &hole, ScreenRect (&parts)[4]);
