// The track box of the settings dialog: any text gives a track that is the
// nearest 16-bit integer to the number in it (ties to even) or 0, and the
// track's text reads back as the same track.
#include <cmath>
#include <cstring>
#include <string>

#include "dialog_logic.h"
#include "fuzz_text.h"
#include "numbers.h"

namespace {

void CheckTrackText(long value) {
  const std::wstring text = FormatTrack(value);
  FUZZ_CHECK(text.empty() == (value == 0));
  if (value == 0) return;
  const auto back = ParseNumber(text);
  FUZZ_CHECK(back && *back == static_cast<double>(value));
  if (value >= -32768 && value <= 32767) FUZZ_CHECK(TrackFromText(text) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::wstring text = WideFromBytes(data, size);
  const std::int16_t track = TrackFromText(text);
  const auto number = ParseNumber(text);
  if (!number || !(*number >= -32768.5 && *number < 32767.5)) {
    FUZZ_CHECK(track == 0);
  } else {
    const double gap = std::fabs(track - *number);
    FUZZ_CHECK(gap < 0.5 || (gap == 0.5 && track % 2 == 0));
  }
  CheckTrackText(track);
  if (size >= sizeof(long)) {
    long value;
    std::memcpy(&value, data, sizeof value);
    CheckTrackText(value);
  }
  return 0;
}
