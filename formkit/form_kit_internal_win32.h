// What the form kit's files share among themselves, and nobody else uses.
#pragma once

#include <windows.h>

#include <vector>

#include "form_kit_win32.h"

namespace formkit::internal {

extern int LoadedForms;                 // forms that keep the program alive
extern std::vector<Form *> LoadedFormList;

HINSTANCE Instance();
int ShiftState();  // 1 Shift, 2 Ctrl, 4 Alt
bool IsPointerHourglass();
HCURSOR Arrow();
HCURSOR Hourglass();

// One message through the forms' keyboard handling to its window.
void DispatchOne(MSG &msg);

// A bitmap made for 96 DPI from (x, y), at its size for the screen's DPI (its
// own size at 96), cut off at the given width and height.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight);

}  // namespace formkit::internal
