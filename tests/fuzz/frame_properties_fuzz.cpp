// The framed panel loaded from any stored properties: it paints within its
// surface, repainting gives the same picture, and what it saves loads back as
// the same panel with the same picture.
//
// First line: width, height (0 to 160) and the container's background colour.
#include <algorithm>
#include <cstdlib>

#include "frame_x.h"
#include "fuzz_bag.h"
#include "memory_site.h"
#include "memory_surface.h"

namespace {

constexpr Colour kUnpainted = Rgb(1, 2, 3);

struct Panel {
  Panel(int width, int height, Colour ambient) : surface(width, height, kUnpainted) { site.ambient = ambient; }
  MemorySite site;
  MemorySurface surface;
  GfxFrameX frame{site, surface};
};

bool SameProperties(const GfxFrameX &a, const GfxFrameX &b) {
  return a.FrameStyle() == b.FrameStyle() && a.ShadowOpacity() == b.ShadowOpacity() &&
         a.ShowShadow() == b.ShowShadow() && a.ShadowDepth() == b.ShadowDepth() &&
         a.FillColour() == b.FillColour() && a.BackColour() == b.BackColour() &&
         a.BackColourIs() == b.BackColourIs() && a.BorderColour() == b.BorderColour() &&
         a.CornerDepth() == b.CornerDepth();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const FuzzProperties p = PropertiesFromBytes(data, size);
  CheckStoredValues(p);
  const std::vector<double> numbers = NumbersOf(p.first);
  const int width = Within(numbers, 0, 0, 160, 60), height = Within(numbers, 1, 0, 160, 40);
  const Colour ambient = numbers.size() > 2 ? RoundToBits32(numbers[2]).value_or(0) : Rgb(224, 224, 224);

  // Every repaint draws ShadowDepth + 1 rings, rounded rectangles whose
  // corners reach CornerDepth pixels deep: with both in the thousands that is
  // minutes of work on this surface, and thousands of huge shapes for GDI.
  // How such depths paint is left open and the panel is used far inside
  // them, so those inputs are only read.
  const long rings = std::max<long>(StoredInt16(p.bag, L"ShadowDepth", 5), 2) + 1;
  const long corner = std::abs(static_cast<long>(StoredInt16(p.bag, L"CornerDepth", 10)));
  if (rings * std::min(3 * rings, corner) > 1000000) return 0;

  Panel panel(width, height, ambient);
  panel.frame.ReadProperties(p.bag);
  FUZZ_CHECK(panel.frame.ShadowDepth() >= 2);
  const std::vector<Colour> picture = Pixels(panel.surface);
  panel.frame.Refresh();
  FUZZ_CHECK(Pixels(panel.surface) == picture);

  MemoryPropertyBag saved;
  panel.frame.WriteProperties(saved);
  Panel loaded(width, height, ambient);
  loaded.frame.ReadProperties(saved);
  FUZZ_CHECK(SameProperties(panel.frame, loaded.frame));
  FUZZ_CHECK(Pixels(loaded.surface) == picture);
  return 0;
}
