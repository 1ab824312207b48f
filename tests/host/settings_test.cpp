#include <gtest/gtest.h>

#include "memory_profile.h"
#include "settings.h"

namespace {

const std::wstring kProgramFolder = L"C:\\Screensavers";

struct LoadCase {
  const char *name;
  const wchar_t *kind;    // nullptr: key missing
  const wchar_t *repeat;
  const wchar_t *file;
  bool fileThere;
  std::int16_t wantKind, wantRepeat;
  const wchar_t *wantFile, *wantFolder;
};

TEST(LoadSettings, FollowsTheFallBackRules) {
  const std::wstring song = L"C:\\music\\song.mp3";
  const LoadCase cases[] = {
      {"no file at all", nullptr, nullptr, nullptr, false, 0, 0, L"", L"C:\\Screensavers"},
      {"music file present", L" 2", L" 0", song.c_str(), true, 2, 0, song.c_str(), L"C:\\music"},
      {"music file gone", L" 2", L" 0", song.c_str(), false, 0, 0, L"", L"C:\\Screensavers"},
      {"music file key empty", L" 2", L" 3", L"", false, 0, 3, L"", L"C:\\Screensavers"},
      {"cd keeps its kind when the file is gone", L" 1", L" 5", song.c_str(), false, 1, 5, L"",
       L"C:\\Screensavers"},
      {"cd with a file present", L" 1", L" 12", song.c_str(), true, 1, 12, song.c_str(), L"C:\\music"},
      {"kind abc stays 0", L"abc", L"x", nullptr, false, 0, 0, L"", L"C:\\Screensavers"},
      {"fractions floor", L"2.9", L"-1.5", song.c_str(), true, 2, -2, song.c_str(), L"C:\\music"},
      {"beyond 16 bits stays", L"40000", L"-32769", nullptr, false, 0, 0, L"", L"C:\\Screensavers"},
      {"16-bit edges", L"32767", L"-32768", nullptr, false, 32767, -32768, L"", L"C:\\Screensavers"},
      {"empty kind is none", L"", L"", song.c_str(), true, 0, 0, song.c_str(), L"C:\\music"},
      {"root is tested as C:, a folder", L" 2", L" 0", L"C:\\", false, 0, 0, L"", L"C:\\Screensavers"},
      {"file in a drive root", L" 2", L" 0", L"D:\\a.wav", true, 2, 0, L"D:\\a.wav", L"D:"},
      {"out of range kind kept as read", L" 7", L" 0", nullptr, false, 7, 0, L"", L"C:\\Screensavers"},
  };
  for (const LoadCase &c : cases) {
    SCOPED_TRACE(c.name);
    MemoryProfile profile;
    MemoryFiles files;
    if (c.kind) profile.Set(kKeyBgmKind, c.kind);
    if (c.repeat) profile.Set(kKeyBgmRepeat, c.repeat);
    if (c.file) profile.Set(kKeyBgmFile, c.file);
    if (c.file && c.fileThere) files.files.insert(c.file);

    MusicSettings music;
    LoadSettings(profile, files, kProgramFolder, music);
    EXPECT_EQ(music.BgmKind, c.wantKind);
    EXPECT_EQ(music.BgmRepeat, c.wantRepeat);
    EXPECT_EQ(music.BgmFile, c.wantFile);
    EXPECT_EQ(music.BgmFolder, c.wantFolder);
    EXPECT_TRUE(profile.writes.empty()) << "loading never writes";
  }
}

TEST(LoadSettings, ReadsTheThreeMusicKeysInOrder) {
  MemoryProfile profile;
  MemoryFiles files;
  MusicSettings music;
  LoadSettings(profile, files, kProgramFolder, music);
  const std::vector<std::wstring> expected = {kKeyBgmKind, kKeyBgmRepeat, kKeyBgmFile};
  EXPECT_EQ(profile.reads, expected);
  EXPECT_EQ(std::wstring(kKeyBgmKind), L"BGM\u533a\u5206");
}

TEST(LoadSettings, StartsFromTheValuesItIsHanded) {
  struct Case {
    const char *name;
    const wchar_t *kind, *repeat;  // nullptr: key missing
    std::int16_t wantKind, wantRepeat;
  };
  const Case cases[] = {
      {"bad text keeps them", L"1,5", L"\x01\x02garbage", 1, 9},
      {"empty text is 0", L"", L"", 0, 0},
      {"a missing key reads as empty", nullptr, nullptr, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    MemoryProfile profile;
    MemoryFiles files;
    MusicSettings music;
    music.BgmKind = 1;
    music.BgmRepeat = 9;
    if (c.kind) profile.Set(kKeyBgmKind, c.kind);
    if (c.repeat) profile.Set(kKeyBgmRepeat, c.repeat);
    LoadSettings(profile, files, kProgramFolder, music);
    EXPECT_EQ(music.BgmKind, c.wantKind);
    EXPECT_EQ(music.BgmRepeat, c.wantRepeat);
  }
}

TEST(WriteScreenSize, WritesWidthThenHeightWithALeadingBlank) {
  MemoryProfile profile;
  WriteScreenSize(profile, 1024, 768);
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {{L"Width", L" 1024"},
                                                                       {L"Height", L" 768"}};
  EXPECT_EQ(profile.writes, expected);
}

}  // namespace
