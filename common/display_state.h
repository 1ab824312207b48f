// Whether the display is on, from what the system says about it. Where a
// window is registered for the display-state power setting, that setting
// alone decides; a monitor-power command only counts where the registration
// failed, since the command does not always turn the display off (a policy,
// a driver, or a program that sends it by mistake) and no notification then
// says that it is still on. The raw values are passed in; the window glue
// only forwards them.
#pragma once

#include <cstddef>
#include <optional>

// Values the system gives, as plain numbers.
namespace system_value {
// The data of a display-state power setting (console display state, or
// monitor power on the systems without it).
constexpr unsigned long kDisplayOff = 0;
constexpr unsigned long kDisplayOn = 1;
constexpr unsigned long kDisplayDimmed = 2;
// The lParam of a monitor-power system command.
constexpr long kMonitorOn = -1;
constexpr long kMonitorLowPower = 1;
constexpr long kMonitorOff = 2;
}  // namespace system_value

// A power setting as the system lays it out in a notification: the
// setting's identity (a GUID as it lies in memory), the length of its data
// (4 bytes, little-endian), then the data.
namespace power_setting {
constexpr std::size_t kIdentityBytes = 16;
// The identity, the length and the one DWORD of a display-state setting.
constexpr std::size_t kDisplaySettingBytes = kIdentityBytes + 4 + 4;
// The console's display state, and monitor power on the systems without it.
extern const unsigned char kConsoleDisplayState[kIdentityBytes];
extern const unsigned char kMonitorPowerOn[kIdentityBytes];
}  // namespace power_setting

// What a power setting's first `size` bytes say of the display: its state,
// or nothing when they are no display-state setting (another setting, data
// shorter than a DWORD, or fewer bytes than the identity, the length and a
// DWORD, which is what a read that failed leaves).
std::optional<unsigned long> DisplayStateIn(const unsigned char *bytes, std::size_t size);

class DisplayState {
 public:
  // The window now hears of the display-state setting.
  void Registered() { registered_ = true; }
  // The display-state setting changed: off is off; on and dimmed are on.
  void Setting(unsigned long value) { off_ = value == system_value::kDisplayOff; }
  // A monitor-power command: off, or on and low power; ignored where the
  // setting is heard.
  void MonitorPower(long value) {
    if (!registered_) off_ = value == system_value::kMonitorOff;
  }
  bool Off() const { return off_; }

 private:
  bool registered_ = false;
  bool off_ = false;
};
