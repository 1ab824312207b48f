#include "window_size.h"

// The reader's unsigned number, as the platform's int of the same bits.
int StoredWindowSide(std::string_view text, int fallback) {
  return static_cast<int>(ProfileIntOf(text, static_cast<std::uint32_t>(fallback)));
}
int StoredWindowSide(std::wstring_view text, int fallback) {
  return static_cast<int>(ProfileIntOf(text, static_cast<std::uint32_t>(fallback)));
}

int FitWindowSide(int stored, int fallback, int screenLimit, int glLimit) {
  int side = stored > 0 ? stored : fallback;
  if (screenLimit > 0 && side > screenLimit) side = screenLimit;
  if (glLimit > 0 && side > glLimit) side = glLimit;
  return side;
}
