// Whether the user has high contrast on, and the scheme's colours, as the
// painted controls see them through their site.
#include <windows.h>

#include <optional>

#include "form_kit_win32.h"

namespace formkit {
namespace {

std::optional<ContrastColours> Current;
bool Read = false;

bool HighContrastOn() {
  HIGHCONTRASTW state = {};
  state.cbSize = sizeof state;
  if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) && (state.dwFlags & HCF_HIGHCONTRASTON))
    return true;
  // Some systems answer the query with "off" whatever was chosen; the choice
  // is also kept with the user's accessibility settings.
  wchar_t flags[32] = {};
  DWORD size = sizeof flags;
  return RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", RRF_RT_REG_SZ,
                      nullptr, flags, &size) == ERROR_SUCCESS &&
         HighContrastInFlags(flags);
}

std::optional<ContrastColours> ReadContrast() {
  if (!HighContrastOn()) return std::nullopt;
  return ContrastColours{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_HIGHLIGHT),
                         GetSysColor(COLOR_GRAYTEXT)};
}

}  // namespace

std::optional<ContrastColours> HighContrast() {
  if (!Read) RefreshHighContrast();
  return Current;
}

bool RefreshHighContrast() {
  const std::optional<ContrastColours> now = ReadContrast();
  const bool changed = !Read || now != Current;
  Current = now;
  Read = true;
  return changed;
}

}  // namespace formkit
