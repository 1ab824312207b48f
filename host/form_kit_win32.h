// A small form toolkit on plain Win32 for the program's windows.
//
// A Form is a top-level window (borderless unless its style asks for a
// caption or frame) with load, query-unload and unload handlers,
// a caption, a background colour, a position in twips, and lightweight
// controls (pictures, labels) that it paints itself. Timers tick on the form's
// window, also while it is hidden. The program lives while any form is loaded;
// App::End stops it at once, without running any handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace formkit {

// -- Screen ----------------------------------------------------------------
int TwipsPerPixelX();  // 15 at 96 dots per inch
int TwipsPerPixelY();
long ScreenWidthTwips();
long ScreenHeightTwips();
enum class MousePointer { Default, Hourglass };
void SetScreenMousePointer(MousePointer pointer);
MousePointer ScreenMousePointer();

// -- Program ---------------------------------------------------------------
namespace App {
std::wstring Path();     // folder of the program, without a trailing backslash
std::wstring Title();    // "Brumalis (ScreenSaver)"
std::wstring Command();  // the argument text of the command line
void MsgBox(const std::wstring &text);
[[noreturn]] void End();
// Runs the message loop while any form is loaded.
int Run();
}  // namespace App

class Form;

// A windowless control, painted by its form in the order it was added.
class Control {
 public:
  virtual ~Control() = default;
  void MovePixels(int left, int top, int width, int height);
  RECT Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  virtual void Paint(HDC dc) = 0;

 protected:
  explicit Control(Form &form) : form_(form) {}
  void Invalidate();
  Form &form_;
  RECT bounds_ = {};
  bool visible_ = true;
};

// A picture drawn at its own size from the control's top-left corner and cut
// off at the control's edges.
class Image : public Control {
 public:
  explicit Image(Form &form) : Control(form) {}
  ~Image() override;
  void SetPicture(HBITMAP bitmap);  // the image takes ownership
  HBITMAP Picture() const { return picture_; }
  void Paint(HDC dc) override;

 private:
  HBITMAP picture_ = nullptr;
};

class Timer {
 public:
  Timer(Form &form, std::function<void()> tick);
  void SetInterval(UINT milliseconds);
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

 private:
  friend class Form;
  void Apply();
  Form &form_;
  std::function<void()> tick_;
  UINT interval_ = 0;
  bool enabled_ = true;
  UINT_PTR id_;
};

enum class UnloadMode { ControlMenu = 0, Code = 1 };

class Form {
 public:
  Form(std::wstring caption, DWORD style, DWORD exStyle = 0);
  virtual ~Form();
  Form(const Form &) = delete;
  Form &operator=(const Form &) = delete;

  void Load();          // creates the window hidden; the load handler runs at once
  void Show();          // modeless
  void ShowModal();     // no owner; returns when the form has been unloaded
  bool Unload(UnloadMode mode = UnloadMode::Code);  // false when a handler cancelled
  bool IsLoaded() const { return hwnd_ != nullptr; }
  HWND Hwnd() const { return hwnd_; }

  void SetCaption(const std::wstring &caption);
  void SetBackColour(COLORREF colour);
  void MoveTwips(long left, long top, long width, long height);

  template <typename T, typename... Args>
  T &Add(Args &&...args) {
    controls_.push_back(std::make_unique<T>(*this, std::forward<Args>(args)...));
    return static_cast<T &>(*controls_.back());
  }

 protected:
  virtual void OnLoad() {}
  virtual void OnQueryUnload(bool & /*cancel*/, UnloadMode /*mode*/) {}
  virtual void OnUnload(bool & /*cancel*/) {}
  // Messages not handled by the kit; return true when handled.
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT & /*result*/) { return false; }

 private:
  friend class Timer;
  friend class Control;
  static void RegisterClassOnce();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  void Destroyed();

  std::wstring caption_;
  DWORD style_, exStyle_;
  COLORREF back_ = RGB(0x80, 0x80, 0x80);
  HWND hwnd_ = nullptr;
  bool counted_ = false;  // among the loaded forms that keep the program alive
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Timer *> timers_;
};

}  // namespace formkit
