#include "settings.h"

#include "numbers.h"

const wchar_t kSettingsFolder[] = L"C:\\t_orka_temp";
const wchar_t kSettingsFile[] = L"C:\\t_orka_temp\\Brumalis.ini";
const wchar_t kSection[] = L"Section";
const wchar_t kKeyWidth[] = L"Width";
const wchar_t kKeyHeight[] = L"Height";
const wchar_t kKeyBgmKind[] = L"BGM\u533a\u5206";                // BGM区分
const wchar_t kKeyBgmRepeat[] = L"BGM\uff98\uff8b\uff9f\uff70\uff84";  // BGMﾘﾋﾟｰﾄ
const wchar_t kKeyBgmFile[] = L"BGM\uff8c\uff67\uff72\uff99";      // BGMﾌｧｲﾙ

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

std::wstring UpperAscii(std::wstring text) {
  for (wchar_t &c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return text;
}

}  // namespace

MusicSource MusicSourceOf(const MusicSettings &music) {
  if (music.BgmKind == kBgmCd) return MusicSource::Cd;
  if (music.BgmKind != kBgmFile) return MusicSource::None;
  const std::wstring &file = music.BgmFile;
  const std::wstring ending = UpperAscii(file.size() >= 3 ? file.substr(file.size() - 3) : file);
  if (ending == L"WAV") return MusicSource::Wav;
  if (ending == L"MP3") return MusicSource::Mp3;
  return MusicSource::None;
}

std::wstring ReadIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
                     const std::wstring &file) {
  return store.Read(section, key, file);
}

void WriteIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
              const std::wstring &value, const std::wstring &file) {
  store.Write(section, key, value, file);
}

void LoadSettings(ProfileStore &store, FileProbe &files, const std::wstring &programFolder,
                  MusicSettings &music) {
  LoadInt16(ReadIni(store, kSection, kKeyBgmKind, kSettingsFile), music.BgmKind);
  LoadInt16(ReadIni(store, kSection, kKeyBgmRepeat, kSettingsFile), music.BgmRepeat);

  music.BgmFile = ReadIni(store, kSection, kKeyBgmFile, kSettingsFile);
  if (!music.BgmFile.empty() && !FileExists(files, music.BgmFile)) music.BgmFile.clear();
  if (music.BgmFile.empty() && music.BgmKind == kBgmFile) music.BgmKind = kBgmNone;

  music.BgmFolder = music.BgmFile.empty() ? programFolder : FolderOf(music.BgmFile);
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

void WriteScreenSize(ProfileStore &store, long width, long height) {
  WriteIni(store, kSection, kKeyWidth, FormatNumber(width), kSettingsFile);
  WriteIni(store, kSection, kKeyHeight, FormatNumber(height), kSettingsFile);
}
