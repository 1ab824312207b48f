// How the programs' windows reach the C++ objects behind them, written once
// for both programs: the forms and controls of the screensaver program, the
// monitor covers of a full-screen run, the renderer's window and the
// windows the message hook observes all derive from binding::Window.
//
// A window is bound to its object in one of two ways. A window of one of
// the programs' own classes is made by CreateBound, with the object as its
// creation parameter: at WM_NCCREATE, before any other message reaches it,
// the class's window procedure keeps the object with the window and gives it
// its handle. Only the window CreateBound is making is bound so, and only
// once: a WM_NCCREATE that another program sends names whatever it likes.
// A window made otherwise (a system control, another object's window) is
// bound by Attach, through a subclass; that is
// subclass_win32.cpp, a library of its own, so that a program that attaches
// nothing links no common controls. Either way every message then goes to
// HandleMessage, and at WM_NCDESTROY, once the object has handled it, the
// binding lets go and clears the handle: Hwnd() is empty from then on.
//
// Release is the one place a binding ends before its window does: a window
// the object owns is destroyed while the object still handles its messages,
// one it only observes goes on without it. An object that goes before its
// window ends the binding on its way out, letting go first, so that the
// window's last messages never reach the half-destroyed object; one that
// wants to see them (WM_DESTROY) calls Release in its own destructor.
#pragma once

#include <windows.h>

namespace binding {

// A window class of the programs; its window procedure is the binding's.
struct WindowClass {
  const char *name;  // ASCII
  UINT style = 0;
  // An ANSI class: its windows' messages carry ANSI text, and they take the
  // ANSI default handling. Unicode otherwise.
  bool ansi = false;
  // A stock brush (BLACK_BRUSH) that erases the background; without one the
  // windows paint every pixel themselves.
  int stockBackground = -1;
};

// Whether an object owns the window it attaches to: its window goes with
// it, or it only observes the window, which goes on without it.
enum class Ownership { Own, Observe };

class Window {
 public:
  Window(const Window &) = delete;
  Window &operator=(const Window &) = delete;

  // Empty before the window is made and once it has gone.
  HWND Hwnd() const { return hwnd_; }

  // Ends the binding: destroys a window this object owns (while the object
  // still handles its messages), lets one it observes go on. Nothing happens
  // without a window.
  void Release() { End(true); }

 protected:
  Window() = default;
  virtual ~Window() { End(false); }

  // Makes this object's window, registering its class the first time. False
  // when the class or the window cannot be made (or WM_CREATE refused the
  // window); the failure is reported. The title is ASCII.
  [[nodiscard]] bool CreateBound(const WindowClass &windowClass, DWORD exStyle, DWORD style, const char *title,
                                 int x, int y, int width, int height, HWND parent);
  // Binds a window made otherwise; its own procedure handles what
  // HandleMessage passes on. Several objects may attach to one window: the
  // latest sees its messages first, and each may let go in any order. False
  // when it cannot be bound (reported).
  [[nodiscard]] bool Attach(HWND window, Ownership ownership);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window's own handling: the default one of its class's kind, or the
  // procedure of an attached window.
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return binding_->defaultHandling(hwnd_, message, wParam, lParam);
  }

 private:
  // How a window is bound: its own handling, and how the binding lets go.
  struct Binding {
    LRESULT(WINAPI *defaultHandling)(HWND, UINT, WPARAM, LPARAM);
    void (*letGo)(HWND hwnd, Window *self);
  };
  static const Binding kAnsiClass, kUnicodeClass, kSubclass;

  // The window procedure of every class CreateBound registers, and the subclass
  // procedure of every attached window.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR self);
  static LRESULT Deliver(Window *self, UINT message, WPARAM wParam, LPARAM lParam);
  static void LetGoOfClass(HWND hwnd, Window *self);
  static void LetGoOfSubclass(HWND hwnd, Window *self);

  void Bind(HWND hwnd, const Binding &binding, bool owned);
  void LetGo();
  void End(bool stillHandled);

  HWND hwnd_ = nullptr;
  const Binding *binding_ = nullptr;
  bool owned_ = true;
};

}  // namespace binding
