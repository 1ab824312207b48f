#include "command_line.h"

#include "ascii.h"
#include "numbers.h"

wchar_t ModeLetter(std::wstring_view argumentText) {
  if (argumentText.size() < 2) return 0;
  return UpperAscii(argumentText[1]);
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
