#include "user_seal_win32.h"

#include <windows.h>
#include <wincrypt.h>
#include <sddl.h>

#include <vector>

namespace {

// Ties the seals to this program: another program's protected data of the
// same user does not open as a seal.
const char kEntropy[] = "Brumalis music path";

DATA_BLOB Blob(const void *data, std::size_t size) {
  return {static_cast<DWORD>(size), static_cast<BYTE *>(const_cast<void *>(data))};
}

}  // namespace

std::wstring Win32UserSeal::User() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  std::wstring user;
  wchar_t *text = nullptr;
  if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &text)) {
    user = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return user;
}

std::string Win32UserSeal::Seal(const std::wstring &path) {
  DATA_BLOB in = Blob(path.data(), path.size() * sizeof(wchar_t));
  DATA_BLOB entropy = Blob(kEntropy, sizeof kEntropy - 1);
  DATA_BLOB out = {};
  if (!CryptProtectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return {};
  std::string sealed(reinterpret_cast<const char *>(out.pbData), out.cbData);
  LocalFree(out.pbData);
  return sealed;
}

std::optional<std::wstring> Win32UserSeal::Open(const std::string &sealed) {
  // Data protected for the machine would open here too, whoever made it.
  if (!ProtectedInUserScope(sealed)) return std::nullopt;
  DATA_BLOB in = Blob(sealed.data(), sealed.size());
  DATA_BLOB entropy = Blob(kEntropy, sizeof kEntropy - 1);
  DATA_BLOB out = {};
  if (!CryptUnprotectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
    return std::nullopt;
  std::optional<std::wstring> path;
  if (out.cbData % sizeof(wchar_t) == 0)
    path = std::wstring(reinterpret_cast<const wchar_t *>(out.pbData), out.cbData / sizeof(wchar_t));
  LocalFree(out.pbData);
  return path;
}
