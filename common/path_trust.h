// Music paths read from the settings file, which every user of the machine
// may write, and this user's trust in them.
//
// A path from the root of a drive letter (C:\music\a.mp3) is used as it is:
// drive letters belong to the user's own logon session, so a network drive
// the user mapped stays the user's. Every other form may lead to another
// machine, which the first open would hand the user's credentials, or into
// a device: it is a file only when this user sealed it, which the settings
// dialog does for the path the user chose. A device (\\.\..., a pipe, a DOS
// device name such as COM1) is never music and never opened.
//
// A seal is the path protected with the platform's per-user protection, in
// the settings file under a key that names its user: each user's seal counts
// for that user alone, and two users never write the same key.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "settings_file.h"

enum class PathForm {
  DriveRoot,  // X:\... or X:/...
  Network,    // \\server\share\..., //server/share/..., \\?\UNC\..., \??\UNC\...
  Other,      // relative (a.mp3, \a.mp3, X:a.mp3) or a local path in the object namespace (\\?\C:\...)
  Device,     // never music
};
PathForm FormOf(const std::wstring &path);

// The platform's per-user protection: what one user seals only that user opens.
class UserSeal {
 public:
  virtual ~UserSeal() = default;
  // The user, by a name that stays theirs for good; empty when unknown.
  virtual std::wstring User() = 0;
  // The sealed path; empty when sealing failed.
  virtual std::string Seal(const std::wstring &path) = 0;
  // The path, when this user sealed it; nothing otherwise.
  virtual std::optional<std::wstring> Open(const std::string &sealed) = 0;
};

// The settings key that holds one user's seal.
std::wstring SealKeyOf(const std::wstring &user);
constexpr std::size_t kSealValueBytes = 4096;

// Whether the user's key holds a seal of exactly this path.
bool SealedForUser(ProfileStore &store, UserSeal &seal, const std::wstring &path);
// Seals the path for the user, in the user's key; nothing is written when
// the user is unknown or sealing fails.
void StoreSeal(ProfileStore &store, UserSeal &seal, const std::wstring &path);

// Whether a path of that form needs this user's seal before it is opened.
bool NeedsSeal(PathForm form);
// Whether a stored path may be opened: a drive root always, a device never,
// any other form only under this user's seal.
bool MayOpen(PathForm form, bool sealedForThisUser);
