#include "contrast.h"

#include <cmath>

#include "numbers.h"

bool HighContrastInFlags(const std::wstring &flags) {
  const auto number = ParseNumber(flags);
  if (!number || *number < 0 || *number != std::floor(*number) || *number > 4294967295.0) return false;
  return (static_cast<unsigned long long>(*number) & 1u) != 0;
}
