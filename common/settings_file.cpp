#include "settings_file.h"

std::wstring ReadIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
                     const std::wstring &file) {
  return store.Read(section, key, file, kIniValueBytes);
}

void WriteIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
              const std::wstring &value, const std::wstring &file) {
  store.Write(section, key, value, file);
}

WindowSize StoredWindowSize(ProfileStore &store) {
  // The fallback is the default, so that a missing key reads as it.
  const auto side = [&store](const wchar_t *key, int fallback) {
    return StoredWindowSide(store.Read(kSection, key, kSettingsFile, kProfileIntBytes), fallback);
  };
  return {side(kKeyWidth, kDefaultWindowWidth), side(kKeyHeight, kDefaultWindowHeight)};
}

bool FileExists(FileProbe &files, std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  if (path.empty()) return false;
  return files.CanOpenForReading(path);
}

std::wstring FolderOf(const std::wstring &path) {
  const std::size_t last = path.find_last_of(L":\\");
  std::wstring folder = last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

bool MayWriteSettings(const WritePlace &place) {
  return place.folderHeld && !place.folderIsLink && place.fileHeld && !place.fileIsLink && place.fileNames == 1;
}
