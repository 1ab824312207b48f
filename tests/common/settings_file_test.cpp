#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

TEST(ProfileIntOf, ReadsLeadingDigitsAsTheProfileReaderDoes) {
  struct Case {
    const char *name;
    const wchar_t *value;
    std::uint32_t number;
  };
  const Case cases[] = {
      {"empty, as a missing key reads", L"", 77},
      {"blanks only", L" \t ", 77},
      {"plain", L"1024", 1024},
      {"a blank before it", L" 1024", 1024},
      {"a tab before it", L"\t640", 640},
      {"zero", L"0", 0},
      {"leading zeros", L"0001024", 1024},
      {"digits then text", L"12ab", 12},
      {"digits then a point", L"800.9", 800},
      {"text first", L"abc", 0},
      {"a blank inside the digits", L"6 40", 6},
      {"plus", L"+480", 480},
      {"minus", L"-5", 4294967291u},
      {"a sign alone", L"-", 0},
      {"a sign then a blank", L"- 5", 0},
      {"hexadecimal", L"0x400", 1024},
      {"hexadecimal, upper-case digits", L"0x1F", 31},
      {"upper-case X is no prefix", L"0X400", 0},
      {"octal", L"0o17", 15},
      {"binary", L"0b101", 5},
      {"binary stops at a 2", L"0b1021", 2},
      {"a prefix without digits", L"0x", 0},
      {"a zero alone before a letter", L"0z", 0},
      {"negative hexadecimal", L"-0x10", 4294967280u},
      {"the largest", L"4294967295", 4294967295u},
      {"one past it wraps", L"4294967296", 0},
      {"far past it wraps", L"99999999999", 1215752191},
      // Only the first 29 characters are read: 26 zeros and then "1024".
      {"cut after 29 characters", L"000000000000000000000000001024", 102},
      {"full-width digits are no digits", L"\uff11\uff12", 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ProfileIntOf(std::wstring_view(c.value), 77), c.number) << c.name;
    // The same text in single bytes, as the renderer reads it.
    const std::wstring wide = c.value;
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t ch) { return ch < 0x80; })) {
      EXPECT_EQ(ProfileIntOf(std::string(wide.begin(), wide.end()), 77), c.number) << c.name << ", narrow";
    }
  }
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
