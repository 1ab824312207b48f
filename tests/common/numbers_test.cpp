#include <gtest/gtest.h>

#include <cmath>

#include "numbers.h"

namespace {

TEST(ParseNumber, AcceptsOnlyTextThatIsWhollyANumber) {
  struct Case { const wchar_t *text; std::optional<double> value; };
  const Case cases[] = {
      {L"2", 2.0},        {L" 1024", 1024.0},  {L"1024 ", 1024.0}, {L"\t7", 7.0},
      {L"-5", -5.0},      {L"+3", 3.0},        {L"2.9", 2.9},      {L"-1.5", -1.5},
      {L".5", 0.5},       {L"5.", 5.0},        {L"1e3", 1000.0},   {L"2.5E-1", 0.25},
      {L"1D2", 100.0},    {L"007", 7.0},
      {L"", std::nullopt},     {L"   ", std::nullopt}, {L"abc", std::nullopt},
      {L"2x", std::nullopt},   {L"1 2", std::nullopt}, {L"-", std::nullopt},
      {L".", std::nullopt},    {L"+.", std::nullopt},  {L"1e", std::nullopt},
      {L"\u0032\uff10", std::nullopt},  // a full-width digit is no digit
  };
  for (const Case &c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << "text: [" << c.text << "]";
}

TEST(LeadingNumber, ReadsAsMuchOfANumberAsTheTextStartsWith) {
  struct Case { const wchar_t *text; double value; };
  const Case cases[] = {
      {L"1234", 1234},  {L" 1234", 1234},  {L"1234x", 1234},   {L"12 34", 12},
      {L"-56", -56},    {L"3.75abc", 3.75}, {L"1e2z", 100},    {L"1ex", 1},
      {L"", 0},         {L"x12", 0},        {L":1234", 0},     {L"  ", 0},
  };
  for (const Case &c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << "text: [" << c.text << "]";
}

TEST(Rounding, NearestWithTiesToEven) {
  struct Case { double value; std::optional<std::int32_t> rounded; };
  const Case cases[] = {
      {2.5, 2},  {3.5, 4},   {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {0.5, 0}, {1.5, 2},
      {2147483647.0, 2147483647}, {2147483647.4, 2147483647}, {2147483647.5, std::nullopt},
      {-2147483648.0, -2147483647 - 1}, {-2147483648.6, std::nullopt},
      {INFINITY, std::nullopt}, {NAN, std::nullopt},
  };
  for (const Case &c : cases) EXPECT_EQ(RoundToInt32(c.value), c.rounded) << c.value;
  EXPECT_EQ(RoundToInt16(32767.4), std::optional<std::int16_t>(32767));
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32768.5), std::optional<std::int16_t>(-32768));
}

TEST(Rounding, FloorGivesTheIntegerPart) {
  struct Case { double value; std::optional<std::int16_t> floored; };
  const Case cases[] = {
      {2, 2},          {1.7, 1},          {2.9, 2},           {-1.5, -2}, {-0.1, -1},
      {32767.9, 32767}, {32768, std::nullopt}, {-32768, -32768}, {-32768.1, std::nullopt},
      {1e300, std::nullopt},
  };
  for (const Case &c : cases) EXPECT_EQ(FloorToInt16(c.value), c.floored) << c.value;
}

TEST(FormatNumber, OneBlankBeforeANonNegativeNumber) {
  EXPECT_EQ(FormatNumber(1024), L" 1024");
  EXPECT_EQ(FormatNumber(0), L" 0");
  EXPECT_EQ(FormatNumber(2), L" 2");
  EXPECT_EQ(FormatNumber(-5), L"-5");
  EXPECT_EQ(FormatNumber(-32768), L"-32768");
}

}  // namespace
