// The framed panel on an in-memory surface: shadow arithmetic, the painted
// picture, setter rules and stored properties.
#include <gtest/gtest.h>

#include "panel_test_site.h"

#include <ctime>
#include <string>
#include <vector>

#include "frame_x.h"
#include "memory_surface.h"

namespace {

constexpr Colour kUnpainted = Rgb(1, 2, 3);

struct Panel {
  Panel() : surface(200, 100, kUnpainted) {}
  Colour At(int x, int y) const { return surface.GetPixel(x, y); }
  PanelSite site;
  MemorySurface surface;
  int paints = 0;
  GfxFrameX frame{site, surface, [this] { ++paints; }};
  static constexpr int W = 200, H = 100;
};

const std::vector<std::wstring> kKeys = {L"FrameStyle",  L"ShadowOpacity", L"ShowShadow",
                                         L"ShadowDepth", L"FillColour",    L"BackColour",
                                         L"BackColourIs", L"BorderColour", L"CornerDepth"};

TEST(SmoothShadowCorners, FillsBackgroundPixelsInItsRegionsFromTheCurrentSurface) {
  // 30 x 30, depth 2, corner 5: bottom-right x 20..27 y 20..27, top-right
  // x 20..27 y 2..8, bottom-left x 2..8 y 20..27.
  const Colour other = Rgb(50, 60, 70);
  MemorySurface s(30, 30, other);
  s.SetPixel(24, 24, kDialogGrey);
  s.SetPixel(24, 23, Rgb(10, 11, 11));
  s.SetPixel(25, 24, Rgb(10, 11, 11));
  s.SetPixel(24, 25, Rgb(11, 12, 11));
  s.SetPixel(23, 24, Rgb(11, 12, 12));
  s.SetPixel(22, 3, kDialogGrey);  // filled first, then a neighbour of the next
  s.SetPixel(22, 4, kDialogGrey);
  s.SetPixel(5, 24, Rgb(224, 224, 225));  // close to the background is not a hole
  s.SetPixel(15, 15, kDialogGrey);        // outside every region
  s.SetPixel(28, 24, kDialogGrey);

  SmoothShadowCorners(s, kDialogGrey, 2, 5);

  EXPECT_EQ(s.GetPixel(24, 24), Rgb(10, 12, 11));  // sums 42, 46, 45: ties go to even
  EXPECT_EQ(s.GetPixel(22, 3), Rgb(94, 101, 108));  // (3 * other + 224) / 4
  EXPECT_EQ(s.GetPixel(22, 4), Rgb(61, 70, 80));    // (3 * other + the pixel above) / 4
  EXPECT_EQ(s.GetPixel(5, 24), Rgb(224, 224, 225));
  EXPECT_EQ(s.GetPixel(15, 15), kDialogGrey);
  EXPECT_EQ(s.GetPixel(28, 24), kDialogGrey);

  // A corner wider than half the surface starts the region off its left edge;
  // the neighbour there reads as no pixel, (255, 0, 0).
  MemorySurface edge(30, 30, other);
  edge.SetPixel(0, 25, kDialogGrey);
  SmoothShadowCorners(edge, kDialogGrey, 2, 20);
  EXPECT_EQ(edge.GetPixel(0, 25), Rgb(101, 45, 52));  // (3 * other + (255, 0, 0)) / 4
}

TEST(SmoothShadowCorners, WalksOnlyWhatADeepCornersRegionsHaveOnTheSurface) {
  // A stored CornerDepth loads unclamped, up to 32767: its regions then span
  // some 65536 x 65536 positions, nearly all beyond the surface. Walking them
  // all takes seconds at every repaint; the part on the surface, microseconds.
  // Timed in processor time (natively), which other programs on the machine
  // leave alone.
  MemorySurface s(180, 120, kDialogGrey);
  const std::clock_t start = std::clock();
  for (int corner : {32767, 30000}) SmoothShadowCorners(s, kDialogGrey, 50, corner);
  EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 0.25);
}

TEST(GfxFrameX, TheShadowLiesDownAndRightOfTheFrame) {
  Panel p;
  p.frame.ReadProperties(MemoryPropertyBag{{L"ShadowDepth", L"7"}});
  const int d = 7, w = Panel::W, h = Panel::H;
  EXPECT_EQ(p.At(0, h / 2), kBlack);
  EXPECT_EQ(p.At(w - d - 1, h / 2), kBlack);
  EXPECT_EQ(p.At(w / 2, h - d - 1), kBlack);
  EXPECT_EQ(p.At(w / 2, h / 2), kDialogGrey);
  // The shadow starts its depth down and to the right.
  EXPECT_EQ(p.At(w - 1, d - 1), kDialogGrey);
  EXPECT_EQ(p.At(w - 1, d), Grey(219));  // ring 7 at the default opacity, as in the table below
  EXPECT_EQ(p.At(d - 1, h - 1), kDialogGrey);
}

TEST(GfxFrameX, HighContrastDrawsTheFrameAndShadowInTheSchemesTextColourOnItsFace) {
  Panel p;
  p.site.contrast = ContrastColours{Grey(10), Grey(250), Rgb(128, 0, 128), Rgb(0, 255, 0)};
  // Colours of its own do not count in high contrast.
  p.frame.ReadProperties(MemoryPropertyBag{
      {L"ShadowDepth", L"7"}, {L"FillColour", L"255"}, {L"BorderColour", L"65280"}, {L"BackColourIs", L"1"}});
  const int d = 7, w = Panel::W, h = Panel::H;
  // The shadow: 250 toward 10 at 50 % is 250 - 2 * 50 = 150; each ring
  // 140 div 7 = 20 darker.
  for (int i = 1; i <= d; ++i) EXPECT_EQ(p.At(w - d - 1 + i, h / 2), Grey(150 - 20 * i)) << "ring " << i;
  EXPECT_EQ(p.At(0, h / 2), Grey(250));
  EXPECT_EQ(p.At(w / 2, h - d - 1), Grey(250));
  EXPECT_EQ(p.At(w / 2, h / 2), Grey(10));
  EXPECT_EQ(p.At(w - 1, d - 1), Grey(10));
}

// Rings 1..7 form the bands right of and below the frame (ring 0 lies under
// its outline). Ring i is the shadow colour plus i steps of (background -
// shadow) div 7, channel by channel. A stored opacity outside 0..100 loads as
// it is.
TEST(GfxFrameX, OpacitySetsTheShadowColourTheRingsStepFromTowardTheBackground) {
  struct Case { Colour background; std::int16_t opacity; int shadow[3], step[3]; };
  const Case cases[] = {
      {kDialogGrey, 50, {100, 100, 100}, {17, 17, 17}},  // 124 div 7 = 17 lighter each
      {kDialogGrey, 100, {0, 0, 0}, {32, 32, 32}},
      {kDialogGrey, 0, {200, 200, 200}, {3, 3, 3}},  // 224 div 100 * 100: a faint shadow remains
      {Rgb(200, 100, 50), 30, {140, 70, 0}, {8, 4, 7}},
      {kDialogGrey, -50, {255, 255, 255}, {-4, -4, -4}},  // 300 clamped
      {kDialogGrey, 150, {0, 0, 0}, {32, 32, 32}},         // -100 clamped
  };
  for (const Case &c : cases) {
    Panel p;
    p.site.ambient = c.background;
    p.frame.ReadProperties(MemoryPropertyBag{{L"ShadowDepth", L"7"}, {L"ShadowOpacity", std::to_wstring(c.opacity)}});
    for (int i = 1; i <= 7; ++i) {
      const Colour ring = Rgb(c.shadow[0] + c.step[0] * i, c.shadow[1] + c.step[1] * i, c.shadow[2] + c.step[2] * i);
      EXPECT_EQ(p.At(Panel::W - 8 + i, 50), ring) << "right band, opacity " << c.opacity << ", ring " << i;
      EXPECT_EQ(p.At(100, Panel::H - 8 + i), ring) << "bottom band, opacity " << c.opacity << ", ring " << i;
    }
  }
}

TEST(GfxFrameX, StyleAndShowShadowDecideWhatIsDrawn) {
  const Colour fill = Rgb(240, 230, 200), border = Rgb(0, 0, 128);
  for (const wchar_t *style : {L"2", L"-1"}) {
    Panel p;
    p.frame.ReadProperties(MemoryPropertyBag{{L"FrameStyle", style}, {L"FillColour", std::to_wstring(fill)}});
    for (int y = 0; y < Panel::H; ++y)
      for (int x = 0; x < Panel::W; ++x) ASSERT_EQ(p.At(x, y), kDialogGrey) << "style " << style;
  }
  for (std::int32_t style : {0, 1}) {
    Panel p;
    p.frame.InitNew();
    p.frame.SetFrameStyle(style);
    p.frame.SetFillColour(fill);
    p.frame.SetBorderColour(border);
    p.frame.SetShowShadow(false);
    EXPECT_EQ(p.At(Panel::W - 1, 50), border) << "style " << style;
    EXPECT_EQ(p.At(100, Panel::H - 1), border) << "style " << style;
    EXPECT_EQ(p.At(Panel::W - 2, 50), fill) << "style " << style;
  }
}

TEST(GfxFrameX, RoundedStyleSmoothsHolesLeftInTheRingsAndSquareStyleDoesNot) {
  // At depth 4 on 224 grey the rings step by (100 - 224) div 4 = -31, so the
  // outermost comes back to exactly 224 and its pixels in the scan regions are
  // holes; ring 3 is 193. A 2-pixel corner is square on this surface, so both
  // styles draw the same rings and only the smoothing differs.
  for (std::int32_t style : {0, 1}) {
    Panel p;
    p.frame.ReadProperties(MemoryPropertyBag{
        {L"FrameStyle", std::to_wstring(style)}, {L"ShadowDepth", L"4"}, {L"CornerDepth", L"2"}});
    const int w = Panel::W, h = Panel::H;
    // Scanned before the frame is drawn: (3 * 224 + 193) / 4 = 216.25, then
    // (2 * 224 + 193 + 216) / 4 = 214.25.
    const Colour first = style == 0 ? Grey(216) : kDialogGrey;
    const Colour second = style == 0 ? Grey(214) : kDialogGrey;
    EXPECT_EQ(p.At(4, h - 4), first) << "bottom-left, style " << style;
    EXPECT_EQ(p.At(4, h - 3), second) << "bottom-left, style " << style;
    EXPECT_EQ(p.At(w - 4, 4), first) << "top-right, style " << style;
    EXPECT_EQ(p.At(w - 3, 4), second) << "top-right, style " << style;
    EXPECT_EQ(p.At(4, h - 2), kDialogGrey) << "outside the regions, style " << style;
  }
}

TEST(GfxFrameX, ReadsItsBackgroundAtEveryRepaintFromBackColourOrTheContainer) {
  Panel p;
  p.frame.InitNew();
  EXPECT_EQ(p.paints, 0);  // a new instance waits for its first resize
  EXPECT_EQ(p.At(0, 0), kUnpainted);
  p.frame.Resize();
  EXPECT_EQ(p.At(Panel::W - 1, 0), kDialogGrey);
  p.site.ambient = Rgb(200, 220, 255);
  p.frame.Refresh();
  EXPECT_EQ(p.At(Panel::W - 1, 0), Rgb(200, 220, 255));
  EXPECT_EQ(p.At(100, 50), kDialogGrey);  // the fill was taken when the instance was made

  p.frame.SetBackColour(Rgb(10, 20, 30));
  EXPECT_EQ(p.At(Panel::W - 1, 0), Rgb(200, 220, 255));
  p.frame.SetBackColourIs(7);
  p.site.ambient = Rgb(90, 90, 90);
  p.frame.AmbientChanged(L"BackColor");
  EXPECT_EQ(p.At(Panel::W - 1, 0), Rgb(10, 20, 30));
  // The shadow of (10, 20, 30) at 50 % is black; ring 1 of 5 is a fifth of the way.
  EXPECT_EQ(p.At(Panel::W - 5, 50), Rgb(2, 4, 6));
}

// The three 16-bit properties with setter rules.
struct Int16Property {
  const wchar_t *name;
  void (GfxFrameX::*set)(std::int16_t);
  std::int16_t (GfxFrameX::*get)() const;
};
const Int16Property kOpacity{L"ShadowOpacity", &GfxFrameX::SetShadowOpacity, &GfxFrameX::ShadowOpacity};
const Int16Property kDepth{L"ShadowDepth", &GfxFrameX::SetShadowDepth, &GfxFrameX::ShadowDepth};
const Int16Property kCorner{L"CornerDepth", &GfxFrameX::SetCornerDepth, &GfxFrameX::CornerDepth};

TEST(GfxFrameX, SettersClampWhileLoadingKeepsTheStoredValue) {
  struct Case { const Int16Property &property; std::int16_t value, afterSet, afterLoad; };
  const Case cases[] = {
      {kOpacity, -5, 0, -5}, {kOpacity, 150, 100, 150}, {kOpacity, 100, 100, 100},
      {kCorner, 60, 50, 60}, {kCorner, -1, 0, -1},      {kCorner, 50, 50, 50},
      // A stored depth below 2 could not be painted; it loads as 2.
      {kDepth, 1, 2, 2},     {kDepth, 0, 2, 2},         {kDepth, 2, 2, 2},
      {kDepth, 50, 50, 50},  {kDepth, 51, 50, 51},      {kDepth, 60, 50, 60},
  };
  for (const Case &c : cases) {
    Panel set;
    set.frame.InitNew();
    (set.frame.*c.property.set)(c.value);
    EXPECT_EQ((set.frame.*c.property.get)(), c.afterSet) << "setting " << c.property.name << " " << c.value;
    Panel load;
    load.frame.ReadProperties(MemoryPropertyBag{{c.property.name, std::to_wstring(c.value)}});
    EXPECT_EQ((load.frame.*c.property.get)(), c.afterLoad) << "loading " << c.property.name << " " << c.value;
  }
}

TEST(GfxFrameX, SettersReportTheirNameAndRepaintWhileSavingWritesOnlyChangesInOrder) {
  Panel p;
  p.frame.InitNew();
  MemoryPropertyBag untouched;
  p.frame.WriteProperties(untouched);
  EXPECT_TRUE(untouched.WriteOrder().empty());

  p.frame.SetFrameStyle(0);
  p.frame.SetShadowOpacity(80);
  p.frame.SetShowShadow(false);
  p.frame.SetShadowDepth(12);
  p.frame.SetFillColour(Rgb(255, 255, 255));
  p.frame.SetBackColour(Rgb(0, 0, 255));
  p.frame.SetBackColourIs(-1);
  p.frame.SetBorderColour(Rgb(0, 128, 0));
  p.frame.SetCornerDepth(20);
  EXPECT_EQ(p.site.changed, kKeys);
  EXPECT_EQ(p.paints, 9);
  EXPECT_EQ(p.At(100, 0), Rgb(0, 128, 0));  // the last repaint shows the last value

  MemoryPropertyBag bag;
  p.frame.WriteProperties(bag);
  EXPECT_EQ(bag.WriteOrder(), kKeys);
  EXPECT_EQ(bag.Read(L"ShowShadow"), L"0");
  EXPECT_EQ(bag.Read(L"BackColour"), L"16711680");
  EXPECT_EQ(bag.Read(L"BackColourIs"), L"-1");

  // Read back under lower-case keys, then saved again unchanged.
  MemoryPropertyBag lower;
  for (const std::wstring &key : kKeys) {
    std::wstring folded;
    for (wchar_t c : key) folded += static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    lower.Write(folded, *bag.Read(key));
  }
  Panel q;
  q.frame.ReadProperties(lower);
  EXPECT_FALSE(q.frame.ShowShadow());
  EXPECT_EQ(q.frame.BorderColour(), Rgb(0, 128, 0));
  MemoryPropertyBag again;
  q.frame.WriteProperties(again);
  for (const std::wstring &key : kKeys) EXPECT_EQ(again.Read(key), bag.Read(key)) << key;

  // -1, the stored spelling of true, reads as true.
  q.frame.ReadProperties(MemoryPropertyBag{{L"ShowShadow", L"-1"}});
  EXPECT_TRUE(q.frame.ShowShadow());
}

TEST(GfxFrameX, StoredDefaultsAreTheContainerColourAtTheMomentAndRealsRoundToEven) {
  Panel p;
  p.site.ambient = Rgb(5, 6, 7);
  p.frame.ReadProperties(MemoryPropertyBag{{L"CornerDepth", L"6.5"}, {L"ShadowOpacity", L"7.5"}});
  EXPECT_EQ(p.paints, 1);
  EXPECT_EQ(p.frame.FrameStyle(), 1);
  EXPECT_TRUE(p.frame.ShowShadow());
  EXPECT_EQ(p.frame.ShadowDepth(), 5);
  EXPECT_EQ(p.frame.FillColour(), Rgb(5, 6, 7));
  EXPECT_EQ(p.frame.BackColour(), Rgb(5, 6, 7));
  EXPECT_EQ(p.frame.CornerDepth(), 6);
  EXPECT_EQ(p.frame.ShadowOpacity(), 8);

  // Once the container's colour has moved on, the old one is worth keeping.
  p.site.ambient = Rgb(0, 0, 128);
  MemoryPropertyBag bag;
  p.frame.WriteProperties(bag);
  const std::vector<std::wstring> written = {L"ShadowOpacity", L"FillColour", L"BackColour", L"CornerDepth"};
  EXPECT_EQ(bag.WriteOrder(), written);
  EXPECT_EQ(bag.Read(L"FillColour"), std::to_wstring(Rgb(5, 6, 7)));
}

}  // namespace
