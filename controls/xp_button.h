// ccXPButton: a self-painted push button. Its painting, its state rules and
// its stored properties are here, free of the platform; xp_button_win32.h
// gives it a window.
//
// The button paints a retained image: Redraw draws the whole look of one
// visual state on the window's Surface and the window only shows it. Input
// arrives through the On* calls, which follow the button's state rules;
// events leave through the std::function members. Two notifications a
// control does not get by itself, the pointer leaving its window and the
// activation of its container window, come through the message hook
// (zSubclass_Proc) after the window's own handling.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "control_site.h"
#include "message_hook.h"
#include "surface.h"

// What the button needs of its own window.
class ButtonWindow {
 public:
  virtual ~ButtonWindow() = default;
  virtual std::uintptr_t Handle() const = 0;
  // The retained image, always as large as the window's inside.
  virtual Surface &Image() = 0;
  // Changes the window's size; the image follows it.
  virtual void SetPixelSize(int width, int height) = 0;
  // Makes the window a rounded rectangle from (0, 0) to (width + 1,
  // height + 1) with 3 x 3 corner ellipses, and has it redrawn.
  virtual void SetShape(int width, int height) = 0;
  virtual void EnableInput(bool enabled) = 0;
  // Asks for one notification when the pointer leaves the window; failures
  // are ignored.
  virtual void TrackMouseLeave() = 0;
  virtual void ClientOriginOnScreen(int &x, int &y) = 0;
  virtual void MoveMouseTo(int x, int y) = 0;
};

// The platform messages the button hooks.
constexpr std::uint32_t kMouseLeaveMessage = 0x2A3;  // WM_MOUSELEAVE
constexpr std::uint32_t kActivateMessage = 0x06;     // WM_ACTIVATE
constexpr std::uint32_t kNcActivateMessage = 0x86;   // WM_NCACTIVATE

// Keys as the button's inputs carry them (mouse buttons: control_site.h).
constexpr std::int16_t kKeyEnter = 13, kKeySpace = 32, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

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

// The caption of a new button: "&OK", "&Cancel", "&Apply", whichever the
// form's push buttons do not carry yet, else the button's instance name.
std::wstring DefaultCaption(const std::vector<std::wstring> &formCaptions, const std::wstring &instanceName);

// Internal fields, readable for the window layer and for tests.
struct XpButtonFields {
  std::int32_t VisualState = 0;
  bool PaintSuppressed = true;  // until Enabled is first assigned, and while the caption is drawn
  bool Armed = false;           // a press began on the button; its release may click
  bool HasFocus = false;
  bool MouseOver = false;
  bool FormActive = false;  // false until the container's first activation arrives
  bool SpaceHeld = false;
  bool MouseHeld = false;
  bool IsDefault = false;
  std::int16_t LastButton = 0;
  std::uintptr_t ContainerWnd = 0;
  FontSpec pFONT;
};

class XpButton : public HookClient {
 public:
  enum State : std::int32_t { Disabled = 0, Normal = 1, Focused = 2, Hot = 3, Pressed = 4 };

  // Creation: nothing is painted until Enabled is first assigned.
  XpButton(ControlSite &site, ButtonWindow &window, WindowHooks &hooks);

  // Properties. Setters report the change to the container and repaint.
  const std::wstring &Caption() const { return caption_; }
  void SetCaption(const std::wstring &caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const FontSpec &Font() const { return fields_.pFONT; }
  void SetFont(const FontSpec &font);
  Colour ForeColor() const { return foreColor_; }
  void SetForeColor(Colour colour);
  bool FocusRect() const { return focusRect_; }
  void SetFocusRect(bool on);
  std::uintptr_t hWnd() const { return hWnd_; }

  const XpButtonFields &Fields() const { return fields_; }

  // Container notifications.
  void InitNew();  // first placed in a designer
  // Reads the stored properties; at run time also hooks the button's own
  // window and the container's window.
  void Load(const PropertyBag &bag);
  void Save(PropertyBag &bag) const;
  void OnResize();
  void OnAmbientChanged(const std::wstring &propertyName);
  void End();

  // Input, in pixels of the button's inside.
  void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void OnDblClick();
  void OnKeyDown(std::int16_t keyCode);
  void OnKeyUp(std::int16_t keyCode);
  void OnAccessKey();
  void OnGotFocus();
  void OnLostFocus();

  // Hooked messages: the pointer leaving the button's window, activation of
  // the container window. Only the after phase is acted on.
  void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &lng_hWnd,
                      std::uint32_t &uMsg, std::uintptr_t &wParam, std::intptr_t &lParam) override;

  // Paints the whole look of visual state `state` (unless painting is suppressed).
  void Redraw(std::int32_t state);
  // Moves the pointer to the middle of the button.
  void SnapMouseTo();

  // Events.
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
  void RaiseClick();
  void FontChanged();
  void MouseLeft();
  void ContainerActivated(bool active);
  int MinimumPixels();

  ControlSite &site_;
  ButtonWindow &window_;
  WindowHooks &hooks_;
  Palette palette_;
  XpButtonFields fields_;
  std::wstring caption_;
  bool enabled_ = true;
  Colour foreColor_ = 0;
  bool focusRect_ = true;
  std::uintptr_t hWnd_ = 0;
  bool hooked_ = false;
};
