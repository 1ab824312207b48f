// The settings file through the real profile functions, in the ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "path_trust.h"
#include "profile_win32.h"
#include "text_win32.h"
#include "user_seal_win32.h"

namespace {

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    // ctest runs each test in a process of its own, side by side: one file
    // per process, or one test reads what another has just written.
    path_ = std::string(dir) + "brumalis-profile-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
    DeleteFileA(path_.c_str());
    file_ = FromAnsi(path_);
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }

  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void SetBytes(const std::string &bytes) { std::ofstream(path_, std::ios::binary) << bytes; }

  std::string path_;
  std::wstring file_;
  Win32Profile profile_;
};

TEST_F(ProfileFile, JapaneseKeysAreStoredInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 932u) << "the tests run with code page 932";
  profile_.Write(kSection, kKeyBgmKind, L" 2", file_);
  profile_.Write(kSection, kKeyBgmRepeat, L" 12", file_);
  profile_.Write(kSection, kKeyBgmFile, L"C:\\\u97f3\u697d\\a.mp3", file_);  // C:\音楽\a.mp3
  const std::string bytes = Bytes();
  EXPECT_NE(bytes.find("BGM\x8b\xe6\x95\xaa="), std::string::npos);
  EXPECT_NE(bytes.find("BGM\xd8\xcb\xdf\xb0\xc4="), std::string::npos);
  EXPECT_NE(bytes.find("BGM\xcc\xa7\xb2\xd9=C:\\\x89\xb9\x8a\x79\\a.mp3"), std::string::npos);
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmFile, file_), L"C:\\\u97f3\u697d\\a.mp3");
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmRepeat, file_), L"12");
}

TEST_F(ProfileFile, MissingKeysSectionsAndFilesReadEmpty) {
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmKind, file_), L"");
  SetBytes("[Other]\r\nBGM\x8b\xe6\x95\xaa=1\r\n");
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmKind, file_), L"");
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmKind, L"C:\\no such folder\\x.ini"), L"");
}

TEST_F(ProfileFile, LongValuesAreCutTo255Bytes) {
  SetBytes("[Section]\r\nBGM\xcc\xa7\xb2\xd9=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyBgmFile, file_), std::wstring(255, L'x'));
}

TEST_F(ProfileFile, FileTestOpensOnlyFilesForReading) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SetBytes(std::string("[Section]\r\nBGM\x8b\xe6\x95\xaa= 2\r\nBGM\xd8\xcb\xdf\xb0\xc4= 4\r\n") +
           "BGM\xcc\xa7\xb2\xd9=" + self + "\r\n");
  Win32Files files;
  EXPECT_TRUE(FileExists(files, ReadIni(profile_, kSection, kKeyBgmFile, file_)));
  EXPECT_TRUE(FileExists(files, FromAnsi(self) + L"\\"));
  EXPECT_FALSE(FileExists(files, L"C:\\"));
  EXPECT_FALSE(FileExists(files, L"C:\\windows"));
  EXPECT_FALSE(FileExists(files, L"C:\\no such file.mp3"));
  EXPECT_FALSE(FileExists(files, L""));
  DeleteFileA(path_.c_str());
  EXPECT_FALSE(FileExists(files, file_));
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "the test created the file";
}

TEST_F(ProfileFile, NoWriteThroughAFileWithASecondName) {
  // Another user may delete the file and leave in its place a second name
  // of a file of this user's; writing there would change that file.
  const std::string other = path_ + ".other";
  SetBytes("[Section]\r\nWidth= 640\r\n");
  ASSERT_TRUE(CreateHardLinkA(other.c_str(), path_.c_str(), nullptr));
  profile_.Write(kSection, kKeyWidth, L" 1024", file_);
  EXPECT_EQ(Bytes(), "[Section]\r\nWidth= 640\r\n");
  DeleteFileA(other.c_str());
  profile_.Write(kSection, kKeyWidth, L" 1024", file_);
  EXPECT_EQ(ReadIni(profile_, kSection, kKeyWidth, file_), L"1024");
}

// The portable reading of a number gives what the platform's own reader
// gives for the same line of the file.
TEST_F(ProfileFile, NumbersReadAsThePlatformsProfileReaderReadsThem) {
  const char *values[] = {
      "1024", " 1024", "1024 ", "\t640", "0", "", "   ", "0001024", "12ab", "800.9", "abc", "6 40", "+480",
      "-5", "-", "- 5", "0x400", "0x1F", "0X400", "0o17", "0b101", "0b1021", "0x", "0z", "-0x10",
      "4294967295", "4294967296", "99999999999", "000000000000000000000000001024", "\"640\"",
      "\x82\x50\x82\x51",  // full-width 1 and 2 in code page 932
      "1\x82\x50", "\xb1" "5", "\x81\x40" "5",
  };
  for (const char *value : values) {
    SetBytes(std::string("[Section]\r\nWidth=") + value + "\r\nHeight=1\r\n");
    const UINT platform = GetPrivateProfileIntA("Section", "Width", 77, path_.c_str());
    EXPECT_EQ(ProfileIntOf(profile_.Read(kSection, kKeyWidth, file_, kProfileIntBytes), 77), platform)
        << "[" << value << "]";
    // The renderer's way: the narrow text, read into a buffer of the same size.
    char text[kProfileIntBytes] = "";
    GetPrivateProfileStringA("Section", "Width", "", text, sizeof text, path_.c_str());
    EXPECT_EQ(ProfileIntOf(text, 77), platform) << "[" << value << "], narrow";
  }
  SetBytes("[Section]\r\nHeight=1\r\n");
  EXPECT_EQ(ProfileIntOf(profile_.Read(kSection, kKeyWidth, file_, kProfileIntBytes), 77), 77u) << "a missing key";
  EXPECT_EQ(GetPrivateProfileIntA("Section", "Width", 77, path_.c_str()), 77u) << "a missing key";
}

TEST(UserSeal, OpensOnlyWhatThisProgramSealedForThisUser) {
  Win32UserSeal seal;
  EXPECT_EQ(seal.User().rfind(L"S-1-5-", 0), 0u) << "no security identifier";
  const std::wstring path = L"\\\\nas\\\u97f3\u697d\\a.mp3";  // \\nas\音楽\a.mp3
  const std::string sealed = seal.Seal(path);
  ASSERT_FALSE(sealed.empty());
  EXPECT_EQ(seal.Open(sealed), path);
  // The same user's protected data of another program is no seal.
  DATA_BLOB in = {static_cast<DWORD>(path.size() * 2), reinterpret_cast<BYTE *>(const_cast<wchar_t *>(path.data()))};
  DATA_BLOB out = {};
  ASSERT_TRUE(CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out));
  EXPECT_FALSE(seal.Open(std::string(reinterpret_cast<const char *>(out.pbData), out.cbData)));
  LocalFree(out.pbData);
  EXPECT_FALSE(seal.Open(""));
  EXPECT_FALSE(seal.Open("not a seal"));
}

// Data protected for the whole machine, with this program's entropy, is
// what any other user can make: no seal. Windows records that scope in the
// bytes; Wine records none (and opens everything for everyone), so there
// the bytes only show that the platform's user-scope data reads as such.
TEST(UserSeal, DataProtectedForTheMachineIsNoSeal) {
  Win32UserSeal seal;
  const std::wstring path = L"\\\\attacker\\share\\a.mp3";
  EXPECT_TRUE(ProtectedInUserScope(seal.Seal(path))) << "the platform lays its data out otherwise";
  const char entropyText[] = "Brumalis music path";
  DATA_BLOB in = {static_cast<DWORD>(path.size() * 2), reinterpret_cast<BYTE *>(const_cast<wchar_t *>(path.data()))};
  DATA_BLOB entropy = {sizeof entropyText - 1, reinterpret_cast<BYTE *>(const_cast<char *>(entropyText))};
  DATA_BLOB out = {};
  ASSERT_TRUE(CryptProtectData(&in, nullptr, &entropy, nullptr, nullptr,
                               CRYPTPROTECT_UI_FORBIDDEN | CRYPTPROTECT_LOCAL_MACHINE, &out));
  const std::string machine(reinterpret_cast<const char *>(out.pbData), out.cbData);
  LocalFree(out.pbData);
  if (ProtectedInUserScope(machine)) {
    std::printf("this platform records no scope in protected data\n");
  } else {
    EXPECT_FALSE(seal.Open(machine));
  }
}

TEST_F(ProfileFile, ASealInTheSettingsFileVouchesForItsPathAlone) {
  // The seal is stored in the settings file itself, which this store stands for.
  struct TempProfile : Win32Profile {
    std::wstring file;
    std::wstring Read(const std::wstring &s, const std::wstring &k, const std::wstring &, std::size_t n) override {
      return Win32Profile::Read(s, k, file, n);
    }
    void Write(const std::wstring &s, const std::wstring &k, const std::wstring &v, const std::wstring &) override {
      Win32Profile::Write(s, k, v, file);
    }
    void Remove(const std::wstring &s, const std::wstring &k, const std::wstring &) override {
      Win32Profile::Remove(s, k, file);
    }
  } profile;
  profile.file = file_;
  Win32UserSeal seal;
  const std::wstring path = L"\\\\nas\\music\\" + std::wstring(120, L'a') + L".mp3";
  EXPECT_FALSE(SealedForUser(profile, seal, path));
  StoreSeal(profile, seal, path);
  EXPECT_GT(profile.Read(kSection, SealKeyOf(seal.User()), L"", kSealValueBytes).size(), kIniValueBytes);
  EXPECT_TRUE(SealedForUser(profile, seal, path));
  EXPECT_FALSE(SealedForUser(profile, seal, L"\\\\nas\\music\\b.mp3"));
  // No path, no seal: the key goes from the file.
  StoreSeal(profile, seal, L"");
  EXPECT_FALSE(SealedForUser(profile, seal, path));
  char line[64] = {};
  EXPECT_EQ(GetPrivateProfileStringA(kSectionAnsi, nullptr, "", line, sizeof line, path_.c_str()), 0u)
      << "a key is left: " << line;
}

}  // namespace
