#include <gtest/gtest.h>

#include <vector>

#include "dialog_logic.h"

namespace {

TEST(SourceView, OnlyTheChosenSourcesControlIsEnabled) {
  struct Case { int kind; bool none, cd, file, track, browse; };
  const Case cases[] = {
      {0, true, false, false, false, false},
      {1, false, true, false, true, false},
      {2, false, false, true, false, true},
      {3, false, false, false, false, false},   // a hand-edited kind: nothing chosen
      {-1, false, false, false, false, false},
  };
  for (const Case &c : cases) {
    const SourceView v = ViewOfSource(c.kind);
    EXPECT_EQ(v.markChosen[0], c.none) << c.kind;
    EXPECT_EQ(v.markChosen[1], c.cd) << c.kind;
    EXPECT_EQ(v.markChosen[2], c.file) << c.kind;
    EXPECT_EQ(v.trackBoxEnabled, c.track) << c.kind;
    EXPECT_EQ(v.browseEnabled, c.browse) << c.kind;
  }
}

TEST(TrackText, FormatsWithTheHashPattern) {
  EXPECT_EQ(FormatTrack(0), L"");
  EXPECT_EQ(FormatTrack(1), L"1");
  EXPECT_EQ(FormatTrack(30), L"30");
  EXPECT_EQ(FormatTrack(-4), L"-4");
}

TEST(TrackText, IsStoredAsTheNearestNumberOrZero) {
  struct Case { const wchar_t *text; std::int16_t track; };
  const Case cases[] = {
      {L"12", 12},  {L"abc", 0},   {L"2.5", 2},  {L"3.5", 4},   {L"", 0},     {L"  7  ", 7},
      {L"-3", -3},  {L"1e1", 10},  {L"12a", 0},  {L"32767", 32767}, {L"32768", 0},
      {L"-32768", -32768}, {L"-32769", 0}, {L"99999999999", 0}, {L"0", 0},
  };
  for (const Case &c : cases) EXPECT_EQ(TrackFromText(c.text), c.track) << "[" << c.text << "]";
}

TEST(Banner, PlaysLeftThenRightThenPausesOneTick) {
  // Ticks every 100 ms from load: where each frame shows, and when.
  int frame = 0;
  std::vector<BannerStep> steps;
  for (int tick = 1; tick <= 60; ++tick) {
    const BannerStep s = BannerTick(frame);
    frame = s.frame;
    steps.push_back(s);
  }
  auto at = [&](int ms) { return steps[ms / 100 - 1]; };
  EXPECT_EQ(at(100).leftFrame, 1);     // frame 1 on the left after 100 ms
  EXPECT_EQ(at(2400).leftFrame, 24);   // frame 24 at 2.4 s
  EXPECT_EQ(at(2500).rightFrame, 1);   // the right box from 2.5 s
  EXPECT_EQ(at(2500).leftFrame, 0);
  EXPECT_EQ(at(4800).rightFrame, 24);
  EXPECT_EQ(at(4900).leftFrame, 0);    // the pause
  EXPECT_EQ(at(4900).rightFrame, 0);
  EXPECT_EQ(at(4900).frame, 0);
  EXPECT_EQ(at(5000).leftFrame, 1);    // and the left box again at 5.0 s
}

TEST(PlaceDialog, CentresAcrossAndAThirdDown) {
  struct Case { long sw, sh, dw, dh, left, top; };
  const Case cases[] = {
      {15360, 11520, 7110, 4365, 4125, 2385},  // 1024 x 768 screen
      {19200, 15360, 7110, 4365, 6045, 3665},  // 1280 x 1024
      {7000, 4000, 7110, 4365, -55, -121},     // a screen smaller than the dialog
      {7111, 4366, 7110, 4365, 0, 0},          // remainders dropped
  };
  for (const Case &c : cases) {
    const DialogPlace p = PlaceDialog(c.sw, c.sh, c.dw, c.dh);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top);
  }
}


// Code page 932 as far as the cases need it: ASCII and half-width katakana
// take one byte, kana and kanji two; anything else has no place in it.
AnsiForm Cp932Form(const std::wstring &path) {
  AnsiForm form{true, 0};
  for (wchar_t c : path) {
    const bool single = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
    const bool dual = (c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF);
    form.roundTrips = form.roundTrips && (single || dual);
    form.bytes += single ? 1 : 2;
  }
  return form;
}

TEST(NameToStore, KeepsWhatTheSettingsFileCanHoldAndOpen) {
  const std::wstring accented = L"C:\\M\u00fasica\\Beyonc\u00e9 \u266b \ud55c\uad6d\uc5b4.mp3";
  const std::wstring kanji = L"C:\\\u97f3\u697d\\\u6b4c.mp3";  // C:\音楽\歌.mp3
  const std::wstring shortName = L"C:\\MSICA~1\\BEYONC~1.MP3";
  const std::wstring longKanji = L"C:\\" + std::wstring(127, L'\u6b4c') + L".mp3";  // 261 bytes
  struct Case {
    const char *name;
    std::wstring chosen, shortPath;
    StoredNameKind kind;
    std::wstring stored;
    bool tooLong = false;  // not kept for its length, rather than its characters
  };
  const Case cases[] = {
      {"plain name", L"C:\\music dir\\song (1) & [2].mp3", L"C:\\MUSICD~1\\SONG(1~1.MP3", StoredNameKind::AsChosen,
       L"C:\\music dir\\song (1) & [2].mp3"},
      {"in the code page", kanji, L"C:\\A~1\\B~1.MP3", StoredNameKind::AsChosen, kanji},
      {"outside it: the short path", accented, shortName, StoredNameKind::ShortPath, shortName},
      {"no short names on the volume", accented, L"", StoredNameKind::None, L""},
      {"a short path that is no better", accented, accented, StoredNameKind::None, L""},
      {"too long to come back whole", longKanji, shortName, StoredNameKind::ShortPath, shortName},
      {"255 bytes come back", L"C:\\" + std::wstring(248, L'a') + L".mp3", L"", StoredNameKind::AsChosen,
       L"C:\\" + std::wstring(248, L'a') + L".mp3"},
      {"256 do not", L"C:\\" + std::wstring(249, L'a') + L".mp3", L"", StoredNameKind::None, L"", true},
      {"outside the code page, its short path too long", accented, L"C:\\" + std::wstring(253, L'B'),
       StoredNameKind::None, L"", true},
      {"nothing chosen", L"", L"", StoredNameKind::None, L""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const StoredName stored =
        NameToStore(c.chosen, Cp932Form, [&](const std::wstring &path) { return path == c.chosen ? c.shortPath : L"?"; });
    EXPECT_EQ(stored.kind, c.kind);
    EXPECT_EQ(stored.path, c.stored);
    EXPECT_EQ(stored.tooLong, c.tooLong);
  }
}

TEST(TrustOnApply, SealsWhatTheUserChoseAndAsksOnceAboutWhatTheFileHeld) {
  const std::wstring unc = L"\\\\nas\\music\\a.mp3";
  const std::wstring drive = L"C:\\t_orka_temp\\x.mp3";
  struct Case {
    const char *name;
    std::wstring path;
    int kind;
    bool unsealedFromFile, browsed;
    ApplyTrust trust;
  };
  const Case cases[] = {
      {"a network path from the file, file source", unc, 2, true, false, ApplyTrust::Ask},
      {"the same with the CD chosen: kept as stored, unsealed", drive, 1, true, false, ApplyTrust::Unseal},
      {"the same with no music", unc, 0, true, false, ApplyTrust::Unseal},
      {"a network path sealed before", unc, 2, false, false, ApplyTrust::Seal},
      {"a drive path sealed before, the CD chosen", drive, 1, false, false, ApplyTrust::Seal},
      {"a network path from the file, then browsed to", unc, 2, true, true, ApplyTrust::Seal},
      {"browsed to, then the CD chosen", L"//nas/music/a.mp3", 1, false, true, ApplyTrust::Seal},
      {"a device typed into the browser", L"\\\\.\\pipe\\x.mp3", 2, false, true, ApplyTrust::Unseal},
      {"no path", L"", 2, false, false, ApplyTrust::Unseal},
  };
  for (const Case &c : cases)
    EXPECT_EQ(TrustOnApply(c.path, c.kind, c.unsealedFromFile, c.browsed), c.trust) << c.name;
}

TEST(SourceGroup, OneTabStopAndArrowsRoundTheGroupInTheOrderShown) {
  struct Case { int kind, tabStop, below, above; };
  // Top to bottom: CD (1), none (0), file (2).
  for (const Case c : {Case{1, 1, 0, 2}, Case{0, 0, 2, 1}, Case{2, 2, 1, 0}, Case{7, 1, 0, 2}, Case{-1, 1, 0, 2}}) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(GroupFocusFor(c.kind), c.tabStop);
    EXPECT_EQ(SourceAfterArrow(c.kind, true), c.below);
    EXPECT_EQ(SourceAfterArrow(c.kind, false), c.above);
  }
}

}  // namespace
