// The settings dialog, shown modally with no owner; returns when it closes.
// The program that shows it hands over the music choice it loaded (the
// dialog changes it and, on apply, writes it to the settings file) and the
// caption zoom it plays on opening and closing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "music_settings.h"
#include "shared_names.h"

using ZoomOperation = void (*)(HWND hwnd, const std::int16_t &x, const std::int16_t &y);

struct SettingsDialogState {
  MusicSettings &music;
  // The screen point the dialog zooms from and back to; the dialog sets it
  // to where the pointer is when it opens.
  std::int16_t &zoomOriginX;
  std::int16_t &zoomOriginY;
  ZoomOperation zoomFromPoint;
  ZoomOperation zoomToPoint;
  // Called once the dialog's window exists, titled as a second start looks for.
  void (*loaded)() = nullptr;
};

void ShowSettingsDialog(const SettingsDialogState &state);
