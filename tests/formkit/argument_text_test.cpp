#include <gtest/gtest.h>

#include "argument_text.h"

namespace {

TEST(ArgumentText, IsWhatFollowsTheProgramPathAndItsBlanks) {
  struct Case { const wchar_t *commandLine, *arguments; };
  const Case cases[] = {
      {L"\"C:\\Program Files\\Brumalis.scr\" /s", L"/s"},
      {L"\"C:\\Program Files\\Brumalis.scr\"   /p 1234", L"/p 1234"},
      {L"C:\\WINDOWS\\Brumalis.scr /c:4711", L"/c:4711"},
      {L"C:\\WINDOWS\\Brumalis.scr", L""},
      {L"\"C:\\WINDOWS\\Brumalis.scr\"", L""},
      {L"Brumalis.scr\t/a", L"/a"},
      {L"\"unterminated /s", L""},
  };
  for (const Case &c : cases) EXPECT_EQ(ArgumentText(c.commandLine), c.arguments) << c.commandLine;
}

}  // namespace
