// The music choice the screensaver program loads from the settings file, and
// the screen size it writes there for the renderer.
//
// A music file that has gone away loads as no file, and a music source of
// "file" without a file as no music, for this run only: the stale keys stay
// until the settings are applied again.
#pragma once

#include <string>

#include "music_settings.h"
#include "settings_file.h"

// Fills `music` from the settings file. Values that are not numbers or do not
// fit 16 bits leave the variable as it was.
void LoadSettings(ProfileStore &store, FileProbe &files, const std::wstring &programFolder,
                  MusicSettings &music);

// Writes the primary screen's size for the renderer, width first.
void WriteScreenSize(ProfileStore &store, long width, long height);
