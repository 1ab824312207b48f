// The settings file shared by the screensaver program and the renderer, and
// the music choice the program loads from it.
//
// One profile file, one section; text in the ANSI code page. The renderer
// reads "Width" and "Height"; the program writes them at every full-screen
// start and reads and writes the three music keys. Numbers are written with
// FormatNumber. A music file that has gone away loads as no file, and a music
// source of "file" without a file as no music, for this run only: the stale
// keys stay until the settings are applied again.
#pragma once

#include <cstdint>
#include <string>

extern const wchar_t kSettingsFolder[];  // C:\t_orka_temp
extern const wchar_t kSettingsFile[];    // C:\t_orka_temp\Brumalis.ini
extern const wchar_t kSection[];
extern const wchar_t kKeyWidth[];
extern const wchar_t kKeyHeight[];
extern const wchar_t kKeyBgmKind[];
extern const wchar_t kKeyBgmRepeat[];
extern const wchar_t kKeyBgmFile[];

constexpr std::size_t kIniValueBytes = 256;  // values are cut to 255 bytes

// The platform's profile functions. Read gives "" for a missing key, section
// or file; Write reports nothing.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual std::wstring Read(const std::wstring &section, const std::wstring &key,
                            const std::wstring &file) = 0;
  virtual void Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
                     const std::wstring &file) = 0;
};

// Whether a file can be opened for reading; never creates anything.
class FileProbe {
 public:
  virtual ~FileProbe() = default;
  virtual bool CanOpenForReading(const std::wstring &path) = 0;
};

enum BgmKinds : std::int16_t { kBgmNone = 0, kBgmCd = 1, kBgmFile = 2 };

struct MusicSettings {
  std::int16_t BgmKind = kBgmNone;
  std::int16_t BgmRepeat = 0;
  std::wstring BgmFile;
  std::wstring BgmFolder;
};

// What a full-screen run plays, from the music kind and the file's last three
// characters in any case: "x.Mp3" is an MP3, "x.mp3 " and "x.mid" play nothing.
enum class MusicSource { None, Cd, Wav, Mp3 };
MusicSource MusicSourceOf(const MusicSettings &music);

std::wstring ReadIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
                     const std::wstring &file);
void WriteIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
              const std::wstring &value, const std::wstring &file);

// Fills `music` from the settings file. Values that are not numbers or do not
// fit 16 bits leave the variable as it was.
void LoadSettings(ProfileStore &store, FileProbe &files, const std::wstring &programFolder,
                  MusicSettings &music);

// True when the path names a file that can be opened for reading; one
// trailing backslash is ignored, so "C:\" is tested as "C:".
bool FileExists(FileProbe &files, std::wstring path);

// The folder part of a path, without a trailing backslash:
// C:\music\a.mp3 -> C:\music, C:\a.mp3 -> C:, D:a.wav -> D:, a.mp3 -> "".
std::wstring FolderOf(const std::wstring &path);

// Writes the primary screen's size for the renderer, width first.
void WriteScreenSize(ProfileStore &store, long width, long height);
