// The settings file shared by the screensaver program and the renderer.
//
// One profile file, one section; text in the ANSI code page. Reading gives
// "" for a missing key, section or file; writing reports nothing. Numbers are
// written with FormatNumber.
#pragma once

#include <cstddef>
#include <string>

#include "shared_names.h"
#include "window_size.h"

constexpr std::size_t kIniValueBytes = 256;  // values are cut to 255 bytes

// The platform's profile functions. A value read is cut to what fits
// `capacity` bytes with its terminating NUL.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual std::wstring Read(const std::wstring &section, const std::wstring &key, const std::wstring &file,
                            std::size_t capacity) = 0;
  virtual void Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
                     const std::wstring &file) = 0;
  // The key and its value go from the file.
  virtual void Remove(const std::wstring &section, const std::wstring &key, const std::wstring &file) = 0;
};

// Whether a file can be opened for reading; never creates anything.
class FileProbe {
 public:
  virtual ~FileProbe() = default;
  virtual bool CanOpenForReading(const std::wstring &path) = 0;
};

// A value of at most 255 bytes, as every key of the file but the seals holds.
std::wstring ReadIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
                     const std::wstring &file);
void WriteIni(ProfileStore &store, const std::wstring &section, const std::wstring &key,
              const std::wstring &value, const std::wstring &file);

// Both sides of the renderer's window as the file asks for them, each key's
// text read through the store as the platform's profile reader would read
// it (StoredWindowSide).
WindowSize StoredWindowSize(ProfileStore &store);

// True when the path names a file that can be opened for reading; one
// trailing backslash is ignored, so "C:\" is tested as "C:".
bool FileExists(FileProbe &files, std::wstring path);

// The folder part of a path, without a trailing backslash:
// C:\music\a.mp3 -> C:\music, C:\a.mp3 -> C:, D:a.wav -> D:, a.mp3 -> "".
std::wstring FolderOf(const std::wstring &path);

// What the file system shows of the settings folder and file, both held,
// just before a write. Every user may change what the folder holds, and so
// make the file, or the folder itself once emptied, a link to a place of
// their choosing, which the write would then change with this user's
// rights. A write goes only into the folder itself, held open so that nobody
// can rename or delete it meanwhile, and only into the file held in it, which
// is its one and only name.
struct WritePlace {
  bool folderHeld;           // the folder itself is open, no link followed
  bool folderIsLink;         // a reparse point: junction, symbolic link, mount point
  bool fileHeld;             // the file itself is open (or made) in the held folder
  bool fileIsLink;
  unsigned long fileNames;   // the file's hard links
};
bool MayWriteSettings(const WritePlace &place);
