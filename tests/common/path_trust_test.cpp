#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "memory_profile.h"
#include "path_trust.h"
#include "shared_names.h"

namespace {

TEST(FormOf, TellsEachFormOfPathAndEveryDevice) {
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
      {L"\\\\?\\C:a.mp3", F::Device},  // a name beside the volume, not a file on it
      {L"\\??\\c:a.mp3", F::Device},
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

  // A last group of one character carries no byte: after a seal of whole
  // groups it would leave the seal's bytes as they were.
  std::wstring whole = path;
  while (SealText(me, whole).back() == L'=') whole += L'a';
  profile.Set(key, SealText(me, whole));
  ASSERT_TRUE(SealedForUser(profile, me, whole));
  profile.Set(key, SealText(me, whole) + L"A===");
  EXPECT_FALSE(SealedForUser(profile, me, whole)) << "a last group of one character";
}

// Whatever the key held before, apply leaves the seal of the path it
// stores there and nothing else.
TEST(Seals, TheKeyHoldsTheSealOfTheStoredPathAlone) {
  const std::wstring before = L"\\\\nas\\music\\old.mp3";
  struct Case {
    const char *name;
    std::wstring path;
    bool sealingFails;
    bool sealed;  // afterwards the key holds the path's seal; otherwise there is no key
  };
  const Case cases[] = {
      {"a network path", L"\\\\nas\\music\\new.mp3", false, true},
      {"a drive path", L"C:\\music\\new.mp3", false, true},
      {"the same path again", before, false, true},
      {"no path", L"", false, false},
      {"a device", L"\\\\.\\pipe\\x.mp3", false, false},
      {"sealing fails", L"C:\\music\\new.mp3", true, false},
  };
  for (const Case &c : cases) {
    for (const bool hadSeal : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.name << (hadSeal ? ", after a seal of another path" : ""));
      MemoryProfile profile;
      MemorySeal me(L"S-1-5-21-1-2-3-1001"), other(L"S-1-5-21-1-2-3-1002");
      StoreSeal(profile, other, before);
      if (hadSeal) StoreSeal(profile, me, before);
      const auto othersSeal = profile.Value(SealKeyOf(other.user));
      me.fails = c.sealingFails;
      StoreSeal(profile, me, c.path);
      me.fails = false;
      EXPECT_EQ(SealedForUser(profile, me, c.path), c.sealed);
      if (c.path != before) {
        EXPECT_FALSE(SealedForUser(profile, me, before)) << "the old seal outlived its path";
      }
      EXPECT_EQ(profile.Value(SealKeyOf(me.user)).has_value(), c.sealed);
      EXPECT_EQ(profile.Value(SealKeyOf(other.user)), othersSeal) << "another user's key changed";
    }
  }

  MemoryProfile profile;
  MemorySeal nobody(L"");
  StoreSeal(profile, nobody, L"");
  StoreSeal(profile, nobody, before);
  EXPECT_TRUE(profile.writes.empty() && profile.removes.empty()) << "an unknown user has no key";
}

// What the platform's protection returns, laid out field by field.
struct Protected {
  std::uint32_t version = 1;
  std::uint32_t flags = 0;
  std::uint32_t dataLength = 48;  // as recorded; 48 bytes follow whatever it says
  std::size_t cut = 0;            // bytes cut from the end
  std::string extra;              // bytes left over at the end

  std::string Bytes() const {
    std::string b;
    const auto dword = [&b](std::uint32_t v) {
      for (int k = 0; k < 4; ++k) b += static_cast<char>(v >> (8 * k) & 0xFF);
    };
    const auto counted = [&](std::size_t n, char fill) {
      dword(static_cast<std::uint32_t>(n));
      b += std::string(n, fill);
    };
    dword(version);
    b += std::string(16, '\xd0');  // the provider
    dword(1);                      // the master key's version
    b += std::string(16, '\x3c');  // and its identifier
    dword(flags);
    counted(2, '\0');  // an empty description, its terminating NUL
    dword(0x6610);     // AES-256
    dword(256);
    counted(32, 's');  // salt
    counted(0, 'k');   // no key for the signature
    dword(0x800e);     // SHA-512
    dword(512);
    counted(32, 'h');
    dword(dataLength);
    b += std::string(48, 'd');
    counted(64, 'g');  // the signature
    b += extra;
    return b.substr(0, b.size() - cut);
  }
};

TEST(ProtectedInUserScope, OnlyDataThisUserProtectedForThemselves) {
  struct Case {
    const char *name;
    std::string bytes;
    bool userScope;
  };
  const auto with = [](auto change) {
    Protected p;
    change(p);
    return p.Bytes();
  };
  const Case cases[] = {
      {"user scope", Protected().Bytes(), true},
      {"user scope, no prompt recorded", with([](Protected &p) { p.flags = 0x1; }), true},
      {"machine scope", with([](Protected &p) { p.flags = 0x4; }), false},
      {"machine scope, no prompt", with([](Protected &p) { p.flags = 0x5; }), false},
      {"for the system", with([](Protected &p) { p.flags = 0x20000000; }), false},
      {"cut short by a byte", with([](Protected &p) { p.cut = 1; }), false},
      {"cut before the flags", Protected().Bytes().substr(0, 42), false},
      {"cut to its version", Protected().Bytes().substr(0, 4), false},
      {"wrong version", with([](Protected &p) { p.version = 2; }), false},
      {"version 0", with([](Protected &p) { p.version = 0; }), false},
      {"empty", "", false},
      {"a byte left over", with([](Protected &p) { p.extra = "x"; }), false},
      {"a length beyond the end", with([](Protected &p) { p.dataLength = 49; }), false},
      {"a length that wraps round", with([](Protected &p) { p.dataLength = 0xFFFFFFFF; }), false},
  };
  for (const Case &c : cases) EXPECT_EQ(ProtectedInUserScope(c.bytes), c.userScope) << c.name;
}

}  // namespace
