#include "command_line.h"

#include "numbers.h"

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

std::wstring ArgumentText(std::wstring_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const std::size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return std::wstring(commandLine.substr(i));
}

wchar_t ModeLetter(std::wstring_view argumentText) {
  if (argumentText.size() < 2) return 0;
  const wchar_t c = argumentText[1];
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::optional<std::uint32_t> PaneHandle(std::wstring_view argumentText) {
  const std::wstring_view rest = argumentText.size() > 3 ? argumentText.substr(3) : std::wstring_view();
  return RoundToBits32(LeadingNumber(rest));
}

StartMode ModeOf(std::wstring_view argumentText) {
  switch (ModeLetter(argumentText)) {
    case L'P': return StartMode::Preview;
    case L'C': return StartMode::Settings;
    case L'S': return StartMode::FullScreen;
    default: return argumentText.empty() ? StartMode::FullScreenShown : StartMode::CheckOnly;
  }
}
