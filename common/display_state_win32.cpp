#include "display_state_win32.h"

namespace {

// The power settings that say whether the display is on.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

}  // namespace

HPOWERNOTIFY ListenForDisplayState(HWND window, DisplayState &state) {
  HPOWERNOTIFY notify = RegisterPowerSettingNotification(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!notify) notify = RegisterPowerSettingNotification(window, &kMonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
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
  if (wParam != PBT_POWERSETTINGCHANGE || !lParam) return true;
  const auto &setting = *reinterpret_cast<const POWERBROADCAST_SETTING *>(lParam);
  const bool displaySetting = IsEqualGUID(setting.PowerSetting, kConsoleDisplayState) ||
                              IsEqualGUID(setting.PowerSetting, kMonitorPowerOn);
  if (displaySetting && setting.DataLength >= sizeof(DWORD)) {
    DWORD value;
    CopyMemory(&value, setting.Data, sizeof value);
    state.Setting(value);
  }
  return true;
}
