#include "window_win32.h"

#include "report_failure_win32.h"

namespace binding {

namespace {

// The programs' class names and creation titles are short ASCII texts.
class Wide {
 public:
  explicit Wide(const char *ascii) {
    std::size_t i = 0;
    for (; ascii[i] && i + 1 < sizeof text_ / sizeof text_[0]; ++i) text_[i] = static_cast<wchar_t>(ascii[i]);
    text_[i] = L'\0';
  }
  const wchar_t *c_str() const { return text_; }

 private:
  wchar_t text_[80];
};

// Registers the class under `name` unless this program already has it.
template <typename WndClass, typename Char>
bool RegisterOnce(const Char *name, const WindowClass &windowClass, WNDPROC procedure,
                  BOOL(WINAPI *lookUp)(HINSTANCE, const Char *, WndClass *), ATOM(WINAPI *add)(const WndClass *)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WndClass wc = {};
  wc.cbSize = sizeof wc;
  if (lookUp(instance, name, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = windowClass.style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground =
      static_cast<HBRUSH>(windowClass.stockBackground >= 0 ? GetStockObject(windowClass.stockBackground) : nullptr);
  wc.lpszClassName = name;
  return add(&wc) != 0;
}

bool Register(const WindowClass &windowClass, WNDPROC procedure) {
  if (windowClass.ansi) return RegisterOnce(windowClass.name, windowClass, procedure, GetClassInfoExA, RegisterClassExA);
  const Wide name(windowClass.name);
  return RegisterOnce(name.c_str(), windowClass, procedure, GetClassInfoExW, RegisterClassExW);
}

// The window CreateBound is making now, and on which thread. Only that
// window is bound at WM_NCCREATE: any program may send that message to any
// window, with a creation parameter of its choosing.
struct Creating {
  DWORD thread;
  Window *window;
};
Creating NowCreating = {0, nullptr};

}  // namespace

const Window::Binding Window::kAnsiClass = {DefWindowProcA, LetGoOfClass};
const Window::Binding Window::kUnicodeClass = {DefWindowProcW, LetGoOfClass};

bool Window::CreateBound(const WindowClass &windowClass, DWORD exStyle, DWORD style, const char *title, int x, int y,
                    int width, int height, HWND parent) {
  if (!Register(windowClass, Procedure)) {
    ReportFailure("registering the window class %s", windowClass.name);
    return false;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // A window made while this one is (a child in its WM_CREATE) takes the
  // record over, and gives it back when it is made.
  const Creating outer = NowCreating;
  NowCreating = {GetCurrentThreadId(), this};
  const HWND made = windowClass.ansi ? CreateWindowExA(exStyle, windowClass.name, title, style, x, y, width, height,
                                                       parent, nullptr, instance, this)
                                     : CreateWindowExW(exStyle, Wide(windowClass.name).c_str(), Wide(title).c_str(),
                                                       style, x, y, width, height, parent, nullptr, instance, this);
  NowCreating = outer;
  if (!made) {
    ReportFailure("creating a window of class %s", windowClass.name);
    return false;
  }
  return true;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *self = reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    // A bound window is never bound again; an unbound one only to the object
    // making a window on this thread, once, and only when the message names
    // that object. The record says which object it is: the creation
    // parameter alone may come from anyone (another program's message
    // arrives with a copy of its own creation data, which the system made
    // readable).
    if (self) return FALSE;
    const auto *creation = reinterpret_cast<const CREATESTRUCTW *>(lParam);
    if (NowCreating.window && NowCreating.thread == GetCurrentThreadId() && creation &&
        creation->lpCreateParams == NowCreating.window && !NowCreating.window->hwnd_) {
      self = NowCreating.window;
      NowCreating.window = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->Bind(hwnd, IsWindowUnicode(hwnd) ? kUnicodeClass : kAnsiClass, true);
    }
  }
  if (!self) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                          : DefWindowProcA(hwnd, message, wParam, lParam);
  return Deliver(self, message, wParam, lParam);
}

LRESULT Window::Deliver(Window *self, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  // The window's last message: nothing reaches the object through it any more.
  if (message == WM_NCDESTROY && self->hwnd_) self->LetGo();
  return result;
}

void Window::LetGoOfClass(HWND hwnd, Window *) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }

void Window::Bind(HWND hwnd, const Binding &binding, bool owned) {
  hwnd_ = hwnd;
  binding_ = &binding;
  owned_ = owned;
}

void Window::LetGo() {
  binding_->letGo(hwnd_, this);
  hwnd_ = nullptr;
}

void Window::End(bool stillHandled) {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  if (!owned_ || !stillHandled) LetGo();
  if (owned_) DestroyWindow(hwnd);
  // A window that would not go (one of another thread) is let go all the same.
  if (hwnd_) LetGo();
}

}  // namespace binding
