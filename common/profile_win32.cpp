#include "profile_win32.h"

#include <windows.h>

#include "text_win32.h"

std::wstring Win32Profile::Read(const std::wstring &section, const std::wstring &key, const std::wstring &file) {
  // A value is cut to what fits the buffer with its terminating NUL.
  char buffer[kIniValueBytes] = {};
  GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), "", buffer, sizeof buffer,
                           ToAnsi(file).c_str());
  return FromAnsi(buffer);
}

void Win32Profile::Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
                         const std::wstring &file) {
  WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(value).c_str(),
                             ToAnsi(file).c_str());
}

bool Win32Files::CanOpenForReading(const std::wstring &path) {
  // Never creates the file; a folder cannot be opened this way, and so is no file.
  HANDLE h = CreateFileA(ToAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_SUCCESS);
    return false;
  }
  CloseHandle(h);
  return true;
}
