#include "profile_win32.h"

#include <windows.h>
#include <winternl.h>

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

// The file of that name in the held folder itself, made empty where it is
// not there yet if asked to; no link followed, shared for reading and
// writing but not for deleting. Invalid where it cannot be opened or made
// (not there, a folder of that name, no rights).
HANDLE OpenInFolder(HANDLE folder, const std::wstring &name, bool make) {
  if (name.empty() || name.size() * sizeof(wchar_t) > 0xFFFE) return INVALID_HANDLE_VALUE;
  UNICODE_STRING objectName;
  objectName.Buffer = const_cast<wchar_t *>(name.c_str());
  objectName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  objectName.MaximumLength = objectName.Length;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK status = {};
  HANDLE item = INVALID_HANDLE_VALUE;
  const NTSTATUS result =
      NtCreateFile(&item, FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL,
                   FILE_SHARE_READ | FILE_SHARE_WRITE, make ? FILE_OPEN_IF : FILE_OPEN,
                   FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  return result >= 0 ? item : INVALID_HANDLE_VALUE;
}

// The name of the file within `folder`, which its path begins with.
std::wstring LeafOf(const std::wstring &file, const std::wstring &folder) {
  if (file.size() <= folder.size() + 1 || file.compare(0, folder.size(), folder) != 0 ||
      file[folder.size()] != L'\\')
    return std::wstring();
  return file.substr(folder.size() + 1);
}

// Writes the value, or removes the key when there is none.
void WriteChecked(const std::wstring &section, const std::wstring &key, const std::wstring *value,
                  const std::wstring &file) {
  // What is checked is held until the write has landed, in this order:
  //  1. the folder itself, no link followed, without delete sharing: nobody
  //     can rename or remove it meanwhile (both ask for delete access, which
  //     the share check refuses to anyone);
  //  2. the file, opened (or, for a value, made empty) through that very
  //     folder handle, not by its path, so it is in the folder held whatever
  //     the path has come to name; no link followed, and again without
  //     delete sharing, so its name cannot be removed, renamed or given to
  //     another file;
  //  3. only then are both looked at: neither a link, the file its one name.
  // Sharing does not refuse the rights that set a link on the folder, but a
  // folder that holds a file cannot become a link, and this file cannot go:
  // the path the profile function then writes by leads to the file held.
  const std::wstring folder = FolderOf(file);
  const HANDLE heldFolder = OpenItself(folder, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  WritePlace place = {};
  place.folderHeld = heldFolder != INVALID_HANDLE_VALUE;
  HANDLE heldFile = INVALID_HANDLE_VALUE;
  if (place.folderHeld) {
    heldFile = OpenInFolder(heldFolder, LeafOf(file, folder), value != nullptr);
    place.fileHeld = heldFile != INVALID_HANDLE_VALUE;
    place.folderIsLink = IsLink(heldFolder, folder);
    if (place.fileHeld) place.fileIsLink = IsLink(heldFile, file, &place.fileNames);
  }
  if (MayWriteSettings(place)) {
    WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                               value ? ToAnsi(*value).c_str() : nullptr, ToAnsi(file).c_str());
  }
  if (place.fileHeld) CloseHandle(heldFile);
  if (place.folderHeld) CloseHandle(heldFolder);
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
  // user, never act as them. The wide path is the exact one: the program's
  // own folder may hold characters the code page lacks.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_SUCCESS);
    return false;
  }
  CloseHandle(h);
  return true;
}
