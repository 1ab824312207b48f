// What a screen reader is told about a control, or about one part of a
// control that paints several: what it is, what it is called, its state, its
// value, what its default action does and where it is. The names are the
// form kit's own; accessible_win32.cpp turns them into the system's numbers.
#pragma once

#include <string>

#include "surface.h"

enum class AccessibleRole { StaticText, Grouping, RadioButton, PushButton, Link, ComboBox };

// States, combined as bits.
enum AccessibleState : unsigned {
  kAccessibleFocusable = 1u << 0,
  kAccessibleFocused = 1u << 1,
  kAccessibleUnavailable = 1u << 2,  // greyed, takes no input
  kAccessibleDefault = 1u << 3,      // the default push button
  kAccessibleReadOnly = 1u << 4,
  kAccessibleChecked = 1u << 5,
  kAccessibleLinked = 1u << 6,
  kAccessibleExpanded = 1u << 7,
  kAccessibleCollapsed = 1u << 8,
};

struct AccessibleFacts {
  AccessibleRole role = AccessibleRole::Grouping;
  std::wstring name;
  std::wstring value;  // the text of an editable part
  unsigned state = 0;  // AccessibleState bits
  std::wstring defaultAction;
  Box screen = {};  // where it is, in screen pixels
};
