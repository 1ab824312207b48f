// The framed panel's window on real windows: its retained image, its repaint
// triggers, and notifications of the controls placed inside it.
#include <gtest/gtest.h>
#include <windows.h>

#include "panel_test_site.h"
#include "test_window_win32.h"

#include <string>
#include <vector>

#include "frame_x_win32.h"

namespace {

constexpr LRESULT kParentAnswer = 0x4242;

// What the parent window received; it answers the one message `Answering`
// names, as a form answers a notification.
struct Received { UINT message; WPARAM wParam; LPARAM lParam; };
std::vector<Received> ParentReceived;
UINT Answering = WM_COMMAND;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ParentReceived.push_back({message, wParam, lParam});
  return message == Answering ? kParentAnswer : DefWindowProcW(hwnd, message, wParam, lParam);
}

// Hidden unless a test needs update regions: under Wine on a display without
// a window manager, destroying a shown top-level window waits two seconds.
HWND MakeParent(bool shown = false) {
  ParentReceived.clear();
  HWND parent = MakeTestWindow(L"FrameTestParent", ParentProc, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640, 320);
  if (shown) ShowWindow(parent, SW_SHOWNOACTIVATE);
  return parent;
}

TEST(GfxFrameXWindow, IsAChildShowingTheStoredPanelAndRepaintsOnResizePropertyAndAmbientChanges) {
  HWND parent = MakeParent(true);
  PanelSite site;
  GfxFrameXWindow frame(site);
  const MemoryPropertyBag stored{{L"ShadowDepth", L"7"}};
  HWND hwnd = frame.Create(parent, 12, 8, 450, 181, &stored);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(frame.Hwnd(), hwnd);
  EXPECT_EQ(GetParent(hwnd), parent);
  const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & wanted, wanted);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

  const PrintedWindow image(hwnd);
  ASSERT_EQ(image.Width(), 450);
  ASSERT_EQ(image.Height(), 181);
  // The shadow: a band D pixels wide along the right and bottom edges, from
  // dark under the frame's edge to nearly the dialog's grey outside it (the
  // rings' colours are the control's own tests').
  const int d = 7, w = 450, h = 181;
  for (int i = 1; i <= d; ++i) {
    const Colour right = image.At(w - d - 1 + i, h / 2), below = image.At(w / 2, h - d - 1 + i);
    EXPECT_EQ(right, below) << "ring " << i;
    EXPECT_EQ(GetRValue(right), GetBValue(right)) << "ring " << i;
    EXPECT_GT(GetRValue(right), GetRValue(image.At(w - d - 2 + i, h / 2))) << "ring " << i;
    EXPECT_LT(GetRValue(right), GetRValue(kDialogGrey)) << "ring " << i;
  }
  EXPECT_EQ(image.At(0, 0), kBlack);
  EXPECT_EQ(image.At(w - d - 1, h / 2), kBlack);
  EXPECT_EQ(image.At(w / 2, h - d - 1), kBlack);
  EXPECT_EQ(image.At(w / 2, h / 2), kDialogGrey);
  EXPECT_EQ(image.At(w - 1, d - 1), kDialogGrey);
  const Colour outermost = image.At(w - 1, h / 2);

  MoveWindow(hwnd, 0, 0, 300, 120, TRUE);
  {
    const PrintedWindow image(hwnd);
    ASSERT_EQ(image.Width(), 300);
    // The outermost ring follows the new edges, in the colour it had.
    EXPECT_EQ(image.At(300 - 8, 60), kBlack);
    EXPECT_EQ(image.At(299, 60), outermost);
    EXPECT_EQ(image.At(150, 119), outermost);
  }

  // A property change repaints the image and asks the window to show it.
  ValidateRect(hwnd, nullptr);
  frame.Control().SetBorderColour(Rgb(255, 0, 0));
  EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));
  EXPECT_EQ(site.changed, std::vector<std::wstring>{L"BorderColour"});
  EXPECT_EQ(PrintedWindow(hwnd).At(0, 0), Rgb(255, 0, 0));

  site.ambient = Rgb(200, 220, 255);
  ValidateRect(hwnd, nullptr);
  frame.AmbientChanged(L"BackColor");
  EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));
  EXPECT_EQ(PrintedWindow(hwnd).At(299, 0), Rgb(200, 220, 255));

  MemoryPropertyBag saved;
  frame.Save(saved);
  // The fill colour was the container's at load and is no longer.
  const std::vector<std::wstring> keys = {L"ShadowDepth", L"FillColour", L"BackColour", L"BorderColour"};
  EXPECT_EQ(saved.WriteOrder(), keys);
  EXPECT_EQ(saved.Read(L"ShadowDepth"), L"7");
  DestroyWindow(parent);
}

TEST(GfxFrameXWindow, PassesNotificationsOfItsChildrenToItsParent) {
  HWND parent = MakeParent();
  PanelSite site;
  GfxFrameXWindow frame(site);
  ASSERT_NE(frame.Create(parent, 0, 0, 450, 181, nullptr), nullptr);

  NMHDR notify = {};
  DRAWITEMSTRUCT draw = {};
  MEASUREITEMSTRUCT measure = {};
  struct Case { UINT message; WPARAM wParam; LPARAM lParam; };
  const Case cases[] = {
      {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0x1234},
      {WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&notify)},
      {WM_CTLCOLORSTATIC, 0x10, 0x20},
      {WM_CTLCOLOREDIT, 0x11, 0x21},
      {WM_CTLCOLORLISTBOX, 0x12, 0x22},
      {WM_CTLCOLORBTN, 0x13, 0x23},
      {WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&draw)},
      {WM_MEASUREITEM, 7, reinterpret_cast<LPARAM>(&measure)},
  };
  for (const Case &c : cases) {
    ParentReceived.clear();
    Answering = c.message;
    EXPECT_EQ(SendMessageW(frame.Hwnd(), c.message, c.wParam, c.lParam), kParentAnswer) << c.message;
    ASSERT_EQ(ParentReceived.size(), 1u) << c.message;
    EXPECT_EQ(ParentReceived[0].message, c.message);
    EXPECT_EQ(ParentReceived[0].wParam, c.wParam);
    EXPECT_EQ(ParentReceived[0].lParam, c.lParam);
  }
  DestroyWindow(parent);
}

TEST(GfxFrameXWindow, GoesWithItsWindow) {
  HWND parent = MakeParent();
  PanelSite site;
  {
    GfxFrameXWindow frame(site);
    ASSERT_NE(frame.Create(parent, 0, 0, 200, 100, nullptr), nullptr);
    HWND inside = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, frame.Hwnd(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    HWND hwnd = frame.Hwnd();
    DestroyWindow(parent);
    EXPECT_EQ(frame.Hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(inside));
    // Made again on a new parent, it starts afresh.
    parent = MakeParent();
    ASSERT_NE(frame.Create(parent, 0, 0, 200, 100, nullptr), nullptr);
    // A new instance, painted with the defaults on its first size: the
    // frame ends 5 pixels short of the edge, over its shadow.
    const PrintedWindow image(frame.Hwnd());
    EXPECT_EQ(image.At(200 - 6, 50), kBlack);
    EXPECT_NE(image.At(200 - 5, 50), kBlack);
    EXPECT_NE(image.At(199, 50), kDialogGrey);
  }
  // The object went first: it took its window with it and left the parent.
  EXPECT_TRUE(IsWindow(parent));
  HWND child = GetWindow(parent, GW_CHILD);
  EXPECT_EQ(child, nullptr);
  DestroyWindow(parent);
}

}  // namespace
