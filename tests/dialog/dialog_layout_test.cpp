// The dialog's layout as a user sees it: every control inside the window it
// is placed in, none covering another there, each option mark level with
// its caption.
#include "dialog_layout.h"
#include "screen_units.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Named = std::pair<std::string, TwipsPlace>;

bool Inside(const TwipsPlace &p, long width, long height) {
  return p.left >= 0 && p.top >= 0 && p.left + p.width <= width && p.top + p.height <= height;
}

bool Overlap(const TwipsPlace &a, const TwipsPlace &b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST(DialogLayout, EachControlLiesInsideItsWindowAndCoversNoOther) {
  const DialogLayout &at = kDialogLayout;
  std::vector<Named> inFrame = {{"track box", at.trackBox}, {"track label", at.trackLabel},
                                {"file button", at.fileButton}, {"file name", at.fileName}};
  for (const SourceRow &row : at.sources) {
    inFrame.push_back({"mark " + std::to_string(row.kind), row.mark});
    inFrame.push_back({"caption " + std::to_string(row.kind), row.caption});
  }
  struct Surface {
    const char *name;
    long width, height;
    std::vector<Named> controls;
  };
  const Surface surfaces[] = {
      {"dialog", at.clientWidth, at.clientHeight,
       {{"panel", at.panel}, {"left banner", at.banner[0]}, {"right banner", at.banner[1]},
        {"set", at.setButton}, {"cancel", at.cancelButton}, {"version", at.version}}},
      {"panel", at.panel.width, at.panel.height, {{"music frame", at.musicFrame}}},
      {"music frame", at.musicFrame.width, at.musicFrame.height, inFrame},
  };
  for (const Surface &s : surfaces) {
    for (std::size_t i = 0; i < s.controls.size(); ++i) {
      EXPECT_TRUE(Inside(s.controls[i].second, s.width, s.height)) << s.controls[i].first << " in " << s.name;
      for (std::size_t j = i + 1; j < s.controls.size(); ++j)
        EXPECT_FALSE(Overlap(s.controls[i].second, s.controls[j].second))
            << s.controls[i].first << " and " << s.controls[j].first << " in " << s.name;
    }
  }
}

TEST(DialogLayout, TheMarksStandInOneColumnEachLevelWithItsCaption) {
  const SourceRow *previous = nullptr;
  for (const SourceRow &row : kDialogLayout.sources) {
    EXPECT_EQ(row.mark.top, row.caption.top) << row.kind;
    EXPECT_EQ(row.mark.height, row.caption.height) << row.kind;
    EXPECT_LT(row.mark.left + row.mark.width, row.caption.left) << row.kind;
    if (previous) {
      EXPECT_EQ(row.mark.left, previous->mark.left) << row.kind;
      EXPECT_GT(row.mark.top, previous->mark.top) << row.kind;
    }
    previous = &row;
  }
}

// A picture made for 96 DPI fills its place at any DPI as it does at 96,
// never spilling over it.
TEST(DialogLayout, ScaledPicturesStayInsideTheirPlaces) {
  struct Place { const char *name; TwipsPlace box; int pictureWidth, pictureHeight; };
  const Place places[] = {{"option mark", kDialogLayout.sources[0].mark, 12, 12},
                          {"banner box", kDialogLayout.banner[0], 120, 50}};
  for (const Place &p : places) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
      const int boxW = TwipsToPixels(p.box.width, dpi), boxH = TwipsToPixels(p.box.height, dpi);
      const int picW = ScaleFromBaseDpi(p.pictureWidth, dpi), picH = ScaleFromBaseDpi(p.pictureHeight, dpi);
      EXPECT_LE(picW, boxW) << p.name << " at " << dpi;
      EXPECT_LE(picH, boxH) << p.name << " at " << dpi;
      // The margin left around the picture is the one at 96, grown with the DPI.
      EXPECT_LE(boxW - picW, ScaleFromBaseDpi(TwipsToPixels(p.box.width, 96) - p.pictureWidth, dpi) + 1)
          << p.name << " at " << dpi;
    }
  }
}

}  // namespace
