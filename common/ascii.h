// Character rules that must not depend on the locale: blanks of the command
// line and of numbers, and upper-casing of the ASCII letters only (a
// Japanese or full-width letter stays as it is).
#pragma once

#include <string>

inline bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

inline wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

inline wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

inline std::wstring UpperAscii(std::wstring text) {
  for (wchar_t &c : text) c = UpperAscii(c);
  return text;
}

inline std::wstring LowerAscii(std::wstring text) {
  for (wchar_t &c : text) c = LowerAscii(c);
  return text;
}
