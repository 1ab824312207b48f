#include <gtest/gtest.h>

#include <cwchar>

#include "memory_profile.h"
#include "settings.h"

namespace {

const std::wstring kProgramFolder = L"C:\\Screensavers";
const std::wstring kMe = L"S-1-5-21-1-2-3-1001";
const std::wstring kOther = L"S-1-5-21-1-2-3-1002";

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
      {"text that is no number keeps them", L"abc", L"x", nullptr, false, 1, 9, L"", L"C:\\Screensavers"},
      {"fractions floor", L"2.9", L"-1.5", song.c_str(), true, 2, -2, song.c_str(), L"C:\\music"},
      {"beyond 16 bits keeps them", L"40000", L"-32769", nullptr, false, 1, 9, L"", L"C:\\Screensavers"},
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

    MemorySeal seal(kMe);
    // The user chose the file: it is sealed.
    if (c.file) StoreSeal(profile, seal, c.file);
    profile.writes.clear();
    // What a previous load left.
    MusicSettings music;
    music.BgmKind = 1;
    music.BgmRepeat = 9;
    LoadSettings(profile, files, seal, kProgramFolder, LoadFor::Run, music);
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
  MemorySeal seal(kMe);
  MusicSettings music;
  profile.Set(kKeyBgmFile, L"C:\\music\\song.mp3");
  LoadSettings(profile, files, seal, kProgramFolder, LoadFor::Run, music);
  // The path, then this user's seal of it.
  const std::vector<std::wstring> expected = {kKeyBgmKind, kKeyBgmRepeat, kKeyBgmFile, SealKeyOf(kMe)};
  EXPECT_EQ(profile.reads, expected);
  EXPECT_EQ(std::wstring(kKeyBgmKind), L"BGM\u533a\u5206");
}

// A path another user may have written opens only under this user's seal,
// whatever its form (which form each path has is FormOf's to tell). Per row:
// a run with no seal, mine, another's, both; the dialog with none and mine.
// 'o' opens it, 's' shows it stored and unsealed, '-' refuses it.
TEST(LoadSettings, OpensOnlyWhatThisUserMayOpen) {
  struct Row { const wchar_t *path; const char *run, *dialog; };
  const Row rows[] = {
      {L"c:/music/a.mp3", "-o-o", "so"},
      {L"C:a.mp3", "-o-o", "so"},
      {L"\\\\nas\\music\\a.mp3", "-o-o", "so"},
      {L"\\\\?\\UNC\\nas\\music\\a.mp3", "-o-o", "so"},
      {L"\\\\?\\C:\\music\\a.mp3", "-o-o", "so"},
      {L"\\\\.\\pipe\\brumalis-probe.mp3", "----", "--"},
      {L"C:\\music\\COM1.mp3", "----", "--"},
  };
  for (const Row &row : rows) {
    for (const LoadFor purpose : {LoadFor::Run, LoadFor::Dialog}) {
      const char *wants = purpose == LoadFor::Run ? row.run : row.dialog;
      for (int seals = 0; wants[seals]; ++seals) {  // 1: mine, 2: another user's
        const char want = wants[seals];
        SCOPED_TRACE(testing::Message() << std::string(row.path, row.path + wcslen(row.path))
                                        << (purpose == LoadFor::Run ? " run" : " dialog") << ", seals " << seals);
        MemoryProfile profile;
        MemoryFiles files;
        files.files.insert(row.path);
        MemorySeal me(kMe), other(kOther);
        profile.Set(kKeyBgmKind, L" 2");
        profile.Set(kKeyBgmFile, row.path);
        if (seals & 1) StoreSeal(profile, me, row.path);
        if (seals & 2) StoreSeal(profile, other, row.path);
        profile.writes.clear();
        profile.removes.clear();

        MusicSettings music;
        LoadSettings(profile, files, me, kProgramFolder, purpose, music);
        EXPECT_EQ(!files.asked.empty(), want == 'o');
        EXPECT_EQ(music.BgmFile, want == '-' ? L"" : row.path);
        EXPECT_EQ(music.BgmKind, want == '-' ? 0 : 2);
        EXPECT_EQ(music.BgmFileUnsealed, want == 's');
        EXPECT_EQ(music.BgmFolder, want == 'o' ? FolderOf(row.path) : kProgramFolder);
        EXPECT_TRUE(profile.writes.empty() && profile.removes.empty());
      }
    }
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
