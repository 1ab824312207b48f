#include "profile_win32.h"

#include <windows.h>

#include <vector>

#include "text_win32.h"

std::wstring Win32Profile::Read(const std::wstring &section, const std::wstring &key, const std::wstring &file,
                                std::size_t capacity) {
  std::vector<char> buffer(capacity, '\0');
  GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), "", buffer.data(),
                           static_cast<DWORD>(buffer.size()), ToAnsi(file).c_str());
  buffer.back() = '\0';
  return FromAnsi(buffer.data());
}

namespace {

// Whether the name is a reparse point. Wine shows a directory that is a
// symbolic link on the host this way, while a handle to it says nothing.
bool NamesLink(const std::wstring &path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The item itself, a reparse point not followed.
HANDLE OpenItself(const std::wstring &path, DWORD access, DWORD share) {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsLink(HANDLE item, const std::wstring &path, unsigned long *names = nullptr) {
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = GetFileInformationByHandle(item, &info);
  if (names) *names = known ? info.nNumberOfLinks : 1;
  return (known && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) || NamesLink(path);
}

}  // namespace

namespace {

// Writes the value, or removes the key when there is none.
void WriteChecked(const std::wstring &section, const std::wstring &key, const std::wstring *value,
                  const std::wstring &file) {
  // The folder is held with read access and without delete sharing: only
  // then does the share check refuse the delete access that renaming or
  // removing the folder asks for.
  const std::wstring folder = FolderOf(file);
  const HANDLE held = OpenItself(folder, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  WritePlace place = {};
  place.folderHeld = held != INVALID_HANDLE_VALUE;
  if (place.folderHeld) {
    place.folderIsLink = IsLink(held, folder);
    const HANDLE existing = OpenItself(file, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (existing != INVALID_HANDLE_VALUE) {
      place.fileIsLink = IsLink(existing, file, &place.fileNames);
      CloseHandle(existing);
    }
  }
  if (MayWriteSettings(place)) {
    WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                               value ? ToAnsi(*value).c_str() : nullptr, ToAnsi(file).c_str());
  }
  if (place.folderHeld) CloseHandle(held);
}

}  // namespace

void Win32Profile::Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
                         const std::wstring &file) {
  WriteChecked(section, key, &value, file);
}

void Win32Profile::Remove(const std::wstring &section, const std::wstring &key, const std::wstring &file) {
  WriteChecked(section, key, nullptr, file);
}

bool Win32Files::CanOpenForReading(const std::wstring &path) {
  // Never creates the file; a folder cannot be opened this way, and so is no
  // file. Should the path lead to a pipe, its server may only identify this
  // user, never act as them.
  HANDLE h = CreateFileA(ToAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_SUCCESS);
    return false;
  }
  CloseHandle(h);
  return true;
}
