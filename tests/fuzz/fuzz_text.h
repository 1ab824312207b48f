// Fuzz input as the wide text the screensaver program works with.
//
// Bytes that form UTF-8 are read as UTF-8, so that seeds stay readable and
// can hold Japanese text; every other byte stands for the character of its own
// value (0x80 to 0xFF). Characters beyond 16 bits become surrogate pairs, as
// in the program's UTF-16 strings, and overlong or surrogate encodings are
// taken as they come: NUL, lone surrogates and the rest of the 16-bit range
// all appear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

inline std::wstring WideFromBytes(const std::uint8_t *data, std::size_t size) {
  std::wstring text;
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t lead = data[i];
    const std::size_t length = lead < 0x80 ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    std::uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
    bool whole = length > 0 && i + length <= size;
    for (std::size_t k = 1; whole && k < length; ++k) {
      whole = (data[i + k] & 0xC0) == 0x80;
      code = code << 6 | (data[i + k] & 0x3Fu);
    }
    if (!whole || code > 0x10FFFF) {
      text += static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    if (code > 0xFFFF) {
      code -= 0x10000;
      text += static_cast<wchar_t>(0xD800 + (code >> 10));
      text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      text += static_cast<wchar_t>(code);
    }
    i += length;
  }
  return text;
}

// The input's lines (split at each line feed byte), each read as above. An
// empty input is one empty line.
inline std::vector<std::wstring> LinesFromBytes(const std::uint8_t *data, std::size_t size) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == '\n') {
      lines.push_back(WideFromBytes(data + start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

inline bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A broken invariant: report it and abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)
