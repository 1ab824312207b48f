#include "screen_rect.h"

#include <algorithm>

bool IsEmpty(const ScreenRect &r) { return r.right <= r.left || r.bottom <= r.top; }

int PartsOutside(const ScreenRect &r, const ScreenRect &hole, ScreenRect (&parts)[4]) {
  const ScreenRect cut = {std::max(r.left, hole.left), std::max(r.top, hole.top), std::min(r.right, hole.right),
                          std::min(r.bottom, hole.bottom)};
  if (IsEmpty(cut)) {
    parts[0] = r;
    return IsEmpty(r) ? 0 : 1;
  }
  const ScreenRect all[] = {{r.left, r.top, r.right, cut.top},
                            {r.left, cut.bottom, r.right, r.bottom},
                            {r.left, cut.top, cut.left, cut.bottom},
                            {cut.right, cut.top, r.right, cut.bottom}};
  int count = 0;
  for (const ScreenRect &p : all) {
    if (!IsEmpty(p)) parts[count++] = p;
  }
  return count;
}
