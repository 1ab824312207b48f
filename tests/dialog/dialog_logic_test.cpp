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

}  // namespace
