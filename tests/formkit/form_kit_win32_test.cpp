// The form kit on real windows: load, show, modal display, unload handlers,
// timers and twips.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "form_kit_win32.h"
#include "test_window_win32.h"

namespace {

using formkit::Form;
using formkit::Timer;
using formkit::UnloadMode;

class RecordingForm : public Form {
 public:
  RecordingForm() : Form(L"Recording", WS_OVERLAPPEDWINDOW) {}
  std::vector<std::string> events;
  bool cancelQuery = false, cancelUnload = false;

 protected:
  void OnLoad() override { events.push_back(IsWindowVisible(Hwnd()) ? "load shown" : "load hidden"); }
  void OnQueryUnload(bool &cancel, UnloadMode mode) override {
    events.push_back(mode == UnloadMode::ControlMenu ? "query menu" : "query code");
    cancel = cancelQuery;
  }
  void OnUnload(bool &cancel) override {
    events.push_back("unload");
    cancel = cancelUnload;
  }
};

// Load runs the load handler at once with the form hidden; unload asks the
// handlers in order, and either may cancel.
TEST(FormKit, LoadThenUnloadAskingTheHandlersInOrder) {
  RecordingForm form;
  form.Load();
  ASSERT_TRUE(form.IsLoaded());
  EXPECT_EQ(form.events, std::vector<std::string>{"load hidden"});
  EXPECT_FALSE(IsWindowVisible(form.Hwnd()));
  form.Load();  // loading again does nothing
  EXPECT_EQ(form.events.size(), 1u);
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Hwnd()));
  form.cancelQuery = true;
  EXPECT_FALSE(form.Unload());
  EXPECT_TRUE(form.IsLoaded());
  form.cancelQuery = false;
  form.cancelUnload = true;
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);  // the close box
  EXPECT_TRUE(form.IsLoaded());
  form.cancelUnload = false;
  HWND hwnd = form.Hwnd();
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(IsWindow(hwnd));
  const std::vector<std::string> expected = {"load hidden", "query code", "query menu", "unload",
                                             "query code", "unload"};
  EXPECT_EQ(form.events, expected);
}

TEST(FormKit, TimersTickWhileHiddenAndStopWhenDisabled) {
  RecordingForm form;
  int ticks = 0;
  Timer timer(form, [&] { ++ticks; });
  timer.SetInterval(20);
  form.Load();
  PumpWhile([&] { return ticks < 3; }, 5000);
  EXPECT_GE(ticks, 3);
  timer.SetEnabled(false);
  const int stopped = ticks;
  PumpWhile([] { return true; }, 200);
  EXPECT_EQ(ticks, stopped);
  form.Unload();
}

// A form that goes while loaded, with a timer of its own that goes first.
class TimedForm : public RecordingForm {
 public:
  TimedForm() { tick.SetInterval(10); }
  Timer tick{*this, [] {}};
};

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

TEST(FormKit, AFormDeletedWhileLoadedNoLongerKeepsTheProgramAlive) {
  auto form = std::make_unique<TimedForm>();
  form->Show();
  const HWND hwnd = form->Hwnd();
  form.reset();
  EXPECT_FALSE(IsWindow(hwnd));
  // A loop still counting the form would wait for ever; this quits it after
  // a while all the same.
  const UINT_PTR guard = SetTimer(nullptr, 0, 3000, QuitLoop);
  const DWORD start = GetTickCount();
  formkit::App::Run();
  KillTimer(nullptr, guard);
  EXPECT_LT(GetTickCount() - start, 1000u) << "the message loop waited for a form that was gone";
}

TEST(FormKit, ModalShowReturnsWhenTheFormIsUnloaded) {
  RecordingForm form;
  int ticks = 0;
  Timer closer(form, [&] {
    if (++ticks == 3) form.Unload();
  });
  closer.SetInterval(10);
  form.ShowModal();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(form.events.back(), "unload");
}

TEST(FormKit, PositionsAreInTwips) {
  EXPECT_EQ(formkit::LogicalPixels(LOGPIXELSX), 96);
  EXPECT_EQ(formkit::ScreenWidthTwips(), GetSystemMetrics(SM_CXSCREEN) * 15L);
  EXPECT_EQ(formkit::ScreenHeightTwips(), GetSystemMetrics(SM_CYSCREEN) * 15L);
  RecordingForm form;
  form.Load();
  form.MoveTwips(1500, 750, 4500, 3000);
  RECT r;
  GetWindowRect(form.Hwnd(), &r);
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
            std::vector<LONG>({100, 50, 300, 200}));
  form.Unload();
}

TEST(FormKit, BorderlessFormsKeepTheirStyle) {
  class Plain : public Form {
   public:
    Plain() : Form(L"Plain", WS_CLIPSIBLINGS) {}
  } form;
  form.Load();
  const LONG style = GetWindowLongW(form.Hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_POPUP | WS_THICKFRAME), 0) << std::hex << style;
  char caption[64] = "";
  GetWindowTextA(form.Hwnd(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Plain");
  form.Unload();
}

TEST(FormKit, ProgramKnowsItsFolderAndTitle) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path = formkit::App::Path();
  EXPECT_EQ(std::wstring(self).substr(0, path.size() + 1), path + L"\\");
  EXPECT_NE(path.back(), L'\\');
  EXPECT_EQ(formkit::App::Title(), L"Brumalis (ScreenSaver)");
  formkit::SetScreenMousePointer(formkit::MousePointer::Hourglass);
  EXPECT_EQ(formkit::ScreenMousePointer(), formkit::MousePointer::Hourglass);
  formkit::SetScreenMousePointer(formkit::MousePointer::Default);
  EXPECT_EQ(formkit::ScreenMousePointer(), formkit::MousePointer::Default);
}

}  // namespace
