#include "frame_x.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "numbers.h"

namespace {

// Defaults of a new instance, which are also the stored defaults; the fill
// and back colours default to the container's background colour instead.
constexpr std::int32_t kDefaultFrameStyle = 1;
constexpr std::int16_t kDefaultShadowOpacity = 50;
constexpr bool kDefaultShowShadow = true;
constexpr std::int16_t kDefaultShadowDepth = 5;
constexpr std::int32_t kDefaultBackColourIs = 0;
constexpr Colour kDefaultBorderColour = 0;
constexpr std::int16_t kDefaultCornerDepth = 10;

// Below 2 the rings would divide by a depth of 0 or draw nothing useful.
constexpr std::int16_t kMinShadowDepth = 2;
constexpr std::int16_t kMaxShadowDepth = 50;
constexpr std::int16_t kMaxCornerDepth = 50;

// Values equal to their default are not stored.
void WriteInt(PropertyBag &bag, const wchar_t *key, long value, long fallback) {
  if (value != fallback) bag.Write(key, std::to_wstring(value));
}

void WriteBool(PropertyBag &bag, const wchar_t *key, bool value, bool fallback) {
  if (value != fallback) bag.Write(key, BoolText(value));
}

void WriteColour(PropertyBag &bag, const wchar_t *key, Colour value, Colour fallback) {
  if (value != fallback) bag.Write(key, ColourText(value));
}

// The mean of four channel values, nearest integer with ties to even.
int MeanOfFour(int sum) { return RoundToInt32(sum / 4.0).value_or(0); }

}  // namespace

ColourChannels SplitColour(Colour value) {
  const auto v = static_cast<std::int32_t>(value);
  return {v & 255, (v / 256) & 255, (v / 65536) & 255};
}

Colour BlendColour(Colour a, Colour b, int n, int k) {
  const ColourChannels from = SplitColour(a), to = SplitColour(b);
  const auto channel = [n, k](int ac, int bc) { return std::clamp(ac - (ac - bc) / n * k, 0, 255); };
  return Rgb(channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue));
}

Colour NeighbourColour(const Surface &surface, int x, int y) { return surface.GetPixel(x, y); }

void SmoothShadowCorners(Surface &surface, Colour g, int shadowDepth, int cornerDepth) {
  const int w = surface.Width(), h = surface.Height();
  const int d = shadowDepth, e = cornerDepth;
  struct Region {
    int x0, x1, y0, y1;
  };
  const Region regions[] = {
      {w - 2 * e, w - 3, h - 2 * e, h - 3},  // bottom right
      {w - 2 * e, w - 3, d, 4 * d},          // top right
      {d, 4 * d, h - 2 * e, h - 3},          // bottom left
  };
  for (const Region &r : regions) {
    // Only the part of a region on the surface is walked: a deep stored
    // CornerDepth makes regions billions of pixels large, nearly all beyond
    // the edge. Bounded apart from the colour, too: a background of kNoPixel
    // must not make pixels beyond the edge look like holes.
    for (int x = std::max(r.x0, 0); x <= std::min(r.x1, w - 1); ++x) {
      for (int y = std::max(r.y0, 0); y <= std::min(r.y1, h - 1); ++y) {
        if (surface.GetPixel(x, y) != g) continue;
        const Colour around[] = {NeighbourColour(surface, x, y - 1), NeighbourColour(surface, x + 1, y),
                                 NeighbourColour(surface, x, y + 1), NeighbourColour(surface, x - 1, y)};
        int red = 0, green = 0, blue = 0;
        for (Colour c : around) {
          const ColourChannels ch = SplitColour(c);
          red += ch.red;
          green += ch.green;
          blue += ch.blue;
        }
        surface.SetPixel(x, y, Rgb(MeanOfFour(red), MeanOfFour(green), MeanOfFour(blue)));
      }
    }
  }
}

GfxFrameX::GfxFrameX(ControlSite &site, Surface &surface, std::function<void()> painted)
    : site_(site), surface_(surface), painted_(std::move(painted)) {}

void GfxFrameX::Changed(const wchar_t *name) {
  site_.PropertyChanged(name);
  Refresh();
}

void GfxFrameX::SetFrameStyle(std::int32_t value) {
  frameStyle_ = value;
  Changed(L"FrameStyle");
}

void GfxFrameX::SetShadowOpacity(std::int16_t value) {
  shadowOpacity_ = std::clamp<std::int16_t>(value, 0, 100);
  Changed(L"ShadowOpacity");
}

void GfxFrameX::SetShowShadow(bool value) {
  showShadow_ = value;
  Changed(L"ShowShadow");
}

void GfxFrameX::SetShadowDepth(std::int16_t value) {
  shadowDepth_ = std::clamp(value, kMinShadowDepth, kMaxShadowDepth);
  Changed(L"ShadowDepth");
}

void GfxFrameX::Refresh() {
  DrawFrame();
  if (painted_) painted_();
}

void GfxFrameX::SetFillColour(Colour value) {
  fillColour_ = value;
  Changed(L"FillColour");
}

void GfxFrameX::SetBackColour(Colour value) {
  backColour_ = value;
  Changed(L"BackColour");
}

void GfxFrameX::SetBackColourIs(std::int32_t value) {
  backColourIs_ = value;
  Changed(L"BackColourIs");
}

void GfxFrameX::SetBorderColour(Colour value) {
  borderColour_ = value;
  Changed(L"BorderColour");
}

void GfxFrameX::SetCornerDepth(std::int16_t value) {
  cornerDepth_ = std::clamp<std::int16_t>(value, 0, kMaxCornerDepth);
  Changed(L"CornerDepth");
}

void GfxFrameX::InitNew() {
  frameStyle_ = kDefaultFrameStyle;
  shadowOpacity_ = kDefaultShadowOpacity;
  showShadow_ = kDefaultShowShadow;
  shadowDepth_ = kDefaultShadowDepth;
  fillColour_ = site_.AmbientBackColour();
  backColour_ = site_.AmbientBackColour();
  backColourIs_ = kDefaultBackColourIs;
  borderColour_ = kDefaultBorderColour;
  cornerDepth_ = kDefaultCornerDepth;
}

void GfxFrameX::ReadProperties(const PropertyBag &bag) {
  // Stored values bypass the setter rules, except that a depth the rings
  // cannot be painted with is raised to the setter's lower bound.
  frameStyle_ = StoredInt32(bag, L"FrameStyle", kDefaultFrameStyle);
  shadowOpacity_ = StoredInt16(bag, L"ShadowOpacity", kDefaultShadowOpacity);
  showShadow_ = StoredBool(bag, L"ShowShadow", kDefaultShowShadow);
  shadowDepth_ = std::max(StoredInt16(bag, L"ShadowDepth", kDefaultShadowDepth), kMinShadowDepth);
  fillColour_ = StoredColour(bag, L"FillColour", site_.AmbientBackColour());
  backColour_ = StoredColour(bag, L"BackColour", site_.AmbientBackColour());
  backColourIs_ = StoredInt32(bag, L"BackColourIs", kDefaultBackColourIs);
  borderColour_ = StoredColour(bag, L"BorderColour", kDefaultBorderColour);
  cornerDepth_ = StoredInt16(bag, L"CornerDepth", kDefaultCornerDepth);
  Refresh();
}

void GfxFrameX::WriteProperties(PropertyBag &bag) const {
  WriteInt(bag, L"FrameStyle", frameStyle_, kDefaultFrameStyle);
  WriteInt(bag, L"ShadowOpacity", shadowOpacity_, kDefaultShadowOpacity);
  WriteBool(bag, L"ShowShadow", showShadow_, kDefaultShowShadow);
  WriteInt(bag, L"ShadowDepth", shadowDepth_, kDefaultShadowDepth);
  WriteColour(bag, L"FillColour", fillColour_, site_.AmbientBackColour());
  WriteColour(bag, L"BackColour", backColour_, site_.AmbientBackColour());
  WriteInt(bag, L"BackColourIs", backColourIs_, kDefaultBackColourIs);
  WriteColour(bag, L"BorderColour", borderColour_, kDefaultBorderColour);
  WriteInt(bag, L"CornerDepth", cornerDepth_, kDefaultCornerDepth);
}

void GfxFrameX::Resize() { Refresh(); }

AccessibleFacts GfxFrameX::Describe(const Box &screen, bool) const {
  AccessibleFacts facts;
  facts.role = AccessibleRole::Grouping;
  facts.screen = screen;
  return facts;
}

void GfxFrameX::AmbientChanged(const std::wstring &) { Refresh(); }

Colour GfxFrameX::Background() const { return backColourIs_ != 0 ? backColour_ : site_.AmbientBackColour(); }

void GfxFrameX::DrawFrame() {
  // In high contrast the frame keeps its shape and shadow, drawn in the
  // scheme's text colour on its face colour.
  const std::optional<ContrastColours> contrast = site_.AmbientContrast();
  const Colour g = contrast ? contrast->face : Background();
  const Colour border = contrast ? contrast->text : borderColour_;
  const Colour fill = contrast ? contrast->face : fillColour_;
  const Colour shadowBase = contrast ? contrast->text : Rgb(0, 0, 0);
  surface_.Clear(g);
  if (frameStyle_ != 0 && frameStyle_ != 1) return;

  const bool rounded = frameStyle_ == 0;
  const auto shape = [&](Box box, Colour pen, std::optional<Colour> inside) {
    if (rounded) {
      surface_.RoundRectangle(box, cornerDepth_, pen, inside);
    } else {
      surface_.Rectangle(box, pen, inside);
    }
  };
  const int w = surface_.Width(), h = surface_.Height();
  if (!showShadow_) {
    shape({0, 0, w, h}, border, fill);
    return;
  }

  // Rings from the innermost, in the full shadow colour, outward toward the
  // background; the frame drawn last hides all but a band of them along the
  // right and bottom edges.
  const int d = shadowDepth_;
  const Colour shadow = BlendColour(shadowBase, g, 100, 100 - shadowOpacity_);
  for (int i = 0; i <= d; ++i)
    shape({2 * d - i, 2 * d - i, w - d + i, h - d + i}, BlendColour(shadow, g, d, i), std::nullopt);
  if (rounded) SmoothShadowCorners(surface_, g, d, cornerDepth_);
  shape({0, 0, w - d, h - d}, border, fill);
}
