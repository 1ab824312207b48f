// The window message hook on real windows: each hooked window gets a
// comctl32 subclass whose procedure runs the portable dispatch, with the
// rest of the window's handler chain as the previous handler.
//
// comctl32 keeps every window's subclasses in one list, so hooks of several
// controls on one window can be removed in any order without leaving a
// removed procedure in the chain; the most recently installed one sees
// messages first. A hook removes itself when its window is destroyed
// (WM_NCDESTROY), so nothing refers to a window that is gone.
#pragma once

#include <windows.h>

#include "message_hook.h"

class MessageHook : public WindowHooks {
 public:
  explicit MessageHook(HookClient &client) : client_(&client) {}
  // For a client that is made with its hook, and so after it: it is named
  // once it exists, before anything is hooked.
  MessageHook() = default;
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

  const HookTable &Table() const { return table_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  HookClient *client_ = nullptr;
  HookTable table_;
};
