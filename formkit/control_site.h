// What a custom control sees of the form that contains it: stored
// properties, ambient values, and a few services. The form kit implements it
// for the running program; tests implement it in memory.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ascii.h"
#include "contrast.h"
#include "surface.h"

// Mouse buttons as controls and handlers receive them.
constexpr std::int16_t kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

// Named stored properties of one control, kept with its form. Keys are
// matched without regard to case; a missing key reads as nothing.
class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  virtual std::optional<std::wstring> Read(const std::wstring &key) const = 0;
  virtual void Write(const std::wstring &key, const std::wstring &value) = 0;
};

class MemoryPropertyBag : public PropertyBag {
 public:
  MemoryPropertyBag() = default;
  MemoryPropertyBag(std::initializer_list<std::pair<const std::wstring, std::wstring>> values) {
    for (const auto &v : values) Write(v.first, v.second);
  }
  std::optional<std::wstring> Read(const std::wstring &key) const override {
    const auto it = values_.find(Fold(key));
    if (it == values_.end()) return std::nullopt;
    return it->second.second;
  }
  void Write(const std::wstring &key, const std::wstring &value) override {
    values_[Fold(key)] = {key, value};
    order_.push_back(key);
  }
  bool Has(const std::wstring &key) const { return values_.count(Fold(key)) > 0; }
  const std::vector<std::wstring> &WriteOrder() const { return order_; }

 private:
  static std::wstring Fold(const std::wstring &key) { return LowerAscii(key); }
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> values_;
  std::vector<std::wstring> order_;
};

// Stored values as text: numbers and colours in decimal (colours as signed
// 32-bit values), booleans as -1 and 0. A missing value, or one that is no
// number or does not fit, reads as the fallback.
std::int32_t StoredInt32(const PropertyBag &bag, const std::wstring &key, std::int32_t fallback);
std::int16_t StoredInt16(const PropertyBag &bag, const std::wstring &key, std::int16_t fallback);
bool StoredBool(const PropertyBag &bag, const std::wstring &key, bool fallback);
Colour StoredColour(const PropertyBag &bag, const std::wstring &key, Colour fallback);
std::wstring BoolText(bool value);
std::wstring ColourText(Colour value);

// A font as stored text: "name,points,weight,charset,italic,underline,strikeout",
// for example "Verdana,8.25,400,0,0,0,0". Written fonts read back as the same
// font. Reading gives nothing for a field that is no number, an empty name, a
// size that is not finite, or a weight or character set beyond an int.
std::wstring FontToText(const FontSpec &font);
std::optional<FontSpec> FontFromText(const std::wstring &text);

class ControlSite {
 public:
  virtual ~ControlSite() = default;

  // Ambient values of the container.
  virtual Colour AmbientBackColour() = 0;
  virtual bool AmbientDisplayAsDefault() = 0;  // this control is shown as the default button
  virtual bool UserMode() = 0;                 // true at run time, false in a designer
  // The colours to draw with while the user has high contrast on; nothing
  // while it is off, when the controls keep their own look.
  virtual std::optional<ContrastColours> AmbientContrast() { return std::nullopt; }

  // The container's names and neighbours.
  virtual std::wstring InstanceName() = 0;
  virtual std::vector<std::wstring> PushButtonCaptions() = 0;  // every push button of the form

  // Services.
  virtual void PropertyChanged(const std::wstring &name) = 0;
  virtual void SetAccessKeys(const std::wstring &keys) = 0;
  virtual void SendTab(bool backwards) = 0;  // focus to the next, or previous, control
  virtual void DoEvents() = 0;               // let pending window messages be processed
  virtual std::uintptr_t ContainerWindow() = 0;
  virtual bool ContainerIsMdiChild() = 0;
  virtual int ScreenDpiX() = 0;  // dots per inch across, 96 where the screen tells none
};
