#include "argument_text.h"

#include "ascii.h"

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
