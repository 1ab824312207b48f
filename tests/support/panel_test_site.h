// The colours the panel's tests paint with and the form the panel sits on.
#pragma once

#include "memory_site.h"

constexpr Colour Grey(int v) { return Rgb(v, v, v); }
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kDialogGrey = Grey(224);

struct PanelSite : MemorySite {
  PanelSite() {
    ambient = kDialogGrey;
    name = L"GFXFrameX1";
  }
};
