// High contrast: the colours a user's high-contrast scheme gives the controls
// that draw themselves, and how the system keeps the user's choice.
#pragma once

#include <string>

#include "surface.h"

// The scheme's system colours the painted controls draw with while high
// contrast is on; their pictures stay as they are.
struct ContrastColours {
  Colour face;       // backgrounds and button faces
  Colour text;       // text, outlines and frames on them
  Colour highlight;  // the focused or hot look
  Colour grayText;   // what is disabled
  bool operator==(const ContrastColours &o) const {
    return face == o.face && text == o.text && highlight == o.highlight && grayText == o.grayText;
  }
  bool operator!=(const ContrastColours &o) const { return !(*this == o); }
};

// The user's stored high-contrast flags, a decimal number as text: whether
// the lowest bit (on) is set. Anything that is not a whole number reads as off.
bool HighContrastInFlags(const std::wstring &flags);
