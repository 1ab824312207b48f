#include "frame_x_win32.h"

#include "paint_win32.h"

namespace {

constexpr wchar_t kFrameClass[] = L"BrumalisGfxFrameX";

}  // namespace

GfxFrameXWindow::GfxFrameXWindow(ControlSite &site) : site_(site) {}

GfxFrameXWindow::~GfxFrameXWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND GfxFrameXWindow::Create(HWND parent, int x, int y, int width, int height, const PropertyBag *stored) {
  if (hwnd_) return hwnd_;
  if (!formkit::RegisterWindowClass(kFrameClass, &formkit::BridgeProc<GfxFrameXWindow>, 0)) return nullptr;
  // Made before the window, because CreateWindowEx already sends WM_SIZE.
  image_ = std::make_unique<GdiSurface>();
  control_ = std::make_unique<GfxFrameX>(site_, *image_, [this] {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  });
  stored_ = stored;
  const HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width,
                                    height, parent, nullptr, GetModuleHandleW(nullptr), this);
  stored_ = nullptr;
  if (!hwnd) {
    control_.reset();
    image_.reset();
  }
  return hwnd;
}

void GfxFrameXWindow::AmbientChanged() {
  if (control_) control_->AmbientChanged();
}

GfxFrameX &GfxFrameXWindow::Control() { return *control_; }

void GfxFrameXWindow::Save(PropertyBag &bag) {
  if (control_) control_->WriteProperties(bag);
}

void GfxFrameXWindow::SizeImageToClient() {
  RECT client = {};
  GetClientRect(hwnd_, &client);
  image_->Resize(client.right - client.left, client.bottom - client.top);
}

LRESULT GfxFrameXWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleOwnPaint(hwnd_, message, wParam, [this](HDC dc) { image_->Show(dc); }, result)) return result;
  switch (message) {
    case WM_CREATE:
      // The image takes the client size first, so that a load paints at once.
      SizeImageToClient();
      if (stored_) {
        control_->ReadProperties(*stored_);
      } else {
        control_->InitNew();
      }
      return 0;
    case WM_SIZE:
      SizeImageToClient();
      control_->Resize();
      return 0;
    case WM_NCDESTROY: {
      // Children are gone by now; nothing may reach this object afterwards,
      // also not a repaint callback from the panel.
      const HWND hwnd = hwnd_;
      formkit::Unbind(hwnd);
      hwnd_ = nullptr;
      control_.reset();
      image_.reset();
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      // Its child windows' notifications belong to the form.
      if (formkit::IsChildNotification(message)) return SendMessageW(GetParent(hwnd_), message, wParam, lParam);
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}
