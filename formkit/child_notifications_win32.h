// Notifications that a windowed control sends its parent window and that
// belong to its form: a window standing in between (a group frame, a
// painted control that holds others) passes them up.
#pragma once

#include <windows.h>

namespace formkit {

inline bool IsChildNotification(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return true;
    default:
      return false;
  }
}

}  // namespace formkit
