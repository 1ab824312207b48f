#include <gtest/gtest.h>

#include "command_line.h"

namespace {

TEST(StartMode, OnlyTheSecondCharacterCounts) {
  struct Case { const wchar_t *arguments; StartMode mode; wchar_t letter; };
  const Case cases[] = {
      {L"/s", StartMode::FullScreen, L'S'},       {L"/S", StartMode::FullScreen, L'S'},
      {L"-s", StartMode::FullScreen, L'S'},       {L"/scr", StartMode::FullScreen, L'S'},
      {L"xs", StartMode::FullScreen, L'S'},       {L"", StartMode::FullScreenShown, 0},
      {L"/p 1234", StartMode::Preview, L'P'},     {L"/p1234", StartMode::Preview, L'P'},
      {L"/c:99", StartMode::Settings, L'C'},      {L"/C", StartMode::Settings, L'C'},
      {L"/a", StartMode::CheckOnly, L'A'},        {L"/x", StartMode::CheckOnly, L'X'},
      {L"/", StartMode::CheckOnly, 0},            {L"s", StartMode::CheckOnly, 0},
      {L"/\u30b9", StartMode::CheckOnly, L'\u30b9'},  // a Japanese character is no mode
      {L"/\uff53", StartMode::CheckOnly, L'\uff53'},  // nor a full-width s
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ModeOf(c.arguments), c.mode) << "[" << c.arguments << "]";
    EXPECT_EQ(ModeLetter(c.arguments), c.letter) << "[" << c.arguments << "]";
  }
}

TEST(PaneHandle, IsTheNumberFromTheFourthCharacterOn) {
  struct Case { const wchar_t *arguments; std::optional<std::uint32_t> handle; };
  const Case cases[] = {
      {L"/p 1234", 1234},         {L"/p:1234", 1234},   {L"/p1234", 234},
      {L"/p  1234", 1234},        {L"/p 1234 5", 1234}, {L"/p 12ab", 12},
      {L"/p", 0},                 {L"/p ", 0},          {L"/p x", 0},
      {L"/p 2.5", 2},             {L"/p 3.5", 4},       {L"/p 2147483647", 0x7FFFFFFF},
      // The upper half of the 32 bits, written unsigned or signed.
      {L"/p 2147483648", 0x80000000},   {L"/p -2147483648", 0x80000000},
      {L"/p 4294967295", 0xFFFFFFFF},   {L"/p -1", 0xFFFFFFFF},
      {L"/p -5", 0xFFFFFFFB},           {L"/p 4294967294.5", 0xFFFFFFFE},
      {L"/p 4294967295.5", std::nullopt},  // rounds to 2^32
      {L"/p 4294967296", std::nullopt},    // beyond 32 bits: no handle is read
      {L"/p -2147483649", std::nullopt},
      {L"/p 99999999999999999999", std::nullopt},
      {L"/p 1e400", std::nullopt},
  };
  for (const Case &c : cases) EXPECT_EQ(PaneHandle(c.arguments), c.handle) << c.arguments;
}

}  // namespace
