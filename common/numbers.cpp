#include "numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "ascii.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Scans the longest number at the start of `text`: sign, digits, one decimal
// point, and an exponent (E, or D as old programs wrote it) when digits follow
// it. Returns the characters used and the value, correctly rounded.
std::size_t ScanNumber(std::wstring_view text, double &value) {
  std::string ascii;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ascii += static_cast<char>(text[i++]);

  bool anyDigit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, anyDigit = true) ascii += static_cast<char>(text[i]);
  if (i < text.size() && text[i] == L'.') {
    std::size_t j = i + 1;
    std::string fraction = ".";
    for (; j < text.size() && IsDigit(text[j]); ++j) fraction += static_cast<char>(text[j]);
    if (anyDigit || fraction.size() > 1) {
      anyDigit = true;
      ascii += fraction;
      i = j;
    }
  }
  if (!anyDigit) return 0;

  if (i < text.size() && (text[i] == L'E' || text[i] == L'e' || text[i] == L'D' || text[i] == L'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) exponent += static_cast<char>(text[j++]);
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) exponent += static_cast<char>(text[j]);
      ascii += exponent;
      i = j;
    }
  }
  // Huge exponents give infinities, which never fit an integer.
  value = std::strtod(ascii.c_str(), nullptr);
  return i;
}

std::wstring_view SkipBlanks(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

template <typename Int>
std::optional<Int> Fit(double value) {
  if (!(value >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        value <= static_cast<double>(std::numeric_limits<Int>::max())))
    return std::nullopt;
  return static_cast<Int>(value);
}

double RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double diff = value - down;
  if (diff > 0.5) return down + 1;
  if (diff < 0.5) return down;
  return std::fmod(down, 2.0) == 0.0 ? down : down + 1;
}

}  // namespace

std::optional<double> ParseNumber(std::wstring_view text) {
  text = SkipBlanks(text);
  double value = 0.0;
  const std::size_t used = ScanNumber(text, value);
  if (used == 0) return std::nullopt;
  if (!SkipBlanks(text.substr(used)).empty()) return std::nullopt;
  return value;
}

double LeadingNumber(std::wstring_view text) {
  double value = 0.0;
  return ScanNumber(SkipBlanks(text), value) ? value : 0.0;
}

std::optional<std::int32_t> RoundToInt32(double value) { return Fit<std::int32_t>(RoundHalfEven(value)); }
std::optional<std::int16_t> RoundToInt16(double value) { return Fit<std::int16_t>(RoundHalfEven(value)); }

std::optional<std::uint32_t> RoundToBits32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 4294967295.0)) return std::nullopt;
  return rounded < 0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded))
                     : static_cast<std::uint32_t>(rounded);
}
std::optional<std::int16_t> FloorToInt16(double value) { return Fit<std::int16_t>(std::floor(value)); }

std::wstring FormatNumber(long value) {
  std::wstring digits = std::to_wstring(value);
  return value < 0 ? digits : L" " + digits;
}
