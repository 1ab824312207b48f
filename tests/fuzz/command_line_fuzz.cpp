// The command line as the program receives it: the argument text never
// takes any of the program's path, the mode depends on the second character
// alone and not on its case, and a pane handle read from it reads the same
// when written back, unsigned or signed.
#include <string>

#include "argument_text.h"
#include "ascii.h"
#include "command_line.h"
#include "fuzz_text.h"

namespace {

void CheckArguments(const std::wstring &text) {
  const wchar_t letter = ModeLetter(text);
  FUZZ_CHECK((letter == 0) == (text.size() < 2) || (text.size() >= 2 && text[1] == 0));
  FUZZ_CHECK(!(letter >= L'a' && letter <= L'z'));
  FUZZ_CHECK(ModeLetter(UpperAscii(text)) == ModeLetter(LowerAscii(text)));

  const StartMode mode = ModeOf(text);
  FUZZ_CHECK((mode == StartMode::Preview) == (letter == L'P'));
  FUZZ_CHECK((mode == StartMode::Settings) == (letter == L'C'));
  FUZZ_CHECK((mode == StartMode::FullScreen) == (letter == L'S'));
  FUZZ_CHECK((mode == StartMode::FullScreenShown) == text.empty());
  if (text.size() > 2) FUZZ_CHECK(ModeOf(text.substr(0, 2)) == mode);

  const auto handle = PaneHandle(text);
  if (text.size() > 3) FUZZ_CHECK(PaneHandle(L"/P " + text.substr(3)) == handle);
  if (handle) {
    FUZZ_CHECK(PaneHandle(L"/p " + std::to_wstring(*handle)) == handle);
    FUZZ_CHECK(PaneHandle(L"/p:" + std::to_wstring(static_cast<std::int32_t>(*handle))) == handle);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::wstring commandLine = WideFromBytes(data, size);
  const std::wstring arguments = ArgumentText(commandLine);
  FUZZ_CHECK(EndsWith(commandLine, arguments));
  FUZZ_CHECK(arguments.empty() || !IsBlank(arguments[0]));
  const std::wstring path = commandLine.substr(0, commandLine.size() - arguments.size());
  if (!arguments.empty()) FUZZ_CHECK(!path.empty() && IsBlank(path.back()));
  // A quoted path ends at its closing quote at the earliest.
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const std::size_t close = commandLine.find(L'"', 1);
    FUZZ_CHECK(close == std::wstring::npos ? arguments.empty() : path.size() > close);
  }
  CheckArguments(commandLine);
  CheckArguments(arguments);
  return 0;
}
