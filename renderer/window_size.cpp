#include "window_size.h"

int FitWindowSide(int stored, int fallback, int screenLimit, int glLimit) {
  int side = stored > 0 ? stored : fallback;
  if (screenLimit > 0 && side > screenLimit) side = screenLimit;
  if (glLimit > 0 && side > glLimit) side = glLimit;
  return side;
}
