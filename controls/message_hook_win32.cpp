#include "message_hook_win32.h"

#include "window_win32.h"

namespace {

HWND AsHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

}  // namespace

class MessageHook::Observer : public binding::Window {
 public:
  explicit Observer(MessageHook &hook) : hook_(hook) {}
  bool Observe(HWND window) { return Attach(window, binding::Ownership::Observe); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    const auto window = reinterpret_cast<std::uintptr_t>(Hwnd());
    // The window's last message: its record goes, and the binding lets go
    // once the message has gone on.
    if (message == WM_NCDESTROY) {
      hook_.table_.UnhookWindow(window);
      return DefaultHandling(message, wParam, lParam);
    }
    // The rest of the chain is this window's, even if the callback
    // retargets the message.
    const PreviousHandler previous = [this](std::uintptr_t, std::uint32_t code, std::uintptr_t w, std::intptr_t l) {
      return static_cast<std::intptr_t>(DefaultHandling(code, w, l));
    };
    return Dispatch(hook_.table_, *hook_.client_, previous, window, message, wParam, lParam);
  }

  MessageHook &hook_;
};

MessageHook::MessageHook(HookClient &client) : client_(&client) {}

MessageHook::MessageHook() = default;

MessageHook::~MessageHook() {
  for (int i = static_cast<int>(table_.Records().size()) - 1; i >= 0; --i) {
    const std::uintptr_t window = table_.Records()[i].window;
    if (window != 0) UnhookWindow(window);
  }
}

MessageHook::Observer *MessageHook::ObserverOf(std::uintptr_t window) {
  for (const auto &observer : observers_)
    if (reinterpret_cast<std::uintptr_t>(observer->Hwnd()) == window) return observer.get();
  return nullptr;
}

void MessageHook::HookWindow(std::uintptr_t window) {
  if (table_.FindHookRecord(window, false) >= 0) return;
  if (!IsWindow(AsHwnd(window))) return;
  Observer *observer = ObserverOf(0);
  if (!observer) {
    observers_.push_back(std::make_unique<Observer>(*this));
    observer = observers_.back().get();
  }
  if (!observer->Observe(AsHwnd(window))) return;  // reported
  table_.HookWindow(window);
}

void MessageHook::AddHookMessage(std::uintptr_t window, std::int32_t code, int when) {
  table_.AddHookMessage(window, code, when);
}

void MessageHook::UnhookWindow(std::uintptr_t window) {
  if (table_.FindHookRecord(window, false) < 0) return;
  if (Observer *observer = ObserverOf(window)) observer->Release();
  table_.UnhookWindow(window);
}

std::uint32_t MessageHook::CodeOf(HookedMessage message) const {
  switch (message) {
    case HookedMessage::PointerLeft:
      return WM_MOUSELEAVE;
    case HookedMessage::Activated:
      return WM_ACTIVATE;
    case HookedMessage::NcActivated:
      return WM_NCACTIVATE;
  }
  return 0;
}
