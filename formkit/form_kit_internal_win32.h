// What the form kit's files share among themselves, and nobody else uses.
#pragma once

#include <windows.h>

#include <vector>

#include "form_kit_win32.h"

namespace formkit::internal {

extern std::vector<Form *> LoadedFormList;  // the loaded forms, which keep the program alive

HINSTANCE Instance();
int ShiftState();  // 1 Shift, 2 Ctrl, 4 Alt
bool IsPointerHourglass();
HCURSOR Arrow();
HCURSOR Hourglass();

// Text in its own colour, or in the scheme's while high contrast is on and
// the container's form follows it.
COLORREF TextColour(Container &container, COLORREF own);

// One message through the forms' keyboard handling to its window.
void DispatchOne(MSG &msg);

// A bitmap made for 96 DPI from (x, y), at its size for the screen's DPI (its
// own size at 96), cut off at the given width and height.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight);

}  // namespace formkit::internal
