// The window message hook on real windows: each hooked window is observed
// through the binding (binding::Window attached to it, not owning it),
// whose messages run the portable dispatch with the rest of the window's
// handler chain as the previous handler.
//
// Hooks of several controls on one window can be removed in any order
// without leaving a removed procedure in the chain; the most recently
// installed one sees messages first. A hook goes when its window is
// destroyed (WM_NCDESTROY), so nothing refers to a window that is gone.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "message_hook.h"

class MessageHook : public WindowHooks {
 public:
  explicit MessageHook(HookClient &client);
  // For a client that is made with its hook, and so after it: it is named
  // once it exists, before anything is hooked.
  MessageHook();
  void SetClient(HookClient &client) { client_ = &client; }
  // Removes the hooks still installed, latest record first.
  ~MessageHook() override;
  MessageHook(const MessageHook &) = delete;
  MessageHook &operator=(const MessageHook &) = delete;

  void HookWindow(std::uintptr_t window) override;
  void AddHookMessage(std::uintptr_t window, std::int32_t code, int when) override;
  void UnhookWindow(std::uintptr_t window) override;

  void HookWindow(HWND window) { HookWindow(reinterpret_cast<std::uintptr_t>(window)); }
  void AddHookMessage(HWND window, std::int32_t code, int when) {
    AddHookMessage(reinterpret_cast<std::uintptr_t>(window), code, when);
  }
  void UnhookWindow(HWND window) { UnhookWindow(reinterpret_cast<std::uintptr_t>(window)); }

  // WM_MOUSELEAVE, WM_ACTIVATE, WM_NCACTIVATE.
  std::uint32_t CodeOf(HookedMessage message) const override;

  const HookTable &Table() const { return table_; }

 private:
  class Observer;
  Observer *ObserverOf(std::uintptr_t window);

  HookClient *client_ = nullptr;
  HookTable table_;
  // One a hooked window; one whose window has gone is taken again.
  std::vector<std::unique_ptr<Observer>> observers_;
};
