#include "presence.h"

void Presence::SessionChange(unsigned code) {
  switch (code) {
    case system_value::kSessionLock: locked = true; break;
    case system_value::kSessionUnlock: locked = false; break;
    case system_value::kConsoleDisconnect:
    case system_value::kRemoteDisconnect: disconnected = true; break;
    case system_value::kConsoleConnect:
    case system_value::kRemoteConnect: disconnected = false; break;
    default: break;
  }
}

void Presence::Size(int width, int height, bool iconic) {
  minimised = iconic;
  hasArea = width > 0 && height > 0;
}
