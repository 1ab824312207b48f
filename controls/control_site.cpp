#include "control_site.h"

#include <sstream>

#include "numbers.h"

std::wstring FontToText(const FontSpec &font) {
  std::wostringstream out;
  out << font.name << L',' << font.points << L',' << font.weight << L',' << font.charset << L','
      << (font.italic ? 1 : 0) << L',' << (font.underline ? 1 : 0) << L',' << (font.strikeout ? 1 : 0);
  return out.str();
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
