// What of the push button only a form designer reaches: the caption and
// defaults of a button newly placed on a form, and the stored properties a
// designer saves with its form. A running program only reads them back, at
// every load.
#include <optional>

#include "xp_button.h"

namespace {

// The stored keys are the properties' own names; a value equal to its
// default is not written.
const wchar_t kCaptionKey[] = L"Caption";      // text
const wchar_t kEnabledKey[] = L"Enabled";      // boolean, -1 or 0
const wchar_t kForeColorKey[] = L"ForeColor";  // colour, a signed decimal
const wchar_t kFontKey[] = L"Font";            // font text (FontToText)
const wchar_t kFocusRectKey[] = L"FocusRect";  // boolean, -1 or 0

const wchar_t kDefaultCaption[] = L"&OK";

}  // namespace

std::wstring DefaultCaption(const std::vector<std::wstring> &formCaptions, const std::wstring &instanceName) {
  std::wstring all = L"|";
  for (const std::wstring &caption : formCaptions) all += caption + L"|";
  for (const wchar_t *candidate : {L"&OK", L"&Cancel", L"&Apply"}) {
    if (all.find(L"|" + std::wstring(candidate) + L"|") == std::wstring::npos) return candidate;
  }
  return instanceName;
}

void XpButton::InitNew() {
  SetCaption(DefaultCaption(site_.PushButtonCaptions(), site_.InstanceName()));
  SetForeColor(0);
  SetEnabled(true);
  SetFocusRect(true);
}

// Each through its setter, in this order: Enabled last, since assigning it
// lets the button paint.
void XpButton::ReadStored(const PropertyBag &bag) {
  SetCaption(bag.Read(kCaptionKey).value_or(kDefaultCaption));
  SetForeColor(StoredColour(bag, kForeColorKey, 0));
  std::optional<FontSpec> font;
  if (const auto text = bag.Read(kFontKey)) font = FontFromText(*text);
  SetFont(font.value_or(fields_.pFONT));
  SetFocusRect(StoredBool(bag, kFocusRectKey, true));
  SetEnabled(StoredBool(bag, kEnabledKey, true));
}

void XpButton::WriteProperties(PropertyBag &bag) const {
  if (fields_.Caption != kDefaultCaption) bag.Write(kCaptionKey, fields_.Caption);
  if (!fields_.Enabled) bag.Write(kEnabledKey, BoolText(fields_.Enabled));
  if (fields_.ForeColor != 0) bag.Write(kForeColorKey, ColourText(fields_.ForeColor));
  // Only the initial font is left out: loading falls back to the current
  // font, which is the initial one for a button being loaded.
  if (!(fields_.pFONT == FontSpec{})) bag.Write(kFontKey, FontToText(fields_.pFONT));
  if (!fields_.FocusRect) bag.Write(kFocusRectKey, BoolText(fields_.FocusRect));
}
