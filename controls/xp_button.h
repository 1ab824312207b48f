// ccXPButton: a self-painted push button. Its painting, its state rules and
// its stored properties are here, free of the platform; xp_button_win32.h
// gives it a window.
//
// The button paints a retained image: Redraw draws the whole look of one
// visual state on its window's image and the window only shows it. Input
// arrives through the On* calls, which follow the button's state rules;
// events leave through the std::function members. Two notifications a
// control does not get by itself, the pointer leaving its window and the
// activation of its container window, come through the message hook
// (zSubclass_Proc) after the window's own handling.
//
// xp_button.cpp holds the rules, xp_button_look.cpp the painting, and
// xp_button_design.cpp what only a form designer reaches: a new instance's
// caption and defaults, and the stored properties a designer saves (and
// every load reads back).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "control_site.h"
#include "control_window.h"
#include "message_hook.h"
#include "painted_control.h"
#include "surface.h"

// The keys the button answers to, as its window hands them on; every other
// key is Other (mouse buttons: control_site.h).
enum class ButtonKey { Other, Enter, Space, Left, Up, Right, Down };

// The look's colours, one row per painted element and one column per visual
// state; cells a state never paints hold kNoPixel.
enum PaletteRow : int {
  kOutline,
  kRow1Line,
  kRow2Line,
  kRowHMinus3Line,
  kRowHMinus2Line,
  kEdgeTop,
  kEdgeBottom,
  kFaceTop,
  kFaceBottom,
  kFlatFace,
  kCornerOneStep,
  kCornerTwoSteps,
  kCornerDiagonal,
  kPaletteRows
};
using Palette = std::array<std::array<Colour, 5>, kPaletteRows>;
Palette InitPalette();
// The look in a high-contrast scheme's colours: the same shapes, a plain face,
// the state shown by the outline and the inner band in the highlight colour.
Palette ContrastPalette(const ContrastColours &colours);

constexpr Colour kDisabledCaptionColour = Rgb(161, 161, 146);

// The drawing primitives of the look. DrawLine leaves out its end point;
// FillSolid covers l <= x <= r - 1, t <= y <= b - 1.
inline void DrawLine(Surface &surface, int x1, int y1, int x2, int y2, Colour c) { surface.Line(x1, y1, x2, y2, c); }
inline void FillSolid(Surface &surface, Box box, Colour c) { surface.FillSolid(box, c); }
// A vertical gradient of n + 1 = b - t + 1 rows: row b (one below the box)
// in `bottom`, up to row t in `top`, each row from x = l to r - 1.
void DrawGradient(Surface &surface, Box box, Colour top, Colour bottom);

// The access key the container routes to a caption: the lower-cased
// character after the first single "&", or nothing. "&&" stands for one "&".
std::wstring GetAccessKey(const std::wstring &caption);
// The caption as it reads: each single "&" left out, "&&" read as one "&".
std::wstring CaptionText(const std::wstring &caption);

// The caption of a new button: "&OK", "&Cancel", "&Apply", whichever the
// form's push buttons do not carry yet, else the button's instance name
// (xp_button_design.cpp).
std::wstring DefaultCaption(const std::vector<std::wstring> &formCaptions, const std::wstring &instanceName);

// The button's whole state, readable for the window layer and for tests: the
// values of its properties, then its internal fields. The names are the
// control's own and stay as they are.
struct XpButtonFields {
  std::wstring Caption;             // the text, "&" marking the access key
  bool Enabled = true;              // takes input, and is not painted greyed
  Colour ForeColor = 0;             // the caption's colour while enabled
  bool FocusRect = true;            // the dotted rectangle shows with the focus
  FontSpec pFONT;                   // the caption's font
  std::int32_t VisualState = 0;     // the look last painted, an XpButton::State
  bool EnabledAssigned = false;     // Enabled assigned or the properties loaded: painting may start
  bool CorrectingSize = false;      // the size is being raised to the least one
  bool DrawingCaption = false;      // the caption is being drawn over the painted look
  bool Armed = false;               // a press began on the button; its release may click
  bool HasFocus = false;            // the keyboard focus, which a left press also gives
  bool MouseOver = false;           // the pointer is inside the button
  bool FormActive = false;          // the container is active; false until its first activation
  bool SpaceHeld = false;           // Space went down on the button and has not come up
  bool MouseHeld = false;           // the left button went down on the button and has not come up
  bool IsDefault = false;           // the container shows this button as its default one
  std::int16_t LastButton = 0;      // the mouse button of the last press
  std::uintptr_t ContainerWnd = 0;  // the container's window, taken at load
  bool Hooked = false;              // a run-time load hooked the windows; End unhooks them

  // No repaint now: painting has not started, or a repaint would come
  // between a size and its correction, or over the caption being drawn.
  bool PaintSuppressed() const { return !EnabledAssigned || CorrectingSize || DrawingCaption; }
};

class XpButton : public PaintedControl, public HookClient {
 public:
  enum State : std::int32_t { Disabled = 0, Normal = 1, Focused = 2, Hot = 3, Pressed = 4 };

  // Creation: nothing is painted until Enabled is first assigned. The
  // window and the hooks are only kept, so either may still be in the making.
  XpButton(ControlSite &site, ControlWindow &window, WindowHooks &hooks);

  // Properties, under the control's own names. Setters report the change to
  // the container and repaint.
  const std::wstring &Caption() const { return fields_.Caption; }
  void SetCaption(const std::wstring &caption);
  bool Enabled() const { return fields_.Enabled; }
  void SetEnabled(bool enabled);
  const FontSpec &Font() const { return fields_.pFONT; }
  void SetFont(const FontSpec &font);
  Colour ForeColor() const { return fields_.ForeColor; }
  void SetForeColor(Colour colour);
  bool FocusRect() const { return fields_.FocusRect; }
  void SetFocusRect(bool on);
  std::uintptr_t hWnd() const { return window_.Handle(); }  // the button's own window

  const XpButtonFields &Fields() const { return fields_; }

  // Container notifications. InitNew and WriteProperties are a designer's
  // (xp_button_design.cpp). ReadProperties at run time also hooks the
  // button's own window and the container's window; End unhooks them.
  void InitNew() override;
  void ReadProperties(const PropertyBag &bag) override;
  void WriteProperties(PropertyBag &bag) const override;
  void Resize() override;
  void AmbientChanged(const std::wstring &name) override;
  void Repaint() override { Redraw(fields_.VisualState); }
  // A push button named by its caption; its default action clicks it.
  AccessibleFacts Describe(const Box &screen, bool focused) const override;
  void DoDefaultAction() override;
  void End();

  // Input, in pixels of the button's inside.
  void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void OnDblClick();
  void OnKeyDown(ButtonKey key);
  void OnKeyUp(ButtonKey key);
  void OnAccessKey();
  void OnGotFocus();
  void OnLostFocus();

  // Hooked messages: the pointer leaving the button's window, activation of
  // the container window. Only the after phase is acted on. The callback's
  // name and its arguments' names are the hook's own.
  void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &lng_hWnd,
                      std::uint32_t &uMsg, std::uintptr_t &wParam, std::intptr_t &lParam) override;

  // Paints the whole look of visual state `state` (unless painting is suppressed).
  void Redraw(std::int32_t state);
  // Moves the pointer to the middle of the button.
  void SnapMouseTo();

  // Events, under the control's own names.
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseMove;
  std::function<void(std::int32_t state)> FormActivate;  // 1 active, 0 inactive

 private:
  int W() { return window_.Image().Width(); }
  int H() { return window_.Image().Height(); }
  void Show(std::int32_t state) { Redraw(state); }
  void ShowIfNew(std::int32_t state) {
    if (fields_.VisualState != state) Redraw(state);
  }
  void ReadStored(const PropertyBag &bag);  // xp_button_design.cpp
  void RaiseClick();
  void FontChanged();
  void MouseLeft();
  void ContainerActivated(bool active);
  int MinimumPixels();

  ControlSite &site_;
  ControlWindow &window_;
  WindowHooks &hooks_;
  Palette palette_;
  XpButtonFields fields_;
};
