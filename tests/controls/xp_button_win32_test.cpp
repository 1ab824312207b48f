// The message hook and the push button on real windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "memory_site.h"
#include "test_window_win32.h"

#include <string>
#include <vector>

#include "message_hook_win32.h"
#include "xp_button_looks.h"
#include "xp_button_win32.h"

namespace {

constexpr UINT kProbe = WM_APP + 1;
std::vector<std::string> CallLog;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kProbe) return DefWindowProcW(hwnd, message, wParam, lParam);
  CallLog.push_back("window");
  return 42;
}

HWND MakeWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
  return MakeTestWindow(L"HookTestWindow", LoggingProc, style, 50, 50, 320, 200);
}

struct NamedClient : HookClient {
  explicit NamedClient(std::string n) : name(std::move(n)) {}
  std::string name;
  bool handle = false;
  void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &, std::uint32_t &,
                      std::uintptr_t &, std::intptr_t &) override {
    CallLog.push_back(name + (bBefore ? " before" : " after"));
    if (handle) bHandled = true, lReturn = 7;
  }
};

std::vector<std::string> Probe(HWND hwnd, LRESULT expected) {
  CallLog.clear();
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), expected);
  return CallLog;
}

TEST(MessageHookWin32, LaterHooksSeeMessagesFirstAndGoInEitherOrder) {
  for (bool firstGoesFirst : {true, false}) {
    HWND hwnd = MakeWindow();
    NamedClient a("A"), b("B");
    MessageHook first(a), second(b);
    for (MessageHook *hook : {&first, &second}) hook->HookWindow(hwnd), hook->AddHookMessage(hwnd, kProbe, kHookBoth);
    EXPECT_EQ(Probe(hwnd, 42), (std::vector<std::string>{"B before", "A before", "window", "A after", "B after"}));
    (firstGoesFirst ? first : second).UnhookWindow(hwnd);
    const std::string kept = firstGoesFirst ? "B" : "A";
    EXPECT_EQ(Probe(hwnd, 42), (std::vector<std::string>{kept + " before", "window", kept + " after"}));
    (firstGoesFirst ? second : first).UnhookWindow(hwnd);
    EXPECT_EQ(Probe(hwnd, 42), std::vector<std::string>{"window"});
    DestroyWindow(hwnd);
  }
}

TEST(MessageHookWin32, HandledBeforeStopsTheChainAndDestructionFreesTheRecord) {
  HWND hwnd = MakeWindow();
  NamedClient a("A");
  MessageHook hook(a);
  hook.HookWindow(hwnd);
  hook.AddHookMessage(hwnd, kProbe, kHookBoth);
  a.handle = true;
  EXPECT_EQ(Probe(hwnd, 7), std::vector<std::string>{"A before"});
  hook.HookWindow(reinterpret_cast<HWND>(0x1234));  // not a window
  EXPECT_EQ(hook.Table().FindHookRecord(0x1234, false), -1);
  DestroyWindow(hwnd);
  EXPECT_EQ(hook.Table().Record(reinterpret_cast<std::uintptr_t>(hwnd)), nullptr);
}

// -- The button in a form --------------------------------------------------------

struct FormSite : MemorySite {
  HWND form = nullptr;
  FormSite() {
    name = L"Cmd_Set";
    captions = {L""};
    onDoEvents = Pump;
  }
  std::uintptr_t ContainerWindow() override { return reinterpret_cast<std::uintptr_t>(form); }
};

// One visible form for all the button tests: under Wine without a window
// manager, hiding or destroying the active window waits two seconds for a
// focus change that never comes.
class XpButtonWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form_ = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE); }
  static void TearDownTestSuite() { DestroyWindow(form_); }
  void SetUp() override {
    site.form = form_;
    ASSERT_NE(button.Create(form_, 10, 10, 75, 23, &stored), nullptr);
    button.Control().Click = [this] {
      ++clicks;
      // A handler that opens a modal window must find the press over.
      if (GetCapture() == button.Hwnd() || button.Control().Fields().Armed) ++heldClicks;
    };
    Pump();
  }
  void TearDown() override {
    EXPECT_EQ(heldClicks, 0) << "clicks whose handler found the button pressed or the mouse captured";
    button.End();
  }
  void Activate(bool active) { SendMessageW(form_, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0); }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = MAKELPARAM(20, 10)) {
    SendMessageW(button.Hwnd(), message, wParam, lParam);
  }
  std::int32_t State() { return button.Control().Fields().VisualState; }

  static HWND form_;
  FormSite site;
  const MemoryPropertyBag stored;
  XpButtonWindow button{site};
  int clicks = 0, heldClicks = 0;
};
HWND XpButtonWindowTest::form_ = nullptr;

TEST_F(XpButtonWindowTest, APostedClickInsideClicksOnceTheFormIsActive) {
  // With the pointer really over the button, the leave tracking has nothing to report.
  button.Control().SnapMouseTo();
  for (bool active : {false, true}) {
    Activate(active);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
      PostMessageW(button.Hwnd(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(20, 10));
    Pump();
    EXPECT_EQ(clicks, active ? 1 : 0) << "form active: " << active;
  }
  EXPECT_EQ(GetFocus(), button.Hwnd());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(XpButtonWindowTest, KeysHoverLeaveAndActivation) {
  std::vector<int> activations;
  button.Control().FormActivate = [&](std::int32_t state) { activations.push_back(state); };
  EXPECT_EQ(SendMessageW(button.Hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_BUTTON);
  Activate(true);
  Send(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(State(), XpButton::Pressed);
  Send(WM_KEYUP, VK_SPACE, 0);
  Send(WM_KEYDOWN, VK_RETURN, 0);
  Send(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(clicks, 3);
  SendMessageW(button.Hwnd(), WM_KILLFOCUS, 0, 0);
  Send(WM_MOUSEMOVE);
  EXPECT_EQ(State(), XpButton::Hot);
  Send(WM_MOUSELEAVE);
  EXPECT_EQ(State(), XpButton::Normal);
  Activate(false);
  EXPECT_EQ(activations, (std::vector<int>{1, 0}));
}

TEST_F(XpButtonWindowTest, TheImageTheShapeAndTheLeastSize) {
  EXPECT_EQ(button.RetainedImage().GetPixel(3, 0), kXpButtonLooks[XpButton::Normal].outline);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(button.Hwnd(), region), ERROR);
  DeleteObject(region);

  SetWindowPos(button.Hwnd(), nullptr, 0, 0, 3, 2, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(button.Hwnd(), &client);
  // The window takes the least size the control corrects to, and the image
  // is painted at it.
  EXPECT_GT(client.right, 3);
  EXPECT_GT(client.bottom, 2);
  EXPECT_EQ(std::pair(int(client.right), int(client.bottom)),
            std::pair(button.RetainedImage().Width(), button.RetainedImage().Height()));
  button.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(button.Hwnd()));
  EXPECT_EQ(button.RetainedImage().GetPixel(3, 0), kXpButtonLooks[XpButton::Disabled].outline);
}

TEST(XpButtonWindow, TheContainerMayGoFirst) {
  FormSite site;
  site.form = MakeWindow();  // never shown, so it goes at once
  const MemoryPropertyBag stored;
  HWND own;
  {
    XpButtonWindow button(site);
    own = button.Create(site.form, 0, 0, 75, 23, &stored);
    ASSERT_NE(own, nullptr);
    DestroyWindow(site.form);
    EXPECT_FALSE(IsWindow(own));
    EXPECT_EQ(button.Hwnd(), nullptr);
  }  // the button has nothing left to unhook or destroy
}

TEST(XpButtonWindow, WithoutItsWindowTheFormsCallsDoNothing) {
  FormSite site;
  const MemoryPropertyBag stored;
  XpButtonWindow button(site);
  // A child window needs a parent that exists.
  ASSERT_EQ(button.Create(reinterpret_cast<HWND>(0x1234), 0, 0, 75, 23, &stored), nullptr);
  EXPECT_EQ(button.Hwnd(), nullptr);
  button.AmbientChanged(L"DisplayAsDefault");
  button.ColoursChanged();
  button.AccessKeyPressed();
  button.SetEnabled(false);
  MemoryPropertyBag saved;
  button.Save(saved);
  EXPECT_TRUE(saved.WriteOrder().empty());
}

}  // namespace
