#include "control_site.h"

#include <cmath>
#include <cstdio>

#include "numbers.h"

namespace {
std::optional<double> StoredNumber(const PropertyBag &bag, const std::wstring &key) {
  const auto text = bag.Read(key);
  return text ? ParseNumber(*text) : std::nullopt;
}
}  // namespace

std::int32_t StoredInt32(const PropertyBag &bag, const std::wstring &key, std::int32_t fallback) {
  const auto number = StoredNumber(bag, key);
  return number ? RoundToInt32(*number).value_or(fallback) : fallback;
}

std::int16_t StoredInt16(const PropertyBag &bag, const std::wstring &key, std::int16_t fallback) {
  const auto number = StoredNumber(bag, key);
  return number ? RoundToInt16(*number).value_or(fallback) : fallback;
}

bool StoredBool(const PropertyBag &bag, const std::wstring &key, bool fallback) {
  const auto number = StoredNumber(bag, key);
  return number ? *number != 0 : fallback;
}

Colour StoredColour(const PropertyBag &bag, const std::wstring &key, Colour fallback) {
  return static_cast<Colour>(StoredInt32(bag, key, static_cast<std::int32_t>(fallback)));
}

std::wstring BoolText(bool value) { return value ? L"-1" : L"0"; }

std::wstring ColourText(Colour value) { return std::to_wstring(static_cast<std::int32_t>(value)); }

std::wstring FontToText(const FontSpec &font) {
  // The size with as many digits as it needs to read back as the same value
  // (17 significant digits for a double), in the C locale's notation that
  // ParseNumber reads.
  char size[32];
  std::snprintf(size, sizeof size, "%.17g", font.points);
  return font.name + L',' + std::wstring(size, size + std::char_traits<char>::length(size)) + L',' +
         std::to_wstring(font.weight) + L',' + std::to_wstring(font.charset) + L',' + (font.italic ? L'1' : L'0') +
         L',' + (font.underline ? L'1' : L'0') + L',' + (font.strikeout ? L'1' : L'0');
}

std::optional<FontSpec> FontFromText(const std::wstring &text) {
  std::vector<std::wstring> fields;
  std::wstring field;
  for (wchar_t c : text) {
    if (c == L',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(field);
  if (fields.size() != 7 || fields[0].empty()) return std::nullopt;
  double numbers[6];
  for (int i = 0; i < 6; ++i) {
    const auto n = ParseNumber(fields[i + 1]);
    if (!n) return std::nullopt;
    numbers[i] = *n;
  }
  // A size must be finite, and the weight and character set must fit an int
  // once their fractions are dropped; anything else is not a font.
  if (!std::isfinite(numbers[0])) return std::nullopt;
  for (int i : {1, 2})
    if (!(numbers[i] > -2147483649.0 && numbers[i] < 2147483648.0)) return std::nullopt;
  FontSpec font;
  font.name = fields[0];
  font.points = numbers[0];
  font.weight = static_cast<int>(numbers[1]);
  font.charset = static_cast<int>(numbers[2]);
  font.italic = numbers[3] != 0;
  font.underline = numbers[4] != 0;
  font.strikeout = numbers[5] != 0;
  return font;
}
