// The push button loaded from any stored properties: it paints, and what it
// saves loads back as the same button with the same picture.
//
// First line: width and height of the button's window (0 to 120).
#include "fuzz_bag.h"
#include "memory_site.h"
#include "xp_button.h"

namespace {

struct Button {
  Button(int width, int height) : window(width, height) {
    site.name = L"XpButton1";
    site.container = 0x500;
  }
  MemorySite site;
  MemoryControlWindow window;
  HookTable hooks;
  XpButton button{site, window, hooks};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const FuzzProperties p = PropertiesFromBytes(data, size);
  CheckStoredValues(p);
  for (const auto &entry : p.entries) {
    // The access key is one character that follows an "&" in the caption.
    const std::wstring key = GetAccessKey(entry.second);
    FUZZ_CHECK(key.size() <= 1);
    if (!key.empty()) FUZZ_CHECK(entry.second.find(L'&') != std::wstring::npos);
  }
  const std::vector<double> numbers = NumbersOf(p.first);
  const int width = Within(numbers, 0, 0, 120, 75), height = Within(numbers, 1, 0, 120, 23);

  Button first(width, height);
  first.button.ReadProperties(p.bag);
  first.button.Resize();
  MemoryPropertyBag saved;
  first.button.WriteProperties(saved);

  Button second(width, height);
  second.button.ReadProperties(saved);
  second.button.Resize();
  const XpButton &a = first.button, &b = second.button;
  FUZZ_CHECK(a.Caption() == b.Caption() && a.Enabled() == b.Enabled() && a.ForeColor() == b.ForeColor() &&
             a.Font() == b.Font() && a.FocusRect() == b.FocusRect());
  FUZZ_CHECK(first.site.accessKeys == second.site.accessKeys);
  FUZZ_CHECK(Pixels(first.window.Image()) == Pixels(second.window.Image()));
  return 0;
}
