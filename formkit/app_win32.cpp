// The program and the screen: twips, the screen-wide pointer, the message
// loops, the command line and pictures from the resources.
#include <algorithm>

#include "argument_text.h"
#include "form_kit_internal_win32.h"
#include "numbers.h"
#include "report_failure_win32.h"
#include "screen_units.h"
#include "text_win32.h"

namespace formkit {

namespace internal {

std::vector<Form *> LoadedFormList;

namespace {
MousePointer ScreenPointer = MousePointer::Default;
}  // namespace

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

int ShiftState() {
  return ((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
         ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

bool IsPointerHourglass() { return ScreenPointer == MousePointer::Hourglass; }

HCURSOR Arrow() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)); }
HCURSOR Hourglass() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)); }

}  // namespace internal

using namespace internal;

// -- Screen ----------------------------------------------------------------
int LogicalPixels(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return UsableDpi(dpi);
}

int ScreenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }
long ScreenWidthTwips() { return PixelsToTwips(ScreenWidthPixels(), LogicalPixels(LOGPIXELSX)); }
long ScreenHeightTwips() { return PixelsToTwips(ScreenHeightPixels(), LogicalPixels(LOGPIXELSY)); }
int PixelsX(long twips) { return TwipsToPixels(twips, LogicalPixels(LOGPIXELSX)); }
int PixelsY(long twips) { return TwipsToPixels(twips, LogicalPixels(LOGPIXELSY)); }
int ScaledX(int pixelsAt96) { return ScaleFromBaseDpi(pixelsAt96, LogicalPixels(LOGPIXELSX)); }
int ScaledY(int pixelsAt96) { return ScaleFromBaseDpi(pixelsAt96, LogicalPixels(LOGPIXELSY)); }

// The screen-wide pointer overrides every form's own until set back.
void SetScreenMousePointer(MousePointer pointer) {
  ScreenPointer = pointer;
  ::SetCursor(pointer == MousePointer::Hourglass ? Hourglass() : Arrow());
}

MousePointer ScreenMousePointer() { return ScreenPointer; }

// -- Program ---------------------------------------------------------------
namespace App {

std::wstring Path() {
  wchar_t buffer[MAX_PATH * 2] = L"";
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  std::wstring path(buffer, n);
  const std::size_t slash = path.find_last_of(L"\\/");
  path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring Title() { return L"Brumalis (ScreenSaver)"; }

std::wstring Command() { return ArgumentText(GetCommandLineW()); }

void MsgBox(const std::wstring &text) {
  MessageBoxA(nullptr, ToAnsi(text).c_str(), ToAnsi(Title()).c_str(), MB_OK);
}

void End() { ExitProcess(0); }

}  // namespace App

// Keyboard handling the forms do before a message is dispatched: Tab moves
// the focus, Alt with an access key presses its control.
bool PreTranslate(MSG &msg) {
  for (Form *form : LoadedFormList) {
    if (form->Hwnd() && (msg.hwnd == form->Hwnd() || IsChild(form->Hwnd(), msg.hwnd)) &&
        form->PreTranslateMessage(msg))
      return true;
  }
  return false;
}

namespace internal {
void DispatchOne(MSG &msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  // Focus changes are reported after the message that caused them.
  HWND focus = GetFocus();
  for (Form *form : LoadedFormList) form->NoteFocus(focus);
}
}  // namespace

namespace App {

int Run() {
  MSG msg;
  while (!LoadedFormList.empty() && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
  return 0;
}

void DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchOne(msg);
  }
}

}  // namespace App

Picture LoadPictureResource(int id) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!bitmap) {
    binding::ReportFailure("loading the picture resource %d", id);
    return nullptr;
  }
  return Picture(bitmap, [](HBITMAP b) { DeleteObject(b); });
}


}  // namespace formkit
