// A power setting's bytes, read out of a message that any program may send.
#include "display_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// The identities written out by hand from their text form: the first three
// fields little-endian, the last eight bytes as they stand.
const Bytes kConsole = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                        0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};  // 6fe69556-704a-47a0-8f24-c28d936fda47
const Bytes kMonitor = {0x15, 0x10, 0x73, 0x02, 0x10, 0x45, 0x26, 0x45,
                        0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea};  // 02731015-4510-4526-99e6-e5a17ebd1aea
// GUID_ACDC_POWER_SOURCE, 5d3e9a59-e9d5-4b00-a6bd-ff34ff516548: a setting, not the display's.
const Bytes kPowerSource = {0x59, 0x9a, 0x3e, 0x5d, 0xd5, 0xe9, 0x00, 0x4b,
                            0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48};

Bytes Setting(const Bytes &identity, Bytes length, Bytes data) {
  Bytes bytes = identity;
  bytes.insert(bytes.end(), length.begin(), length.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

TEST(DisplayStateIn, ReadsOnlyADisplaySettingWithADwordOfData) {
  struct Case {
    const char *name;
    Bytes bytes;
    std::size_t size;  // how many of them could be read
    std::optional<unsigned long> state;
  };
  const Bytes four = {4, 0, 0, 0};
  const Case cases[] = {
      {"console off", Setting(kConsole, four, {0, 0, 0, 0}), 24, 0ul},
      {"console on", Setting(kConsole, four, {1, 0, 0, 0}), 24, 1ul},
      {"console dimmed", Setting(kConsole, four, {2, 0, 0, 0}), 24, 2ul},
      {"monitor power off", Setting(kMonitor, four, {0, 0, 0, 0}), 24, 0ul},
      {"all four bytes of the value", Setting(kConsole, four, {0x04, 0x03, 0x02, 0x81}), 24, 0x81020304ul},
      {"a length past the value reads the value", Setting(kConsole, {0xff, 0xff, 0xff, 0xff}, {1, 0, 0, 0}), 24,
       1ul},
      {"another setting", Setting(kPowerSource, four, {0, 0, 0, 0}), 24, std::nullopt},
      {"one byte of the identity off", Setting([] { Bytes b = kConsole; b[15] ^= 1; return b; }(), four,
                                               {0, 0, 0, 0}), 24, std::nullopt},
      {"data of three bytes", Setting(kConsole, {3, 0, 0, 0}, {0, 0, 0, 0}), 24, std::nullopt},
      {"no data", Setting(kConsole, {0, 0, 0, 0}, {0, 0, 0, 0}), 24, std::nullopt},
      {"a length in the high byte only", Setting(kConsole, {0, 0, 0, 1}, {0, 0, 0, 0}), 24, 0ul},
      {"a read one byte short", Setting(kConsole, four, {0, 0, 0, 0}), 23, std::nullopt},
      {"a read that failed", Setting(kConsole, four, {0, 0, 0, 0}), 0, std::nullopt},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(DisplayStateIn(c.bytes.data(), c.size), c.state) << c.name;
  }
  EXPECT_EQ(DisplayStateIn(nullptr, 24), std::nullopt);
}

}  // namespace
