#include <gtest/gtest.h>

#include "memory_profile.h"
#include "path_trust.h"
#include "shared_names.h"

namespace {

TEST(FormOf, TellsTheUsersOwnDrivesFromWhatLeadsElsewhere) {
  using F = PathForm;
  struct Case {
    const wchar_t *path;
    PathForm form;
  };
  const Case cases[] = {
      {L"C:\\music\\a.mp3", F::DriveRoot},
      {L"z:/music/a.mp3", F::DriveRoot},
      {L"C:\\", F::DriveRoot},
      {L"C:a.wav", F::Other},  // the drive's current folder
      {L"C:", F::Other},
      {L"1:\\a.mp3", F::Other},
      {L"a.mp3", F::Other},
      {L"\\music\\a.mp3", F::Other},  // the current drive's root
      {L"", F::Other},
      {L"\\\\host\\share\\x.mp3", F::Network},
      {L"//host/share/x.mp3", F::Network},
      {L"\\/host\\share\\x.mp3", F::Network},
      {L"\\\\host@8080\\share\\x.mp3", F::Network},
      {L"\\\\host@SSL\\DavWWWRoot\\x.mp3", F::Network},
      {L"\\\\host", F::Network},
      {L"\\\\?\\UNC\\host\\share\\x.mp3", F::Network},
      {L"\\??\\unc\\host\\share\\x.mp3", F::Network},
      {L"\\\\?\\C:\\music\\a.mp3", F::Other},
      {L"\\??\\C:\\music\\a.mp3", F::Other},
      {L"\\\\?\\C:\\music\\nul", F::Other},  // taken as written there: a file called nul
      {L"\\\\.\\pipe\\brumalis-probe.mp3", F::Device},
      {L"//./pipe/x.mp3", F::Device},
      {L"//?/C:/music/a.mp3", F::Device},
      {L"\\\\.\\C:\\music\\a.mp3", F::Device},
      {L"\\\\.", F::Device},
      {L"\\\\?\\GLOBALROOT\\Device\\NamedPipe\\x.mp3", F::Device},
      {L"\\??\\GLOBALROOT\\Device\\Mup\\host\\share\\x.mp3", F::Device},
      {L"\\\\?\\pipe\\x.mp3", F::Device},
      {L"\\\\?\\C:", F::Device},  // the volume itself
      {L"\\\\?\\Volume{0b1c5d2e-0000-0000-0000-100000000000}\\a.mp3", F::Device},
      {L"\\\\host\\pipe\\x.mp3", F::Device},
      {L"\\\\host\\PIPE.\\x.mp3", F::Device},
      {L"//localhost/mailslot/x.mp3", F::Device},
      {L"\\\\host\\IPC$\\x.mp3", F::Device},
      {L"\\\\?\\UNC\\host\\pipe\\x.mp3", F::Device},
      {L"\\\\?\\UNC\\.\\pipe\\x.mp3", F::Device},
      {L"\\\\\\share\\x.mp3", F::Device},
      {L"\\\\..\\share\\x.mp3", F::Device},
      {L"\\\\host\\pipes\\x.mp3", F::Network},
      {L"C:\\music\\COM1.mp3", F::Device},
      {L"C:\\music\\nul", F::Device},
      {L"C:\\music\\Aux .mp3", F::Device},
      {L"C:\\music\\lpt\u00b9.wav", F::Device},
      {L"C:\\music\\CONOUT$", F::Device},
      {L"C:nul", F::Device},
      {L"\\\\host\\share\\con.mp3", F::Device},
      {L"C:\\music\\COM10.mp3", F::DriveRoot},
      {L"C:\\music\\console.mp3", F::DriveRoot},
      {L"C:\\nul\\a.mp3", F::DriveRoot},
  };
  for (const Case &c : cases) EXPECT_EQ(FormOf(c.path), c.form) << c.path;
}

TEST(Seals, EachUserSealsAndOpensOnlyTheirOwn) {
  const std::wstring path = L"\\\\nas\\music\\\u66f2.mp3";  // 曲.mp3
  MemoryProfile profile;
  MemorySeal me(L"S-1-5-21-1-2-3-1001"), other(L"S-1-5-21-1-2-3-1002");
  EXPECT_FALSE(SealedForUser(profile, me, path));

  StoreSeal(profile, me, path);
  ASSERT_EQ(profile.writes.size(), 1u);
  EXPECT_EQ(profile.writes[0].first, kKeyBgmSealPrefix + std::wstring(L"S-1-5-21-1-2-3-1001"));
  EXPECT_TRUE(SealedForUser(profile, me, path));
  EXPECT_FALSE(SealedForUser(profile, me, path + L"x"));
  EXPECT_FALSE(SealedForUser(profile, other, path));

  StoreSeal(profile, other, path);
  EXPECT_TRUE(SealedForUser(profile, me, path)) << "the other user's seal took mine";
  EXPECT_TRUE(SealedForUser(profile, other, path));

  // Someone else's seal copied into my key does not open for me.
  profile.Set(SealKeyOf(me.user), profile.values[{kSettingsFile, kSection, SealKeyOf(other.user)}]);
  EXPECT_FALSE(SealedForUser(profile, me, path));

  MemorySeal nobody(L"");
  profile.writes.clear();
  StoreSeal(profile, nobody, path);
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_FALSE(SealedForUser(profile, nobody, path));
}

TEST(Seals, TextThatIsNoSealOpensNothing) {
  const std::wstring path = L"\\\\nas\\music\\" + std::wstring(60, L'a') + L".mp3";
  MemoryProfile profile;
  MemorySeal me(L"S-1-5-21-1-2-3-1001");
  StoreSeal(profile, me, path);
  const std::wstring key = SealKeyOf(me.user);
  const std::wstring good = profile.values[{kSettingsFile, kSection, key}];
  ASSERT_TRUE(SealedForUser(profile, me, path));
  ASSERT_GT(good.size(), kIniValueBytes) << "a seal longer than the other values must still be read whole";

  struct Case {
    const char *name;
    std::wstring text;
  };
  const Case cases[] = {
      {"empty", L""},
      {"cut by one character", good.substr(0, good.size() - 1)},
      {"cut by a group", good.substr(0, good.size() - 4)},
      {"a character outside the alphabet", L"*" + good.substr(1)},
      {"a wide character", L"\u3042" + good.substr(1)},
      {"padding inside", good.substr(0, 2) + L"==" + good.substr(4)},
      {"padding only", L"===="},
  };
  for (const Case &c : cases) {
    profile.Set(key, c.text);
    EXPECT_FALSE(SealedForUser(profile, me, path)) << c.name;
  }
}

}  // namespace
