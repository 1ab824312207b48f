#include "settings.h"

#include "numbers.h"

namespace {

// Empty text means 0; a number sets its integer part; anything else, or a
// number beyond 16 bits, leaves the variable alone.
void LoadInt16(const std::wstring &text, std::int16_t &variable) {
  if (text.empty()) {
    variable = 0;
    return;
  }
  if (const auto number = ParseNumber(text)) {
    if (const auto value = FloorToInt16(*number)) variable = *value;
  }
}

}  // namespace

void LoadSettings(ProfileStore &store, FileProbe &files, UserSeal &seal, const std::wstring &programFolder,
                  LoadFor purpose, MusicSettings &music) {
  LoadInt16(ReadIni(store, kSection, kKeyBgmKind, kSettingsFile), music.BgmKind);
  LoadInt16(ReadIni(store, kSection, kKeyBgmRepeat, kSettingsFile), music.BgmRepeat);

  music.BgmFile = ReadIni(store, kSection, kKeyBgmFile, kSettingsFile);
  music.BgmFileUnsealed = false;
  if (!music.BgmFile.empty()) {
    const PathForm form = FormOf(music.BgmFile);
    const bool sealed = NeedsSeal(form) && SealedForUser(store, seal, music.BgmFile);
    if (MayOpen(form, sealed)) {
      if (!FileExists(files, music.BgmFile)) music.BgmFile.clear();
    } else if (purpose == LoadFor::Dialog && NeedsSeal(form)) {
      music.BgmFileUnsealed = true;
    } else {
      music.BgmFile.clear();
    }
  }
  if (music.BgmFile.empty() && music.BgmKind == kBgmFile) music.BgmKind = kBgmNone;

  // The file browser never starts in a folder this user has not trusted.
  music.BgmFolder = music.BgmFile.empty() || music.BgmFileUnsealed ? programFolder : FolderOf(music.BgmFile);
}

void WriteScreenSize(ProfileStore &store, long width, long height) {
  WriteIni(store, kSection, kKeyWidth, FormatNumber(width), kSettingsFile);
  WriteIni(store, kSection, kKeyHeight, FormatNumber(height), kSettingsFile);
}
