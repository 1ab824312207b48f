#include "profile_int.h"

namespace {

unsigned CodeOf(char c) { return static_cast<unsigned char>(c); }
unsigned CodeOf(wchar_t c) { return static_cast<unsigned>(c); }

template <class Char>
std::uint32_t ParseProfileInt(std::basic_string_view<Char> text, std::uint32_t fallback) {
  // The profile functions leave a character for the end.
  const std::size_t size = text.size() < kProfileIntBytes ? text.size() : kProfileIntBytes - 1;
  std::size_t i = 0;
  // Every control character counts as a blank, as the reader sees it.
  while (i < size && CodeOf(text[i]) <= ' ') ++i;
  if (i == size) return fallback;
  bool negative = false;
  if (CodeOf(text[i]) == '+' || CodeOf(text[i]) == '-') negative = CodeOf(text[i++]) == '-';
  std::uint32_t base = 10;
  if (i + 1 < size && CodeOf(text[i]) == '0') {
    const unsigned mark = CodeOf(text[i + 1]);
    base = mark == 'x' ? 16 : mark == 'o' ? 8 : mark == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < size; ++i) {
    const unsigned c = CodeOf(text[i]);
    const std::uint32_t digit = c >= '0' && c <= '9'   ? c - '0'
                                : c >= 'a' && c <= 'z' ? c - 'a' + 10
                                : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                       : base;
    if (digit >= base) break;
    total = total * base + digit;  // wraps, as the reader's does
  }
  return negative ? 0u - total : total;
}

}  // namespace

std::uint32_t ProfileIntOf(std::string_view text, std::uint32_t fallback) { return ParseProfileInt(text, fallback); }
std::uint32_t ProfileIntOf(std::wstring_view text, std::uint32_t fallback) { return ParseProfileInt(text, fallback); }
