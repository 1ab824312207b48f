// The window message hook: lets one control stand in the handler chain of
// any number of windows, see chosen messages before and/or after each
// window's own handling, and hand every message on.
//
// This header holds the bookkeeping and the dispatch rules, which know
// nothing of the platform: windows are plain numbers, the window's own
// handling is a callable. message_hook_win32.h installs them on real windows.
//
// One control owns one HookTable. A record whose window is 0 is free and is
// reused before the table grows. Each record keeps, per phase, a count and a
// list of message codes:
//   count 0              the phase sees no message
//   count AllMessages    every message matches, the list is not consulted
//   count n > 0          the first n list entries are the codes; 0 is a free entry
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

constexpr std::int32_t AllMessages = -1;

// Which phases AddHookMessage registers a code for.
enum HookWhen : int { kHookAfter = 1, kHookBefore = 2, kHookBoth = 3 };

struct HookRecord {
  std::uintptr_t window = 0;  // 0: free
  std::int32_t afterCount = 0;
  std::int32_t beforeCount = 0;
  std::vector<std::int32_t> afterList;   // entry 1 is afterList[0]
  std::vector<std::int32_t> beforeList;
};

// The control side of a hook. In the before phase the callback may set
// bHandled and lReturn, or change the message and its arguments before the
// window's own handler sees them; in the after phase lReturn holds that
// handler's result.
class HookClient {
 public:
  virtual ~HookClient() = default;
  virtual void zSubclass_Proc(bool bBefore, bool &bHandled, std::intptr_t &lReturn, std::uintptr_t &lng_hWnd,
                              std::uint32_t &uMsg, std::uintptr_t &wParam, std::intptr_t &lParam) = 0;
};

// The messages a control names to its hooks, in the hook's own words: the
// pointer leaving the window, and the window's activation changing (as an
// ordinary window, and as a child of a multiple-document frame). Whoever
// installs the hooks says which code each arrives as.
enum class HookedMessage : std::uint32_t { PointerLeft = 1, Activated, NcActivated };

// What a control asks of whoever installs its hooks. Every operation stops
// quietly at the first thing it cannot do; the caller is not told.
class WindowHooks {
 public:
  virtual ~WindowHooks() = default;
  virtual void HookWindow(std::uintptr_t window) = 0;
  // when: kHookAfter, kHookBefore or kHookBoth; code AllMessages for every message.
  virtual void AddHookMessage(std::uintptr_t window, std::int32_t code, int when) = 0;
  virtual void UnhookWindow(std::uintptr_t window) = 0;
  // The code a named message arrives as.
  virtual std::uint32_t CodeOf(HookedMessage message) const = 0;
};

// The records alone. As a WindowHooks it installs nothing, which is all a
// control needs where no window system is present.
class HookTable : public WindowHooks {
 public:
  // Takes a free record (or appends one) for the window; a window this table
  // already hooks keeps its record and its codes.
  void HookWindow(std::uintptr_t window) override;
  // Code 0 is never registered: 0 marks a free list entry. A code added to a
  // phase that already sees every message changes nothing.
  void AddHookMessage(std::uintptr_t window, std::int32_t code, int when) override;
  // Frees the code's entry in the chosen phases; the count stays, so the
  // entry is taken again by the next code added.
  void RemoveHookMessage(std::uintptr_t window, std::int32_t code, int when);
  void UnhookWindow(std::uintptr_t window) override;
  // Without a window system the names' own numbers are the codes.
  std::uint32_t CodeOf(HookedMessage message) const override { return static_cast<std::uint32_t>(message); }

  // Scans from the highest index down: the index of the window's record or,
  // when forAdding, of whichever comes first of that and a free record;
  // -1 when there is none.
  int FindHookRecord(std::uintptr_t window, bool forAdding) const;

  const HookRecord *Record(std::uintptr_t window) const;
  const std::vector<HookRecord> &Records() const { return records_; }

 private:
  std::vector<HookRecord> records_;
};

// Whether a phase with this count and list sees the message code.
bool HookPhaseMatches(std::int32_t count, const std::vector<std::int32_t> &list, std::uint32_t code);

// The window's own handling of a message, returning its result.
using PreviousHandler =
    std::function<std::intptr_t(std::uintptr_t window, std::uint32_t code, std::uintptr_t wParam, std::intptr_t lParam)>;

// Runs one message through the hook of `window` in `table`: the before
// phase, then (unless the callback handled it) the previous handler and the
// after phase. The record is looked up again for each phase, so a hook
// removed or changed while the window handles the message is respected and
// nothing refers to a record that has moved.
std::intptr_t Dispatch(const HookTable &table, HookClient &client, const PreviousHandler &previous,
                       std::uintptr_t window, std::uint32_t code, std::uintptr_t wParam, std::intptr_t lParam);
