// The framed panel: a square or rounded frame with an outline and a solid
// interior, optionally with a soft drop shadow to the lower right that fades
// into the background. It takes no input and raises no events; it repaints its
// retained image when its size, its properties or the container's ambient
// values change, or when Refresh is called.
//
// The painting is portable: it only sees a Surface and the ControlSite. All
// colours are 0x00BBGGRR; the shadow arithmetic is integer arithmetic whose
// truncations are part of the look (see BlendColour).
#pragma once

#include <cstdint>
#include <functional>

#include "control_site.h"
#include "painted_control.h"
#include "surface.h"

// The three channels of a colour taken as a signed 32-bit value, with the
// divisions truncated toward zero. For ordinary colours these are the three low
// bytes; a pixel read from outside a surface (kNoPixel, -1) splits to (255, 0, 0).
struct ColourChannels {
  int red, green, blue;
};
ColourChannels SplitColour(Colour value);

// Moves `a` toward `b` by `k` steps of (a - b) / n per channel. The division is
// done first and truncates toward zero, so the steps are whole and the result
// stops short of `b` by the remainder: channel 0 toward 224 with n = 100,
// k = 50 gives 100, not 112. Channels outside 0..255 (only possible when k
// leaves 0..n, which loaded properties can cause) are clamped.
Colour BlendColour(Colour a, Colour b, int n, int k);

// The colour of the pixel at (x, y); kNoPixel outside the surface.
Colour NeighbourColour(const Surface &surface, int x, int y);

// Concentric rounded outlines leave pixels of the background colour `g`
// between neighbouring rings along their curves. This fills every pixel equal
// to `g` in three corner regions of the shadow with the mean of its four
// neighbours, reading the surface as it goes, so earlier fills feed later ones.
void SmoothShadowCorners(Surface &surface, Colour g, int shadowDepth, int cornerDepth);

class GfxFrameX : public PaintedControl {
 public:
  // `painted`, when given, runs after every repaint of the surface, so that
  // the window that shows the retained image can ask to be redrawn.
  GfxFrameX(ControlSite &site, Surface &surface, std::function<void()> painted = {});

  // 0 = rounded frame, 1 = square frame, anything else = no frame at all.
  std::int32_t FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(std::int32_t value);
  // Percent, 0..100.
  std::int16_t ShadowOpacity() const { return shadowOpacity_; }
  void SetShadowOpacity(std::int16_t value);
  bool ShowShadow() const { return showShadow_; }
  void SetShowShadow(bool value);
  // Pixels, 2..50.
  std::int16_t ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(std::int16_t value);
  void Refresh();
  Colour FillColour() const { return fillColour_; }
  void SetFillColour(Colour value);
  Colour BackColour() const { return backColour_; }
  void SetBackColour(Colour value);
  // 0 = paint on the container's background colour, else on BackColour.
  std::int32_t BackColourIs() const { return backColourIs_; }
  void SetBackColourIs(std::int32_t value);
  Colour BorderColour() const { return borderColour_; }
  void SetBorderColour(Colour value);
  // Width and height of the corner ellipses of the rounded style, 0..50.
  std::int16_t CornerDepth() const { return cornerDepth_; }
  void SetCornerDepth(std::int16_t value);

  // Notifications from the container. A new instance takes the defaults
  // without a repaint (the first resize paints); any ambient change repaints.
  void InitNew() override;
  void ReadProperties(const PropertyBag &bag) override;
  void WriteProperties(PropertyBag &bag) const override;
  void Resize() override;
  void AmbientChanged(const std::wstring &name) override;
  void Repaint() override { Refresh(); }
  // A grouping without a name of its own, with nothing to do.
  AccessibleFacts Describe(const Box &screen, bool focused) const override;
  void DoDefaultAction() override {}

  // The whole repaint of the surface.
  void DrawFrame();

 private:
  // The background the frame is painted on, read afresh every time.
  Colour Background() const;
  void Changed(const wchar_t *name);

  ControlSite &site_;
  Surface &surface_;
  std::function<void()> painted_;

  std::int32_t frameStyle_ = 1;
  std::int16_t shadowOpacity_ = 50;
  bool showShadow_ = true;
  std::int16_t shadowDepth_ = 5;
  Colour fillColour_ = 0;
  Colour backColour_ = 0;
  std::int32_t backColourIs_ = 0;
  Colour borderColour_ = 0;
  std::int16_t cornerDepth_ = 10;
};
