// Controls without a window of their own: their container paints them in the
// order they were added and hands them their mouse input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app_win32.h"

namespace formkit {

class Container;

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

}  // namespace formkit
