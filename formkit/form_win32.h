// Forms, the containers they and their frames are, and the timers that tick
// on a form's window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lightweight_controls_win32.h"
#include "window_win32.h"

namespace formkit {

class Form;

class Timer {
 public:
  Timer(Form &form, std::function<void()> tick);
  ~Timer();
  Timer(const Timer &) = delete;
  Timer &operator=(const Timer &) = delete;
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

// A window that holds lightweight controls: it paints its background and
// them, hands them mouse presses and clicks, shows their pointers, and passes
// the notifications of windowed controls inside it up to its form.
class Container : public binding::Window {
 public:
  // The colour set, or the scheme's face colour while high contrast is on
  // and the form follows it.
  COLORREF BackColour();
  // The scheme's colours while high contrast is on and the form follows it.
  std::optional<ContrastColours> Contrast();
  void SetBackColour(COLORREF colour);
  virtual Form &OwnerForm() = 0;

  template <typename T, typename... Args>
  T &Add(Args &&...args) {
    controls_.push_back(std::make_unique<T>(*this, std::forward<Args>(args)...));
    return static_cast<T &>(*controls_.back());
  }

 protected:
  Container() = default;
  // Handles what every container handles; false for other messages.
  bool HandleContainer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  virtual void PaintBackground(HDC dc);
  void PaintAll(HDC dc);

  COLORREF back_ = RGB(0x80, 0x80, 0x80);
  std::vector<std::unique_ptr<Control>> controls_;

 private:
  Control *ControlAt(int x, int y);
  Control *pressed_ = nullptr;
};

enum class UnloadMode { ControlMenu = 0, Code = 1 };

class Form : public Container {
 public:
  Form(std::wstring caption, DWORD style, DWORD exStyle = 0);
  ~Form() override;

  // Creates the window hidden; the load handler runs at once. False when the
  // window cannot be made (reported): the form stays unloaded.
  bool Load();
  void Show();          // modeless
  void ShowModal();     // no owner; returns when the form has been unloaded
  bool Unload(UnloadMode mode = UnloadMode::Code);  // false when a handler cancelled
  bool IsLoaded() const { return Hwnd() != nullptr; }
  Form &OwnerForm() override { return *this; }

  void SetCaption(const std::wstring &caption);
  const std::wstring &Caption() const { return caption_; }
  // Whether the form and its controls draw in the user's high-contrast
  // scheme while it is on; forms that show pictures only do not.
  void SetFollowsHighContrast(bool follows) { followsContrast_ = follows; }
  bool FollowsHighContrast() const { return followsContrast_; }
  void MoveTwips(long left, long top, long width, long height);
  // Sizes the window so that its client area has this size.
  void SetClientSizeTwips(long width, long height);
  RECT WindowRectTwips() const;
  void SetIcon(HICON icon);
  // The font of the form's text; the form does not own it.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }

  // Focus moves to the next, or previous, control that takes it.
  void TabToNext(bool backwards);
  // Access keys of controls: pressing Alt with the key calls `pressed`.
  void SetAccessKeys(HWND control, const std::wstring &keys, std::function<void()> pressed);
  // Called with the window that had the focus and the one that has it now.
  std::function<void(HWND before, HWND now)> OnFocusMoved;
  // Enter and Escape, before the window with the focus sees them; returns
  // true when the form has acted on the key.
  std::function<bool(UINT key)> OnDialogKey;
  // After the system's colours or high contrast changed and the form and its
  // windows were asked to repaint: custom controls repaint their images here.
  std::function<void()> OnColoursChanged;
  // Tells the form where the focus is after a message was handled.
  void NoteFocus(HWND focus);
  // The control that takes the focus when the form is first activated.
  void SetInitialFocus(HWND control) { initialFocus_ = control; }

 protected:
  virtual void OnLoad() {}
  virtual void OnQueryUnload(bool & /*cancel*/, UnloadMode /*mode*/) {}
  virtual void OnUnload(bool & /*cancel*/) {}
  // Messages not handled by the kit; return true when handled.
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT & /*result*/) { return false; }

 private:
  friend class Timer;
  friend bool PreTranslate(MSG &msg);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RestoreFocus();
  void ColoursMayHaveChanged(UINT message);
  void Destroyed();
  bool PreTranslateMessage(MSG &msg);

  std::wstring caption_;
  DWORD style_, exStyle_;
  bool followsContrast_ = false;
  std::vector<Timer *> timers_;
  UINT_PTR nextTimerId_ = 1;
  HFONT font_ = nullptr;
  HWND lastFocus_ = nullptr;
  HWND initialFocus_ = nullptr;
  struct AccessKey {
    HWND control;
    std::wstring keys;
    std::function<void()> pressed;
  };
  std::vector<AccessKey> accessKeys_;
};

}  // namespace formkit
