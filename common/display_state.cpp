#include "display_state.h"

#include <cstring>

namespace power_setting {
// 6fe69556-704a-47a0-8f24-c28d936fda47 and 02731015-4510-4526-99e6-e5a17ebd1aea.
const unsigned char kConsoleDisplayState[kIdentityBytes] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                                            0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};
const unsigned char kMonitorPowerOn[kIdentityBytes] = {0x15, 0x10, 0x73, 0x02, 0x10, 0x45, 0x26, 0x45,
                                                       0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea};
}  // namespace power_setting

namespace {

unsigned long LittleEndian32(const unsigned char *bytes) {
  return static_cast<unsigned long>(bytes[0]) | static_cast<unsigned long>(bytes[1]) << 8 |
         static_cast<unsigned long>(bytes[2]) << 16 | static_cast<unsigned long>(bytes[3]) << 24;
}

}  // namespace

std::optional<unsigned long> DisplayStateIn(const unsigned char *bytes, std::size_t size) {
  using namespace power_setting;
  if (!bytes || size < kDisplaySettingBytes) return std::nullopt;
  const bool display = std::memcmp(bytes, kConsoleDisplayState, kIdentityBytes) == 0 ||
                       std::memcmp(bytes, kMonitorPowerOn, kIdentityBytes) == 0;
  if (!display || LittleEndian32(bytes + kIdentityBytes) < 4) return std::nullopt;
  return LittleEndian32(bytes + kIdentityBytes + 4);
}
