// Stored fonts as text: what a control saves loads back as the same font, and
// text that holds no font the platform could make reads as none.
#include <gtest/gtest.h>

#include "control_site.h"

namespace {

TEST(FontText, AnOrdinaryFontKeepsItsShortText) {
  FontSpec bold;
  bold.weight = 700;
  bold.italic = true;
  EXPECT_EQ(FontToText(FontSpec{}), L"Verdana,8.25,400,0,0,0,0");
  EXPECT_EQ(FontToText(bold), L"Verdana,8.25,700,0,1,0,0");
}

TEST(FontText, AWrittenFontReadsBackAsTheSameFont) {
  // Sizes that take more than six digits, as a size worked out from a
  // height in pixels may.
  for (double points : {8.25, 13 * 72 / 110.0, 10 / 3.0, 8.123456789, 1e-300, 1e300}) {
    FontSpec font;
    font.name = L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af";
    font.points = points;
    font.charset = 128;
    const auto back = FontFromText(FontToText(font));
    ASSERT_TRUE(back) << FontToText(font);
    EXPECT_EQ(*back, font) << FontToText(font);
  }
}

TEST(FontText, NoFontWhereASizeIsInfiniteOrAWeightOrCharacterSetBeyondAnInt) {
  for (const wchar_t *text : {L"Verdana,1e400,400,0,0,0,0", L"Verdana,-1e400,400,0,0,0,0",
                              L"Verdana,8.25,1e10,0,0,0,0", L"Verdana,8.25,2147483648,0,0,0,0",
                              L"Verdana,8.25,400,-2147483649,0,0,0", L"Verdana,8.25,400,1e300,0,0,0"}) {
    EXPECT_FALSE(FontFromText(text)) << text;
  }
  // The fractions are dropped first: these still fit.
  const auto edge = FontFromText(L"Verdana,8.25,2147483647.9,-2147483648.9,0,0,0");
  ASSERT_TRUE(edge);
  EXPECT_EQ(edge->weight, 2147483647);
  EXPECT_EQ(edge->charset, -2147483647 - 1);
}

}  // namespace

TEST(HighContrast, OnlyTheLowestBitOfAWholeNumberSwitchesItOn) {
  const std::pair<const wchar_t *, bool> cases[] = {
      {L"127", true},  {L"126", false}, {L"1", true},           {L"0", false},    {L" 127 ", true},
      {L"", false},    {L"on", false},  {L"-1", false},         {L"1.5", false},  {L"4294967295", true},
      {L"4294967297", false},
  };
  for (const auto &[flags, on] : cases) EXPECT_EQ(HighContrastInFlags(flags), on) << std::wstring(flags).size();
}
