// Number reading, rounding and writing, for any text and any double: the
// readers agree with each other, rounding lands on the nearest integer with
// ties to even or reports that it does not fit, what FormatNumber writes
// reads back as the same number, and the settings dialog's track box holds
// the nearest 16-bit integer to its text's number or 0 and writes it back.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "ascii.h"
#include "dialog_logic.h"
#include "fuzz_text.h"
#include "numbers.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// `rounded` is within half of `value`, and even on a tie. The difference is
// exact: the two are within a factor of two of each other, or rounded is 0.
bool IsNearest(double rounded, double value) {
  const double gap = std::fabs(rounded - value);
  return gap < 0.5 || (gap == 0.5 && std::fmod(rounded, 2.0) == 0.0);
}

void CheckRounding(double value) {
  const auto r32 = RoundToInt32(value);
  const auto r16 = RoundToInt16(value);
  const auto bits = RoundToBits32(value);
  const auto floor16 = FloorToInt16(value);
  if (std::isnan(value)) {
    FUZZ_CHECK(!r32 && !r16 && !bits && !floor16);
    return;
  }
  if (r32) {
    FUZZ_CHECK(IsNearest(*r32, value));
    FUZZ_CHECK(r16.has_value() == (*r32 >= -32768 && *r32 <= 32767));
    if (r16) FUZZ_CHECK(*r16 == *r32);
    FUZZ_CHECK(bits && *bits == static_cast<std::uint32_t>(*r32));
  } else {
    // -2147483648.5 is a tie that rounds to the even -2147483648, which fits;
    // 2147483647.5 rounds to 2147483648, which does not.
    FUZZ_CHECK(!(value >= -2147483648.5 && value < 2147483647.5));
    FUZZ_CHECK(!r16);
  }
  if (bits) {
    const double unsignedValue = static_cast<double>(*bits);
    const double signedValue = static_cast<double>(static_cast<std::int32_t>(*bits));
    FUZZ_CHECK(IsNearest(value < 0 ? signedValue : unsignedValue, value));
  } else {
    FUZZ_CHECK(!(value >= -2147483648.5 && value < 4294967295.5));
  }
  if (floor16) {
    FUZZ_CHECK(*floor16 <= value && value < *floor16 + 1.0);
  } else {
    FUZZ_CHECK(!(value >= -32768.0 && value < 32768.0));
  }
}

void CheckFormat(long value) {
  const std::wstring text = FormatNumber(value);
  FUZZ_CHECK(text.size() >= 2);
  FUZZ_CHECK(text[0] == (value < 0 ? L'-' : L' '));
  for (std::size_t i = 1; i < text.size(); ++i) FUZZ_CHECK(IsDigit(text[i]));
  const auto back = ParseNumber(text);
  FUZZ_CHECK(back && *back == static_cast<double>(value));
  // The track box shows the number without the blank, and nothing for 0.
  FUZZ_CHECK(FormatTrack(value) == (value == 0 ? L"" : text.substr(value < 0 ? 0 : 1)));
  if (value >= -32768 && value <= 32767) FUZZ_CHECK(TrackFromText(FormatTrack(value)) == value);
}

void CheckText(const std::wstring &text) {
  const auto parsed = ParseNumber(text);
  const double leading = LeadingNumber(text);
  CheckRounding(leading);
  const std::int16_t track = TrackFromText(text);
  if (parsed && *parsed >= -32768.5 && *parsed < 32767.5) {
    FUZZ_CHECK(IsNearest(track, *parsed));
  } else {
    FUZZ_CHECK(track == 0);
  }
  if (std::none_of(text.begin(), text.end(), IsDigit)) {
    FUZZ_CHECK(!parsed && leading == 0.0);
    return;
  }
  if (!parsed) return;
  FUZZ_CHECK(!std::isnan(*parsed));
  CheckRounding(*parsed);
  // A whole number is its own leading number, blanks around it change
  // nothing, and anything after it that is not a blank spoils it.
  FUZZ_CHECK(leading == *parsed);
  const auto padded = ParseNumber(L" \t" + text + L"\t ");
  FUZZ_CHECK(padded && *padded == *parsed);
  FUZZ_CHECK(!ParseNumber(text + L"x"));
  FUZZ_CHECK(LeadingNumber(text + L"x") == leading);
  if (const auto rounded = RoundToInt32(*parsed)) CheckFormat(*rounded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  CheckText(WideFromBytes(data, size));
  // The first eight bytes as a double (infinities, NaNs, subnormals and
  // all) and as a long.
  if (size >= 8) {
    double value;
    long integer;
    std::memcpy(&value, data, sizeof value);
    std::memcpy(&integer, data, sizeof integer);
    CheckRounding(value);
    CheckFormat(integer);
  }
  return 0;
}
