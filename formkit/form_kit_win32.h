// A small form toolkit on plain Win32 for the program's windows.
//
// A Form is a top-level window (borderless unless its style asks for a
// caption or frame) with load, query-unload and unload handlers, a caption,
// a background colour, a position in twips, and controls. Lightweight
// controls (labels, images) have no window: the container they sit on paints
// them and hands them their mouse input. Windowed controls (group frames,
// picture boxes, combo boxes, custom controls) are child windows. Timers tick
// on the form's window, also while it is hidden. The program lives while any
// form is loaded; App::End stops it at once, without running any handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control_site.h"
#include "accessible_win32.h"
#include "window_win32.h"

namespace formkit {

// -- Screen ----------------------------------------------------------------
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

// -- Program ---------------------------------------------------------------
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

class Container;
class Form;


// A windowless control, painted by its container in the order it was added.
class Control {
 public:
  virtual ~Control() = default;
  void MovePixels(int left, int top, int width, int height);
  void MoveTwips(long left, long top, long width, long height);
  RECT Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  HCURSOR Cursor() const { return cursor_; }
  virtual void Paint(HDC dc) = 0;
  // Where the control may paint: its bounds, unless it says otherwise.
  virtual RECT PaintBounds(HDC) const { return bounds_; }

  std::function<void(int button, int shift, int x, int y)> OnMouseDown;
  std::function<void()> OnClick;

 protected:
  explicit Control(Container &container) : container_(container) {}
  void Invalidate();
  Container &container_;
  RECT bounds_ = {};
  bool visible_ = true;
  HCURSOR cursor_ = nullptr;
};

// A picture drawn from the control's top-left corner and cut off at the
// control's edges. Pictures are made for 96 DPI, where they are drawn at their
// own size; at other DPIs they grow or shrink with the control.
class Image : public Control {
 public:
  explicit Image(Container &container) : Control(container) {}
  void SetPicture(Picture picture);
  const Picture &GetPicture() const { return picture_; }
  void Paint(HDC dc) override;

 private:
  Picture picture_;
};

// Text on the container's background, in the form's font; long text wraps.
class Label : public Control {
 public:
  explicit Label(Container &container) : Control(container) {}
  void SetCaption(const std::wstring &caption);
  const std::wstring &Caption() const { return caption_; }
  void SetForeColour(COLORREF colour);
  // A dotted focus rectangle around the label, for a windowless control
  // whose caption it is.
  void SetFocusShown(bool shown);
  void Paint(HDC dc) override;
  RECT PaintBounds(HDC dc) const override;

 private:
  bool SingleLine(HDC dc) const;
  std::wstring caption_;
  // Whether the caption is drawn through the ANSI code page (it converts
  // there and back unchanged), and its text there; both follow SetCaption.
  bool ansiOnly_ = true;
  std::string ansiCaption_;
  COLORREF fore_ = RGB(0, 0, 0);
  bool focusShown_ = false;
};

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
  bool counted_ = false;  // among the loaded forms that keep the program alive
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

// A child window that holds controls under an etched frame with a caption.
class GroupFrame : public Container {
 public:
  GroupFrame(Container &parent, std::wstring caption);
  // Twips, in the parent container, or in `parentWindow` when a custom
  // control that holds other controls stands between them. False when the
  // window cannot be made (reported).
  [[nodiscard]] bool Create(long left, long top, long width, long height, HWND parentWindow = nullptr);
  Form &OwnerForm() override { return parent_.OwnerForm(); }

 protected:
  void PaintBackground(HDC dc) override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Container &parent_;
  std::wstring caption_;
};

// An unseen window of no size that takes the keyboard focus for windowless
// controls their container paints (a group of option marks): a tab stop that
// wants the arrow keys and hands keys and focus changes on. Without the tab
// stop it only stands in for a windowless control to screen readers.
class KeyboardStop : public binding::Window {
 public:
  // In `parent`, in the tab order after the windows made before it. False
  // when the window cannot be made (reported).
  [[nodiscard]] bool Create(HWND parent, bool tabStop = true);
  std::function<void(UINT key)> OnKeyDown;
  std::function<void(bool focused)> OnFocus;
  AccessibleParts accessible;  // what it stands for, to screen readers

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A windowed picture holder: an assigned picture that stays, and pictures
// drawn on it at run time that Clear removes. Pictures are sized for the
// screen's DPI as on an Image.
class PictureBox : public binding::Window {
 public:
  explicit PictureBox(Container &parent) : parent_(parent) {}
  // Twips, in the parent. False when the window cannot be made (reported).
  [[nodiscard]] bool Create(long left, long top, long width, long height);
  void SetBackColour(COLORREF colour);
  void SetPicture(Picture picture);
  const Picture &GetPicture() const { return picture_; }
  void DrawPicture(Picture picture, int x, int y);
  void Clear();
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  // A tab stop last in the tab order: it shows a focus rectangle while it
  // has the focus, and Enter clicks it.
  void MakeLastTabStop();
  std::function<void()> OnClick;
  AccessibleParts accessible;  // what it stands for, to screen readers

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  Container &parent_;
  COLORREF back_ = RGB(0, 0, 0);
  Picture picture_;
  struct Drawn {
    Picture picture;
    int x, y;
  };
  std::vector<Drawn> drawn_;
  HCURSOR cursor_ = nullptr;
  bool pressed_ = false;
  bool focused_ = false;
};

// An editable drop-down combo box: the system's control, bound to this
// object as its own.
class ComboBox : public binding::Window {
 public:
  explicit ComboBox(Container &parent) : parent_(parent) {}
  // Twips, in the parent. False when the window cannot be made (reported).
  [[nodiscard]] bool Create(long left, long top, long width, long height, int listRows = 10);
  void SetText(const std::wstring &text);
  std::wstring Text() const;
  void AddItem(const std::wstring &item);
  int ListCount() const;
  std::wstring ListItem(int index) const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  // What it is to screen readers, in place of the system's object (which
  // under some systems says no more than "client").
  AccessibleParts accessible;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Container &parent_;
};

// What a custom control sees of the form it sits on.
class FormControlSite : public ControlSite {
 public:
  FormControlSite(Container &container, std::wstring name) : container_(container), name_(std::move(name)) {}
  // The custom control's own window, once it exists.
  void Attach(HWND control, std::function<void()> accessKeyPressed);
  // Captions of the push buttons on the form, for a new button's default caption.
  std::function<std::vector<std::wstring>()> ButtonCaptions;

  Colour AmbientBackColour() override;
  std::optional<ContrastColours> AmbientContrast() override { return container_.Contrast(); }
  bool AmbientDisplayAsDefault() override;
  bool UserMode() override { return true; }
  std::wstring InstanceName() override { return name_; }
  std::vector<std::wstring> PushButtonCaptions() override;
  // Tells screen readers of a new caption or a control switched on or off.
  void PropertyChanged(const std::wstring &name) override;
  void SetAccessKeys(const std::wstring &keys) override;
  void SendTab(bool backwards) override;
  void DoEvents() override { App::DoEvents(); }
  std::uintptr_t ContainerWindow() override;
  bool ContainerIsMdiChild() override { return false; }
  int ScreenDpiX() override { return formkit::LogicalPixels(LOGPIXELSX); }

 private:
  Container &container_;
  std::wstring name_;
  HWND control_ = nullptr;
  std::function<void()> accessKeyPressed_;
  std::wstring pendingKeys_;
};

}  // namespace formkit
