// The music choice: loaded from the settings file by the screensaver program,
// changed by the settings dialog, played by the music player.
#pragma once

#include <cstdint>
#include <string>

enum BgmKinds : std::int16_t { kBgmNone = 0, kBgmCd = 1, kBgmFile = 2 };

struct MusicSettings {
  std::int16_t BgmKind = kBgmNone;
  std::int16_t BgmRepeat = 0;
  std::wstring BgmFile;
  std::wstring BgmFolder;  // where the file browser opens
  // BgmFile is a path this user has not sealed: the settings dialog shows it
  // and never opens it, looks it up or browses in its folder.
  bool BgmFileUnsealed = false;
};
