// The button's look: its palettes, the gradient it is painted with, and the
// whole repaint of one visual state.
#include "xp_button.h"

#include <algorithm>
#include <optional>

#include "numbers.h"

namespace {

constexpr Colour kUnused = kNoPixel;

int Channel(int bottom, float step, int i) {
  // The step is held in single precision; the row's value is not.
  const auto value = RoundToInt32(bottom + i * static_cast<double>(step));
  return std::clamp(value.value_or(bottom), 0, 255);
}

}  // namespace

Palette InitPalette() {
  //                     Disabled              Normal               Focused               Hot                  Pressed
  return Palette{{
      /* outline  */ {Rgb(201, 199, 186), Rgb(0, 60, 116), Rgb(0, 60, 116), Rgb(0, 60, 116), Rgb(0, 60, 116)},
      /* row 1    */ {kUnused, Rgb(255, 255, 255), Rgb(206, 231, 255), Rgb(255, 243, 206), kUnused},
      /* row 2    */ {kUnused, Rgb(254, 254, 254), Rgb(189, 215, 247), Rgb(255, 219, 140), kUnused},
      /* row H-3  */ {kUnused, Rgb(226, 223, 214), Rgb(140, 174, 231), Rgb(255, 178, 49), kUnused},
      /* row H-2  */ {kUnused, Rgb(214, 208, 197), Rgb(107, 130, 239), Rgb(230, 150, 0), kUnused},
      /* edge top */ {kUnused, Rgb(252, 252, 251), Rgb(189, 211, 247), Rgb(225, 223, 156), kUnused},
      /* edge bot */ {kUnused, Rgb(236, 235, 230), Rgb(140, 174, 231), Rgb(255, 182, 48), kUnused},
      /* face top */ {kUnused, Rgb(252, 252, 251), Rgb(252, 252, 251), Rgb(252, 252, 251), kUnused},
      /* face bot */ {kUnused, Rgb(236, 235, 230), Rgb(236, 235, 230), Rgb(236, 235, 230), kUnused},
      /* flat     */ {Rgb(245, 244, 234), kUnused, kUnused, kUnused, Rgb(231, 227, 222)},
      /* corner 1 */ {Rgb(206, 199, 189), Rgb(123, 150, 173), Rgb(123, 150, 173), Rgb(123, 150, 173), Rgb(123, 150, 173)},
      /* corner 2 */ {Rgb(196, 177, 140), Rgb(33, 85, 132), Rgb(33, 85, 132), Rgb(33, 85, 132), Rgb(33, 85, 132)},
      /* diagonal */ {Rgb(196, 177, 140), Rgb(82, 125, 165), Rgb(82, 125, 165), Rgb(82, 125, 165), Rgb(82, 125, 165)},
  }};
}

Palette ContrastPalette(const ContrastColours &c) {
  const Colour face = c.face, text = c.text, mark = c.highlight, grey = c.grayText;
  // The pixel one step from each corner takes the background, the two next
  // to it the outline: a clean bevelled corner instead of blended pixels.
  //                  Disabled  Normal    Focused   Hot       Pressed
  const std::array<Colour, 5> outline = {grey, text, text, mark, mark};
  const std::array<Colour, 5> band = {kUnused, face, mark, mark, kUnused};
  const std::array<Colour, 5> plain = {kUnused, face, face, face, kUnused};
  return Palette{{
      /* outline  */ outline,
      /* row 1    */ band,
      /* row 2    */ band,
      /* row H-3  */ band,
      /* row H-2  */ band,
      /* edge top */ band,
      /* edge bot */ band,
      /* face top */ plain,
      /* face bot */ plain,
      /* flat     */ {face, kUnused, kUnused, kUnused, face},
      /* corner 1 */ {face, face, face, face, face},
      /* corner 2 */ outline,
      /* diagonal */ outline,
  }};
}

void DrawGradient(Surface &surface, Box box, Colour top, Colour bottom) {
  const int n = box.b - box.t;
  if (n < 0) return;
  const int divisor = std::max(n, 1);
  const float stepRed = static_cast<float>(RedOf(top) - RedOf(bottom)) / divisor;
  const float stepGreen = static_cast<float>(GreenOf(top) - GreenOf(bottom)) / divisor;
  const float stepBlue = static_cast<float>(BlueOf(top) - BlueOf(bottom)) / divisor;
  for (int i = 0; i <= n; ++i) {
    const Colour c = Rgb(Channel(RedOf(bottom), stepRed, i), Channel(GreenOf(bottom), stepGreen, i),
                         Channel(BlueOf(bottom), stepBlue, i));
    DrawLine(surface, box.l, box.b - i, box.r, box.b - i, c);
  }
}

void XpButton::Redraw(std::int32_t state) {
  if (fields_.PaintSuppressed() || state < Disabled || state > Pressed) return;
  fields_.VisualState = state;
  Surface &image = window_.Image();
  const int w = image.Width(), h = image.Height();
  const std::optional<ContrastColours> contrast = site_.AmbientContrast();
  const Palette &palette = contrast ? ContrastPalette(*contrast) : palette_;
  const auto colour = [&](PaletteRow row) { return palette[row][state]; };

  image.Clear(contrast ? contrast->face : site_.AmbientBackColour());

  const Colour outline = colour(kOutline);
  DrawLine(image, 3, 0, w - 3, 0, outline);
  DrawLine(image, 0, 3, 0, h - 3, outline);
  DrawLine(image, 3, h - 1, w - 3, h - 1, outline);
  DrawLine(image, w - 1, 3, w - 1, h - 3, outline);

  if (state == Disabled || state == Pressed) {
    FillSolid(image, {1, 1, w - 1, h - 1}, colour(kFlatFace));
  } else {
    // The first gradient shows only in the two-pixel bands left and right of
    // the face, which carry the state's edge colour.
    DrawGradient(image, {1, 3, w - 1, h - 2}, colour(kEdgeTop), colour(kEdgeBottom));
    DrawGradient(image, {3, 3, w - 3, h - 3}, colour(kFaceTop), colour(kFaceBottom));
    DrawLine(image, 1, 1, w, 1, colour(kRow1Line));
    DrawLine(image, 1, 2, w, 2, colour(kRow2Line));
    DrawLine(image, 1, h - 3, w, h - 3, colour(kRowHMinus3Line));
    DrawLine(image, 2, h - 2, w - 1, h - 2, colour(kRowHMinus2Line));
  }

  // Anti-aliased corners: the pixels one and two steps from each corner and
  // the one diagonally inside it.
  const Colour one = colour(kCornerOneStep), two = colour(kCornerTwoSteps), diagonal = colour(kCornerDiagonal);
  for (const auto &p : {std::pair{0, 1}, {1, 0}, {w - 1, 1}, {w - 2, 0}, {0, h - 2}, {1, h - 1}, {w - 1, h - 2},
                        {w - 2, h - 1}})
    image.SetPixel(p.first, p.second, one);
  for (const auto &p : {std::pair{0, 2}, {2, 0}, {w - 1, 2}, {w - 3, 0}, {0, h - 3}, {2, h - 1}, {w - 1, h - 3},
                        {w - 3, h - 1}})
    image.SetPixel(p.first, p.second, two);
  for (const auto &p : {std::pair{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}})
    image.SetPixel(p.first, p.second, diagonal);

  // The window's shape, a rectangle one pixel wider and higher than the
  // image, with 3 x 3 corner ellipses.
  window_.SetRoundedShape(w + 1, h + 1, 3);

  // A repaint asked for while the caption is drawn must not paint over it.
  fields_.DrawingCaption = true;
  const Box text = {3, 3, w - 3, h - 3};
  Colour textColour = fields_.Enabled ? fields_.ForeColor : kDisabledCaptionColour;
  if (contrast) textColour = fields_.Enabled ? contrast->text : contrast->grayText;
  image.DrawCaption(fields_.Caption, text, textColour, fields_.pFONT);
  if (fields_.HasFocus && fields_.FocusRect && state > Normal) image.DrawFocusRect(text);
  fields_.DrawingCaption = false;
}
