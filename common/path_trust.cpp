#include "path_trust.h"

#include <algorithm>

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

void StoreSeal(ProfileStore &store, UserSeal &seal, const std::wstring &path) {
  const std::wstring user = seal.User();
  if (user.empty() || path.empty()) return;
  const std::string sealed = seal.Seal(path);
  if (!sealed.empty()) WriteIni(store, kSection, SealKeyOf(user), ToBase64(sealed), kSettingsFile);
}

bool NeedsSeal(PathForm form) { return form == PathForm::Network || form == PathForm::Other; }

bool MayOpen(PathForm form, bool sealedForThisUser) {
  return form == PathForm::DriveRoot || (NeedsSeal(form) && sealedForThisUser);
}
