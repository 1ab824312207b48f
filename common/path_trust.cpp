#include "path_trust.h"

#include <algorithm>
#include <cstdint>

#include "ascii.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// A name as Windows matches it: trailing dots and blanks dropped, ASCII
// letters in either case.
std::wstring Bare(std::wstring name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return UpperAscii(name);
}

// The names Windows keeps for devices in every folder, with any extension:
// C:\music\COM1.mp3 opens the serial port.
bool IsDosDeviceName(const std::wstring &name) {
  const std::wstring bare = Bare(name.substr(0, name.find_first_of(L".:")));
  for (const wchar_t *device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (bare == device) return true;
  if (bare.size() != 4 || (bare.compare(0, 3, L"COM") != 0 && bare.compare(0, 3, L"LPT") != 0)) return false;
  const wchar_t n = bare[3];
  return (n >= L'0' && n <= L'9') || n == L'\u00b9' || n == L'\u00b2' || n == L'\u00b3';
}

bool EndsInDosDeviceName(const std::wstring &path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  std::size_t start = separator == std::wstring::npos ? 0 : separator + 1;
  if (start == 0 && path.size() >= 2 && path[1] == L':') start = 2;
  return IsDosDeviceName(path.substr(start));
}

// \\server\share\...: a pipe, a mailslot or the share that serves them is a
// device on that machine; so is a server that names this machine's devices.
PathForm UncForm(const std::wstring &afterSlashes) {
  std::size_t end = 0;
  while (end < afterSlashes.size() && !IsSeparator(afterSlashes[end])) ++end;
  const std::wstring server = afterSlashes.substr(0, end);
  if (Bare(server).empty() || server == L"?") return PathForm::Device;
  std::size_t shareEnd = end + 1;
  while (shareEnd < afterSlashes.size() && !IsSeparator(afterSlashes[shareEnd])) ++shareEnd;
  const std::wstring share = end < afterSlashes.size() ? Bare(afterSlashes.substr(end + 1, shareEnd - end - 1)) : L"";
  if (share == L"PIPE" || share == L"MAILSLOT" || share == L"IPC$") return PathForm::Device;
  return PathForm::Network;
}

// What follows \\?\ or \??\: the object namespace, taken as written. A drive
// root or UNC\ are files; anything else there (GLOBALROOT, pipe, a volume, a
// disk) is a device.
PathForm NamespaceForm(const std::wstring &rest) {
  if (rest.size() >= 3 && IsDriveLetter(rest[0]) && rest[1] == L':' && rest[2] == L'\\') return PathForm::Other;
  if (UpperAscii(rest.substr(0, 4)) == L"UNC\\") return UncForm(rest.substr(4));
  return PathForm::Device;
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::wstring ToBase64(const std::string &bytes) {
  std::wstring text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    unsigned long group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= n ? static_cast<wchar_t>(kBase64[(group >> (18 - 6 * k)) & 63]) : L'=';
  }
  return text;
}

// Padded base64 only; anything else is no seal.
std::optional<std::string> FromBase64(const std::wstring &text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    unsigned long group = 0;
    int padding = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const wchar_t c = text[i + k];
      int value = -1;
      if (c == L'=' && i + 4 == text.size() && k >= 2) {
        value = 0;
        ++padding;
      } else if (padding == 0 && c < 128) {
        for (int v = 0; v < 64; ++v)
          if (kBase64[v] == c) value = v;
      }
      if (value < 0) return std::nullopt;
      group = group << 6 | static_cast<unsigned long>(value);
    }
    for (int k = 0; k < 3 - padding; ++k) bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
  }
  return bytes;
}

}  // namespace

PathForm FormOf(const std::wstring &path) {
  if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\??\\") == 0) return NamespaceForm(path.substr(4));
  PathForm form = PathForm::Other;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\.\ and its spellings (//./, //?/) reach devices by name.
    if (path.size() >= 3 && (path[2] == L'.' || path[2] == L'?') && (path.size() == 3 || IsSeparator(path[3])))
      return PathForm::Device;
    form = UncForm(path.substr(2));
  } else if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
    form = PathForm::DriveRoot;
  }
  return EndsInDosDeviceName(path) ? PathForm::Device : form;
}

std::wstring SealKeyOf(const std::wstring &user) { return kKeyBgmSealPrefix + user; }

bool SealedForUser(ProfileStore &store, UserSeal &seal, const std::wstring &path) {
  const std::wstring user = seal.User();
  if (user.empty() || path.empty()) return false;
  const auto sealed = FromBase64(store.Read(kSection, SealKeyOf(user), kSettingsFile, kSealValueBytes));
  if (!sealed || sealed->empty()) return false;
  const auto opened = seal.Open(*sealed);
  return opened && *opened == path;
}

std::wstring SealText(UserSeal &seal, const std::wstring &path) { return ToBase64(seal.Seal(path)); }

void StoreSeal(ProfileStore &store, UserSeal &seal, const std::wstring &path) {
  const std::wstring user = seal.User();
  if (user.empty()) return;
  const std::wstring sealed = path.empty() || !NeedsSeal(FormOf(path)) ? std::wstring() : SealText(seal, path);
  if (sealed.empty()) {
    store.Remove(kSection, SealKeyOf(user), kSettingsFile);
  } else {
    WriteIni(store, kSection, SealKeyOf(user), sealed, kSettingsFile);
  }
}

bool NeedsSeal(PathForm form) { return form != PathForm::Device; }

bool MayOpen(PathForm form, bool sealedForThisUser) { return NeedsSeal(form) && sealedForThisUser; }

namespace {

// The bytes the platform's protection returns, field by field, little-endian:
// a version, the provider's and the master key's identifiers, the flags, then
// the description, algorithms, salt, keys, data and signature, each variable
// part after its length in bytes.
class ProtectedBytes {
 public:
  explicit ProtectedBytes(const std::string &bytes) : bytes_(bytes) {}
  bool Dword(std::uint32_t &value) {
    if (bytes_.size() - at_ < 4) return false;
    value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<unsigned char>(bytes_[at_ + k]);
    at_ += 4;
    return true;
  }
  bool Skip(std::size_t count) {
    if (bytes_.size() - at_ < count) return false;
    at_ += count;
    return true;
  }
  bool Counted() {
    std::uint32_t count = 0;
    return Dword(count) && Skip(count);
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::string &bytes_;
  std::size_t at_ = 0;
};

constexpr std::uint32_t kProtectedVersion = 1;
constexpr std::uint32_t kProtectLocalMachine = 0x4;  // CRYPTPROTECT_LOCAL_MACHINE
constexpr std::uint32_t kProtectSystem = 0x20000000;  // CRYPTPROTECT_SYSTEM: for the system's own processes
constexpr std::size_t kIdentifierBytes = 16;

}  // namespace

bool ProtectedInUserScope(const std::string &protectedBytes) {
  ProtectedBytes in(protectedBytes);
  std::uint32_t version = 0, masterKeyVersion = 0, flags = 0, algorithm = 0, keyBits = 0;
  if (!in.Dword(version) || version != kProtectedVersion) return false;
  if (!in.Skip(kIdentifierBytes) || !in.Dword(masterKeyVersion) || !in.Skip(kIdentifierBytes)) return false;
  if (!in.Dword(flags) || (flags & (kProtectLocalMachine | kProtectSystem)) != 0) return false;
  return in.Counted() &&                                       // description
         in.Dword(algorithm) && in.Dword(keyBits) &&           // cipher
         in.Counted() && in.Counted() &&                       // salt, key for the signature
         in.Dword(algorithm) && in.Dword(keyBits) &&           // hash
         in.Counted() && in.Counted() && in.Counted() &&       // second key, data, signature
         in.AtEnd();
}
