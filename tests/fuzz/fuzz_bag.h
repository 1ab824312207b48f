// Stored control properties from fuzz input: the first line is for the
// target's own use, every other line is "key=value" (a line without "=" is a
// key with an empty value). Keys come as written, so their case varies.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "control_site.h"
#include "fuzz_text.h"
#include "numbers.h"

struct FuzzProperties {
  std::wstring first;
  std::vector<std::pair<std::wstring, std::wstring>> entries;
  MemoryPropertyBag bag;
};

inline FuzzProperties PropertiesFromBytes(const std::uint8_t *data, std::size_t size) {
  const std::vector<std::wstring> lines = LinesFromBytes(data, size);
  FuzzProperties p;
  p.first = lines[0];
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t equals = lines[i].find(L'=');
    const std::wstring key = lines[i].substr(0, equals);
    const std::wstring value = equals == std::wstring::npos ? std::wstring() : lines[i].substr(equals + 1);
    p.entries.push_back({key, value});
    p.bag.Write(key, value);
  }
  return p;
}

// The blank-separated numbers of a text, each as LeadingNumber reads it.
inline std::vector<double> NumbersOf(const std::wstring &text) {
  std::vector<double> numbers;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == L' ') ++i;
    const std::size_t end = std::min(text.find(L' ', i), text.size());
    if (end > i) numbers.push_back(LeadingNumber(std::wstring_view(text).substr(i, end - i)));
    i = end;
  }
  return numbers;
}

// A control's picture: its surface's colours, row by row.
inline std::vector<Colour> Pixels(const Surface &surface) {
  std::vector<Colour> pixels;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.GetPixel(x, y));
  return pixels;
}

// A whole number in lo..hi from a read number, `fallback` when there is none.
inline int Within(const std::vector<double> &numbers, std::size_t index, int lo, int hi, int fallback) {
  if (index >= numbers.size() || !(numbers[index] >= lo && numbers[index] <= hi)) return fallback;
  return static_cast<int>(numbers[index]);
}

// The bag's own rules and the readers of stored values, for every key: keys
// match without regard to ASCII case, the last value written for a key is
// the one read, and a value that is no number reads as the fallback.
inline void CheckStoredValues(const FuzzProperties &p) {
  for (const auto &entry : p.entries) {
    const std::wstring &key = entry.first;
    std::wstring last;
    for (const auto &other : p.entries)
      if (LowerAscii(other.first) == LowerAscii(key)) last = other.second;
    const auto read = p.bag.Read(key);
    FUZZ_CHECK(read && *read == last);
    FUZZ_CHECK(p.bag.Read(UpperAscii(key)) == read && p.bag.Read(LowerAscii(key)) == read);
    const auto number = ParseNumber(*read);
    for (bool fallback : {false, true}) {
      FUZZ_CHECK(StoredBool(p.bag, key, fallback) == (number ? *number != 0 : fallback));
    }
    const std::int32_t i32 = StoredInt32(p.bag, key, 12345);
    const std::int16_t i16 = StoredInt16(p.bag, key, 123);
    if (!number) FUZZ_CHECK(i32 == 12345 && i16 == 123);
    if (!number) FUZZ_CHECK(StoredColour(p.bag, key, 0xABCDEFu) == 0xABCDEFu);
    if (const auto font = FontFromText(*read)) {
      // A font read from text is written as text that reads back as the same font.
      const auto again = FontFromText(FontToText(*font));
      FUZZ_CHECK(again && *again == *font);
    }
  }
}
