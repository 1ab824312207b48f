// What the form asks of every control that paints itself (the framed panel,
// the push button): a new instance's defaults, its stored properties, its
// size, the container's ambient values, and what it tells a screen reader. The control's window calls these
// for the form; tests call them directly.
#pragma once

#include <string>

#include "accessible_facts.h"
#include "control_site.h"

class PaintedControl {
 public:
  virtual ~PaintedControl() = default;
  // A new instance, as first placed in a designer: the defaults.
  virtual void InitNew() = 0;
  // A loaded instance: its stored properties (an empty bag gives the defaults).
  virtual void ReadProperties(const PropertyBag &bag) = 0;
  // The properties that differ from their defaults.
  virtual void WriteProperties(PropertyBag &bag) const = 0;
  // The control's window has a new size.
  virtual void Resize() = 0;
  // The container's ambient value of that name changed (its background
  // colour, whether it shows the control as its default one).
  virtual void AmbientChanged(const std::wstring &name) = 0;
  // Paints the whole look again: the system's colours or high contrast changed.
  virtual void Repaint() = 0;
  // What a screen reader is told about the control, whose window is at
  // `screen` and has the keyboard focus or not.
  virtual AccessibleFacts Describe(const Box &screen, bool focused) const = 0;
  // A screen reader's default action, after the reader's call has returned.
  virtual void DoDefaultAction() = 0;
};
