// The push button's colours in each of its states, as users are promised
// them, typed once for every test that looks at the button; indexed by state.
#pragma once

#include <cstdint>

#include "xp_button.h"

struct XpButtonLook {
  std::int32_t state;
  Colour outline, one, two, diagonal, flat;  // flat 0 in the lit states
  Colour row1 = 0, row2 = 0, rowH3 = 0, rowH2 = 0, edgeTop = 0;
  Colour edgeTwoUp = 0;  // the edge band at row H - 4, two rows up its gradient
};

inline constexpr XpButtonLook kXpButtonLooks[] = {
    {XpButton::Disabled, Rgb(201, 199, 186), Rgb(206, 199, 189), Rgb(196, 177, 140), Rgb(196, 177, 140),
     Rgb(245, 244, 234)},
    {XpButton::Normal, Rgb(0, 60, 116), Rgb(123, 150, 173), Rgb(33, 85, 132), Rgb(82, 125, 165), 0,
     Rgb(255, 255, 255), Rgb(254, 254, 254), Rgb(226, 223, 214), Rgb(214, 208, 197), Rgb(252, 252, 251),
     Rgb(238, 237, 232)},
    {XpButton::Focused, Rgb(0, 60, 116), Rgb(123, 150, 173), Rgb(33, 85, 132), Rgb(82, 125, 165), 0,
     Rgb(206, 231, 255), Rgb(189, 215, 247), Rgb(140, 174, 231), Rgb(107, 130, 239), Rgb(189, 211, 247),
     Rgb(145, 178, 233)},
    {XpButton::Hot, Rgb(0, 60, 116), Rgb(123, 150, 173), Rgb(33, 85, 132), Rgb(82, 125, 165), 0,
     Rgb(255, 243, 206), Rgb(255, 219, 140), Rgb(255, 178, 49), Rgb(230, 150, 0), Rgb(225, 223, 156),
     Rgb(252, 187, 60)},
    {XpButton::Pressed, Rgb(0, 60, 116), Rgb(123, 150, 173), Rgb(33, 85, 132), Rgb(82, 125, 165),
     Rgb(231, 227, 222)},
};

// A disabled button's caption.
inline constexpr Colour kXpButtonGreyCaption = Rgb(161, 161, 146);
