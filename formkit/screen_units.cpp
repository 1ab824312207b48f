#include "screen_units.h"

#include <cstdint>

#include "numbers.h"

namespace {

// value × numerator / denominator to the nearest integer, ties to even. Every
// operand is a whole number far below 2^53, so the product is exact and a
// quotient that lies halfway between two integers comes out exactly halfway.
long Scale(long value, long numerator, long denominator) {
  const double exact = static_cast<double>(value) * static_cast<double>(numerator) / static_cast<double>(denominator);
  return RoundToInt32(exact).value_or(exact < 0 ? INT32_MIN : INT32_MAX);
}

}  // namespace

int UsableDpi(int reported) { return reported > 0 ? reported : kBaseDpi; }

int TwipsToPixels(long twips, int dpi) { return static_cast<int>(Scale(twips, UsableDpi(dpi), 1440)); }

int PixelsCovering(long twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * UsableDpi(dpi);
  return static_cast<int>((scaled + 1439) / 1440);
}

long PixelsToTwips(long pixels, int dpi) { return Scale(pixels, 1440, UsableDpi(dpi)); }

int ScaleFromBaseDpi(int pixels, int dpi) { return static_cast<int>(Scale(pixels, UsableDpi(dpi), kBaseDpi)); }
