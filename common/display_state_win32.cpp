#include "display_state_win32.h"

#include <cstring>

namespace {

GUID Identity(const unsigned char (&bytes)[power_setting::kIdentityBytes]) {
  static_assert(sizeof(GUID) == power_setting::kIdentityBytes, "a GUID is its 16 bytes");
  GUID identity;
  std::memcpy(&identity, bytes, sizeof identity);
  return identity;
}

}  // namespace

HPOWERNOTIFY ListenForDisplayState(HWND window, DisplayState &state) {
  const GUID console = Identity(power_setting::kConsoleDisplayState);
  const GUID monitor = Identity(power_setting::kMonitorPowerOn);
  HPOWERNOTIFY notify = RegisterPowerSettingNotification(window, &console, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!notify) notify = RegisterPowerSettingNotification(window, &monitor, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (notify) state.Registered();
  return notify;
}

void StopListeningForDisplayState(HPOWERNOTIFY notify) {
  if (notify) UnregisterPowerSettingNotification(notify);
}

bool NoteDisplayMessage(DisplayState &state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) {
    if ((wParam & 0xFFF0) == SC_MONITORPOWER) state.MonitorPower(static_cast<long>(lParam));
    return false;
  }
  if (message != WM_POWERBROADCAST) return false;
  if (wParam != PBT_POWERSETTINGCHANGE) return true;
  // Any program may send this message, with any number for an address: the
  // setting is copied out by a read that fails, rather than faults, where
  // nothing readable lies.
  unsigned char setting[power_setting::kDisplaySettingBytes];
  SIZE_T copied = 0;
  if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void *>(lParam), setting, sizeof setting,
                         &copied))
    copied = 0;
  if (const auto value = DisplayStateIn(setting, copied)) state.Setting(*value);
  return true;
}
