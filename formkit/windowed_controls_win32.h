// Controls with a window of their own inside a form: group frames, the
// keyboard stops of windowless controls, picture boxes and combo boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "accessible_win32.h"
#include "form_win32.h"

namespace formkit {

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

  // What the stop stands for, to screen readers. A label's text, read-only:
  struct Option {
    const Image *mark;
    const Label *caption;
  };
  void ReadAs(const Label &label);
  // Or a group named `name` of option buttons, parts 1 to n in the order
  // given, each a mark with its caption in the stop's parent window; the
  // callbacks say which part is checked and which one has the keyboard, and
  // choose one (the default action).
  void StandForOptions(std::wstring name, std::vector<Option> options, std::function<int()> checkedPart,
                       std::function<int()> focusedPart, std::function<void(int part)> choose);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Box OnScreen(RECT inParent) const;
  AccessibleParts accessible_;
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
  // To screen readers a link to `target`, reachable with the keyboard when
  // `focusable`; its default action clicks it.
  void ActAsLink(std::wstring target, bool focusable);

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
  AccessibleParts accessible_;
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
  // The name screen readers give it (the caption of its group). It answers
  // them in place of the system's object, which under some systems says no
  // more than "client".
  void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool Dropped() const;
  Container &parent_;
  std::wstring accessibleName_;
  AccessibleParts accessible_;
};

}  // namespace formkit
