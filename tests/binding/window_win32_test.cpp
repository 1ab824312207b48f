// Windows bound to objects: what each object sees of its window's end, and
// what is left of a window whose object let go.
#include "window_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const binding::WindowClass kAnsiClass = {"BindingTestAnsi", CS_OWNDC | CS_HREDRAW | CS_VREDRAW, true};
const binding::WindowClass kWideClass = {"BindingTestWide", CS_DBLCLKS};

constexpr UINT kPing = WM_APP + 1;

// Notes the messages it sees, and whether it still had its window then.
class Probe : public binding::Window {
 public:
  bool Make(const binding::WindowClass &windowClass, HWND parent = nullptr) {
    return CreateBound(windowClass, 0, parent ? WS_CHILD : WS_POPUP, "probe", 0, 0, 10, 10, parent);
  }
  bool Observe(HWND window) { return Attach(window, binding::Ownership::Observe); }
  bool Own(HWND window) { return Attach(window, binding::Ownership::Own); }

  int pings = 0;
  bool sawNcDestroyWithWindow = false;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kPing) ++pings;
    if (message == WM_NCDESTROY) sawNcDestroyWithWindow = Hwnd() != nullptr;
    return DefaultHandling(message, wParam, lParam);
  }
};

HWND Static() {
  return CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(BindingWindow, AClassOfItsOwnKeepsItsKindAndStyle) {
  for (const binding::WindowClass *windowClass : {&kAnsiClass, &kWideClass}) {
    Probe probe;
    ASSERT_TRUE(probe.Make(*windowClass)) << windowClass->name;
    EXPECT_EQ(IsWindowUnicode(probe.Hwnd()) != FALSE, !windowClass->ansi) << windowClass->name;
    EXPECT_EQ(GetClassLongPtrW(probe.Hwnd(), GCL_STYLE), windowClass->style) << windowClass->name;
    char title[16] = "";
    GetWindowTextA(probe.Hwnd(), title, sizeof title);
    EXPECT_STREQ(title, "probe");
  }
}

TEST(BindingWindow, TheObjectSeesItsWindowsLastMessageThenLosesTheHandle) {
  // Destroyed by the object, and with a parent destroyed from outside.
  for (bool byParent : {false, true}) {
    Probe parent, child;
    ASSERT_TRUE(parent.Make(kWideClass));
    ASSERT_TRUE(child.Make(kWideClass, parent.Hwnd()));
    const HWND childWindow = child.Hwnd();
    if (byParent)
      DestroyWindow(parent.Hwnd());
    else
      child.Release();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_TRUE(child.sawNcDestroyWithWindow) << "by parent: " << byParent;
    EXPECT_EQ(child.Hwnd(), nullptr);
    EXPECT_EQ(parent.Hwnd() == nullptr, byParent);
  }
}

TEST(BindingWindow, ObserversLetGoInAnyOrderAndTheWindowGoesOn) {
  for (bool firstLetsGoFirst : {true, false}) {
    const HWND window = Static();
    Probe first, second;
    ASSERT_TRUE(first.Observe(window));
    ASSERT_TRUE(second.Observe(window));
    SendMessageW(window, kPing, 0, 0);
    EXPECT_EQ(std::vector<int>({first.pings, second.pings}), std::vector<int>({1, 1}));

    Probe &leaving = firstLetsGoFirst ? first : second;
    Probe &staying = firstLetsGoFirst ? second : first;
    leaving.Release();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(leaving.Hwnd(), nullptr);
    SendMessageW(window, kPing, 0, 0);
    EXPECT_EQ(std::vector<int>({leaving.pings, staying.pings}), std::vector<int>({1, 2}));
    // The system control still answers on its own.
    wchar_t text[8] = L"";
    GetWindowTextW(window, text, 8);
    EXPECT_STREQ(text, L"text");

    DestroyWindow(window);
    EXPECT_TRUE(staying.sawNcDestroyWithWindow);
    EXPECT_EQ(staying.Hwnd(), nullptr);
  }
}

TEST(BindingWindow, AnOwnedWindowGoesWithItsObjectAnObservedOneStays) {
  for (binding::Ownership ownership : {binding::Ownership::Own, binding::Ownership::Observe}) {
    const HWND window = Static();
    {
      Probe probe;
      ASSERT_TRUE(ownership == binding::Ownership::Own ? probe.Own(window) : probe.Observe(window));
    }
    EXPECT_EQ(IsWindow(window) != FALSE, ownership == binding::Ownership::Observe);
    // Nothing left bound to reach a gone object.
    if (IsWindow(window)) {
      SendMessageW(window, kPing, 0, 0);
      DestroyWindow(window);
    }
  }
}

TEST(BindingWindow, OneObjectBindsOneWindow) {
  const HWND window = Static();
  Probe probe;
  EXPECT_FALSE(probe.Observe(nullptr));
  ASSERT_TRUE(probe.Observe(window));
  EXPECT_FALSE(probe.Observe(window));
  DestroyWindow(window);
}

// Any program may send WM_NCCREATE to any window, naming any object: the
// bound window stays with its object, the named one binds nothing, whether
// it names another object or the window's own.
TEST(BindingWindow, ACreationMessageFromOutsideBindsNothing) {
  for (const binding::WindowClass *windowClass : {&kAnsiClass, &kWideClass}) {
    Probe bound, named;
    ASSERT_TRUE(bound.Make(*windowClass));
    const HWND window = bound.Hwnd();
    for (void *parameter : {static_cast<void *>(&named), static_cast<void *>(&bound)}) {
      CREATESTRUCTW creation = {};
      creation.lpCreateParams = parameter;
      creation.lpszName = L"changed";
      SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&creation));
    }
    EXPECT_EQ(named.Hwnd(), nullptr) << windowClass->name;
    EXPECT_EQ(bound.Hwnd(), window) << windowClass->name;
    SendMessageW(window, kPing, 0, 0);
    EXPECT_EQ(std::vector<int>({bound.pings, named.pings}), std::vector<int>({1, 0})) << windowClass->name;
    char title[16] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "probe") << windowClass->name;
  }
}

}  // namespace
