// The hook's bookkeeping and dispatch rules, with a client and a window
// handler that log what reaches them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_hook.h"

namespace {

constexpr std::uintptr_t kWindow = 0x1000;

struct HookRig : HookClient {
  HookTable table;
  std::vector<std::string> log;
  bool setHandled = false;      // sets bHandled and lReturn = 77 in whichever phase it runs
  std::uint32_t retarget = 0;   // the before phase changes the message to this
  std::function<void()> duringWindow;

  void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &, std::uint32_t &uMsg,
                      std::uintptr_t &wParam, std::intptr_t &) override {
    log.push_back((bBefore ? "before " : "after ") + std::to_string(uMsg) + " saw " + std::to_string(lReturn));
    if (bBefore && retarget) uMsg = retarget, ++wParam;
    if (setHandled) bHandled = true, lReturn = 77;
  }
  std::intptr_t Send(std::uint32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
    const PreviousHandler window = [this](std::uintptr_t, std::uint32_t c, std::uintptr_t w, std::intptr_t l) {
      log.push_back("window " + std::to_string(c) + " " + std::to_string(w) + " " + std::to_string(l));
      if (duringWindow) duringWindow();
      return static_cast<std::intptr_t>(c * 10);
    };
    return Dispatch(table, *this, window, kWindow, code, wParam, lParam);
  }
};

TEST(MessageHook, DispatchRunsThePhasesAroundTheWindowsOwnHandling) {
  struct Case {
    const char *name;
    std::int32_t code;
    int when;
    bool handled;
    std::uint32_t retarget;
    std::intptr_t result;
    std::vector<std::string> log;
  };
  const std::string window = "window 5 1 -2";
  const Case cases[] = {
      {"unlisted message passes unchanged", 9, kHookBoth, false, 0, 50, {window}},
      {"0 is never a code", 0, kHookBoth, false, 0, 50, {window}},
      {"after", 5, kHookAfter, false, 0, 50, {window, "after 5 saw 50"}},
      {"before", 5, kHookBefore, false, 0, 50, {"before 5 saw 0", window}},
      {"both", 5, kHookBoth, false, 0, 50, {"before 5 saw 0", window, "after 5 saw 50"}},
      {"all messages", AllMessages, kHookAfter, false, 0, 50, {window, "after 5 saw 50"}},
      {"handled before skips the window and the after phase", 5, kHookBoth, true, 0, 77, {"before 5 saw 0"}},
      {"handled after cannot skip the window", 5, kHookAfter, true, 0, 77, {window, "after 5 saw 50"}},
      {"the before phase may change the message", 5, kHookBefore, false, 6, 60, {"before 5 saw 0", "window 6 2 -2"}},
  };
  for (const Case &c : cases) {
    HookRig rig;
    rig.table.HookWindow(kWindow);
    rig.table.AddHookMessage(kWindow, c.code, c.when);
    rig.setHandled = c.handled;
    rig.retarget = c.retarget;
    EXPECT_EQ(rig.Send(5, 1, -2), c.result) << c.name;
    EXPECT_EQ(rig.log, c.log) << c.name;
  }
}

TEST(MessageHook, CodesAreKeptOnceFreedEntriesReusedAndAllMessagesOverridesTheList) {
  HookTable table;
  table.HookWindow(kWindow);
  for (std::int32_t code : {10, 11, 10, 12}) table.AddHookMessage(kWindow, code, kHookAfter);
  table.AddHookMessage(kWindow, 11, kHookBefore);
  table.RemoveHookMessage(kWindow, 11, kHookAfter);
  const HookRecord *record = table.Record(kWindow);
  EXPECT_FALSE(HookPhaseMatches(record->afterCount, record->afterList, 11));
  EXPECT_TRUE(HookPhaseMatches(record->beforeCount, record->beforeList, 11));
  EXPECT_FALSE(HookPhaseMatches(record->afterCount, record->afterList, 0));  // a free entry is not message 0
  table.AddHookMessage(kWindow, 13, kHookAfter);
  EXPECT_EQ(record->afterCount, 3);
  EXPECT_EQ(record->afterList, (std::vector<std::int32_t>{10, 13, 12}));

  table.AddHookMessage(kWindow, AllMessages, kHookAfter);
  table.AddHookMessage(kWindow, 14, kHookAfter);
  EXPECT_EQ(record->afterCount, AllMessages);
  EXPECT_TRUE(HookPhaseMatches(record->afterCount, record->afterList, 12345));
}

TEST(MessageHook, RecordsAreFoundAndReusedFromTheTopOfTheTable) {
  HookTable table;
  for (std::uintptr_t w : {1, 2, 3}) table.HookWindow(w);
  table.AddHookMessage(2, 5, kHookAfter);
  table.HookWindow(2);  // hooked already: keeps its record and codes
  EXPECT_EQ(table.Record(2)->afterCount, 1);
  EXPECT_EQ(table.FindHookRecord(2, false), 1);
  EXPECT_EQ(table.FindHookRecord(9, true), -1);  // nothing free

  table.UnhookWindow(1);
  table.UnhookWindow(3);
  table.AddHookMessage(3, 5, kHookAfter);  // no record: nothing happens
  EXPECT_EQ(table.FindHookRecord(3, false), -1);
  EXPECT_EQ(table.FindHookRecord(9, true), 2);
  for (std::uintptr_t w : {4, 5, 6}) table.HookWindow(w);
  std::vector<std::uintptr_t> windows;
  for (const HookRecord &r : table.Records()) windows.push_back(r.window);
  EXPECT_EQ(windows, (std::vector<std::uintptr_t>{5, 2, 4, 6}));
  EXPECT_EQ(table.Records()[1].afterList, std::vector<std::int32_t>{5});
  table.UnhookWindow(2);
  EXPECT_TRUE(table.Records()[1].afterList.empty() && table.Records()[1].afterCount == 0);
}

TEST(MessageHook, AHookRemovedWhileTheWindowHandlesTheMessageSkipsTheAfterPhase) {
  HookRig rig;
  rig.table.HookWindow(kWindow);
  rig.table.AddHookMessage(kWindow, 5, kHookBoth);
  // The freed record is taken at once by another window that wants the same code.
  rig.duringWindow = [&] {
    rig.table.UnhookWindow(kWindow);
    rig.table.HookWindow(0x2000);
    rig.table.AddHookMessage(0x2000, 5, kHookAfter);
  };
  EXPECT_EQ(rig.Send(5, 0, 0), 50);
  EXPECT_EQ(rig.log, (std::vector<std::string>{"before 5 saw 0", "window 5 0 0"}));
}

}  // namespace
