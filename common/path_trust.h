// Music paths read from the settings file, which every user of the machine
// may write, and this user's trust in them.
//
// No form of a path proves whose file it names: every user may write files
// and make folders under C:\, and may turn such a folder into a junction
// into the object manager, where a link leads on to another machine (which
// the first open would hand this user's credentials) or to a pipe. So a
// path is opened only when this user sealed it, which the settings dialog
// does for the file the user chose or answered for. A device (\\.\..., a
// pipe, a DOS device name such as COM1) is never music and never opened.
//
// A seal is the path protected with the platform's per-user protection, in
// the settings file under a key that names its user: each user's seal counts
// for that user alone, and two users never write the same key. The key holds
// the seal of the stored path and nothing else, so that a seal never outlives
// its path.
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
// Makes the user's key hold the seal of the path and nothing else: the key
// is removed when the path is empty or a device, and when sealing fails.
// Nothing is touched when the user is unknown.
void StoreSeal(ProfileStore &store, UserSeal &seal, const std::wstring &path);
// The text a seal is kept as in the user's key; empty when sealing fails.
std::wstring SealText(UserSeal &seal, const std::wstring &path);

// Whether a path of that form needs this user's seal before it is opened:
// every form but a device, which is never opened.
bool NeedsSeal(PathForm form);
// Whether a stored path may be opened: only under this user's seal, and a
// device never.
bool MayOpen(PathForm form, bool sealedForThisUser);

// Whether data protected by the platform's protection calls was protected
// in a user's own scope, read from the bytes it returned. Protection for
// the whole machine opens in every user's process, so any user can make
// data that opens for this one; the platform records that scope in the
// data's flags. Bytes that are not laid out as the platform lays them out
// (cut short, another version, left over at the end, empty) are no one's.
bool ProtectedInUserScope(const std::string &protectedBytes);
