// What the screensaver program is asked to do, from its command line.
//
// The argument text is everything after the program's own path and the
// blanks that follow it. The mode is its second character, upper-cased; only
// that character counts, so /s, -S, /scr and xs all mean the full-screen run.
// For the preview the pane's window handle is the number that starts at the
// fourth character: "/p 1234" and "/p:1234" give 1234, "/p1234" gives 234.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The mode letter, or 0 when the argument text is shorter than two characters.
wchar_t ModeLetter(std::wstring_view argumentText);

// The pane handle's 32 bits; nothing when the number does not fit them. A
// window handle carries 32 significant bits on 64-bit Windows too, and the
// display settings may write it unsigned (up to 4294967295) or signed
// (-2147483648 to -1): both spellings name the same handle.
std::optional<std::uint32_t> PaneHandle(std::wstring_view argumentText);

enum class StartMode {
  Preview,          // P: a picture in the display settings' pane
  Settings,         // C: the settings dialog
  FullScreen,       // S: the screensaver, cursor hidden
  FullScreenShown,  // empty argument text: the screensaver, cursor left visible
  CheckOnly,        // anything else: folder, settings and renderer check, then end
};

StartMode ModeOf(std::wstring_view argumentText);
