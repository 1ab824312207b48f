#include <gtest/gtest.h>

#include "memory_profile.h"
#include "settings_file.h"

namespace {

TEST(FileExists, DropsOneTrailingBackslashAndNeverAsksForNothing) {
  MemoryFiles files;
  files.files = {L"C:\\music\\a.mp3", L"C:"};
  EXPECT_TRUE(FileExists(files, L"C:\\music\\a.mp3"));
  EXPECT_TRUE(FileExists(files, L"C:\\music\\a.mp3\\"));
  EXPECT_FALSE(FileExists(files, L"C:\\music\\a.mp3\\\\"));
  EXPECT_FALSE(FileExists(files, L"C:\\music\\b.mp3"));
  files.asked.clear();
  EXPECT_FALSE(FileExists(files, L""));
  EXPECT_FALSE(FileExists(files, L"\\"));
  EXPECT_TRUE(files.asked.empty());
}

TEST(FolderOf, TakesEverythingUpToTheLastColonOrBackslash) {
  struct Case { const wchar_t *path, *folder; };
  const Case cases[] = {
      {L"C:\\music\\a.mp3", L"C:\\music"},
      {L"C:\\a.mp3", L"C:"},
      {L"D:a.wav", L"D:"},
      {L"a.mp3", L""},
      {L"", L""},
      {L"C:\\music\\", L"C:\\music"},
      {L"\\\\server\\share\\x.wav", L"\\\\server\\share"},
      {L"C:\\\u30bd\u30d5\u30c8\\\u8868.mp3", L"C:\\\u30bd\u30d5\u30c8"},  // ソフト\表.mp3
  };
  for (const Case &c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
}

TEST(MayWriteSettings, OnlyIntoTheHeldFolderItselfAndAFileOfOneName) {
  struct Case {
    const char *name;
    WritePlace place;
    bool writes;
  };
  const Case cases[] = {
      {"a folder and file of their own", {true, false, true, false, 1}, true},
      {"the folder could not be held", {false, false, true, false, 1}, false},
      {"the folder is a junction", {true, true, true, false, 1}, false},
      // A file of that name that is a folder, or one this user may not open.
      {"the file could not be held", {true, false, false, false, 1}, false},
      {"the file is a symbolic link", {true, false, true, true, 1}, false},
      {"the file is a second name of another", {true, false, true, false, 2}, false},
      // What a file system that counts no names says.
      {"a file of no names", {true, false, true, false, 0}, false},
  };
  for (const Case &c : cases) EXPECT_EQ(MayWriteSettings(c.place), c.writes) << c.name;
}

}  // namespace
