// The music choice the screensaver program loads from the settings file, and
// the screen size it writes there for the renderer.
//
// A music file that has gone away loads as no file, and a music source of
// "file" without a file as no music, for this run only: the stale keys stay
// until the settings are applied again. So does a path this user may not
// open (see path_trust.h), which is never opened: a device, or any path the
// user has not sealed.
#pragma once

#include <string>

#include "music_settings.h"
#include "path_trust.h"
#include "settings_file.h"

// Who loads: a start that may play the music, or the settings dialog, which
// shows an unsealed path as it is stored (BgmFileUnsealed) so that the user
// can trust it on apply.
enum class LoadFor { Run, Dialog };

// Fills `music` from the settings file. Values that are not numbers or do not
// fit 16 bits leave the variable as it was.
void LoadSettings(ProfileStore &store, FileProbe &files, UserSeal &seal, const std::wstring &programFolder,
                  LoadFor purpose, MusicSettings &music);

// Writes the primary screen's size for the renderer, width first.
void WriteScreenSize(ProfileStore &store, long width, long height);
