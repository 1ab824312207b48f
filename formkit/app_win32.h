// The program and the screen it runs on: the screen's size, DPI and pointer,
// the high-contrast colours, the program's path, title and message loop, and
// the pictures of its resources.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "contrast.h"

namespace formkit {

int LogicalPixels(int index);  // LOGPIXELSX or LOGPIXELSY of the screen, 96 if unknown
int ScreenWidthPixels();  // the primary screen
int ScreenHeightPixels();
long ScreenWidthTwips();
long ScreenHeightTwips();
// Twips to whole pixels at the screen's DPI: the nearest integer, ties to even.
int PixelsX(long twips);
int PixelsY(long twips);
// A length in pixels at 96 DPI scaled to the screen's DPI, as pictures made
// for 96 DPI are shown.
int ScaledX(int pixelsAt96);
int ScaledY(int pixelsAt96);
enum class MousePointer { Default, Hourglass };
void SetScreenMousePointer(MousePointer pointer);
MousePointer ScreenMousePointer();

// The scheme's colours while the user has high contrast on, else nothing;
// read once and again after RefreshHighContrast, which says whether they
// changed. Forms refresh them when the system's colours or settings change.
std::optional<ContrastColours> HighContrast();
bool RefreshHighContrast();


namespace App {
std::wstring Path();     // folder of the program, without a trailing backslash
std::wstring Title();    // "Brumalis (ScreenSaver)"
std::wstring Command();  // the argument text of the command line
void MsgBox(const std::wstring &text);
[[noreturn]] void End();
// Runs the message loop while any form is loaded.
int Run();
// Processes the window messages waiting now, and returns.
void DoEvents();
}  // namespace App

// A bitmap shared by the controls that show it; deleted with its last user.
using Picture = std::shared_ptr<std::remove_pointer_t<HBITMAP>>;
Picture LoadPictureResource(int id);

}  // namespace formkit
