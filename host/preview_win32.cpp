// The still picture in the display settings' preview pane: a borderless black
// window made a child of the pane, with the built-in picture at its top left.
#include <windows.h>

#include <cwchar>

#include "command_line.h"
#include "form_kit_win32.h"
#include "host_modes_win32.h"
#include "host_resources.h"
#include "shared_names.h"

namespace {

class PreviewForm : public formkit::Form {
 public:
  PreviewForm() : Form(L"Preview Window", WS_CLIPSIBLINGS | WS_CLIPCHILDREN) {
    SetBackColour(RGB(0, 0, 0));
    Img_Prev.SetPicture(formkit::LoadPictureResource(IDB_PREVIEW));
  }
  formkit::Image &Img_Prev = Add<formkit::Image>();  // the picture (a fixed name)
};

PreviewForm *Brumalis_R = nullptr;  // the preview window (a fixed name)

}  // namespace

HWND WindowOfHandleBits(std::uint32_t bits) {
  // 64-bit Windows widens a 32-bit window handle by sign extension
  // (LongToHandle); a 32-bit program takes the bits as they are.
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(bits)));
}

// Whether a window can be a preview pane: the desktop and the shell's window
// cannot (the preview would cover the screen and never be closed), nor can
// one of this program's own windows, whose classes all begin with its name
// (the preview would hold itself).
bool CanHoldPreview(HWND pane) {
  if (!IsWindow(pane) || pane == GetDesktopWindow() || pane == GetShellWindow()) return false;
  DWORD owner = 0;
  GetWindowThreadProcessId(pane, &owner);
  if (owner != GetCurrentProcessId()) return true;
  wchar_t cls[64] = L"";
  GetClassNameW(pane, cls, 64);
  return std::wcsncmp(cls, kOwnClassPrefix, std::wcslen(kOwnClassPrefix)) != 0;
}

void ShowPreview(const std::wstring &argumentText) {
  const auto handle = PaneHandle(argumentText);
  HWND pane = WindowOfHandleBits(handle.value_or(0));
  // Nothing but the pane could ever close a window embedded in it: without a
  // pane there is nothing to show and nobody to end the program.
  if (!CanHoldPreview(pane)) formkit::App::End();

  RECT r = {};
  GetWindowRect(pane, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;

  Brumalis_R = new PreviewForm;
  // Without its window (reported) there is nothing to show either.
  if (!Brumalis_R->Load()) formkit::App::End();
  HWND preview = Brumalis_R->Hwnd();
  SetWindowLongA(preview, GWL_STYLE, GetWindowLongA(preview, GWL_STYLE) | WS_CHILD);
  SetParent(preview, pane);
  MoveWindow(preview, 0, 0, width, height, TRUE);
  Brumalis_R->Img_Prev.MovePixels(0, 0, width, height);
  Brumalis_R->Show();
}
