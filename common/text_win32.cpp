#include "text_win32.h"

#include <windows.h>

std::string ToAnsi(const std::wstring &text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(const std::string &text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
  return out;
}

bool RoundTripsThroughAnsi(const std::wstring &text, std::size_t *bytes) {
  *bytes = 0;
  if (text.empty()) return true;
  BOOL replaced = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, &replaced);
  if (size <= 0 || replaced) return false;
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &ansi[0], size,
                      nullptr, &replaced);
  *bytes = ansi.size();
  return !replaced && FromAnsi(ansi) == text;
}

namespace {
// Runs one of the two path calls, which give the length they need when the
// buffer is too small.
template <typename Call>
std::wstring PathFrom(const std::wstring &path, Call call) {
  const DWORD needed = call(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring out(needed, L'\0');
  const DWORD length = call(path.c_str(), &out[0], needed);
  if (length == 0 || length >= needed) return {};
  out.resize(length);
  return out;
}
}  // namespace

std::wstring ShortPathOf(const std::wstring &path) { return PathFrom(path, GetShortPathNameW); }
std::wstring LongPathOf(const std::wstring &path) { return PathFrom(path, GetLongPathNameW); }
