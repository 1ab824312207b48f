#include "message_hook_win32.h"

#include <commctrl.h>

#include "report_failure_win32.h"

namespace {

HWND AsHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

}  // namespace

MessageHook::~MessageHook() {
  for (int i = static_cast<int>(table_.Records().size()) - 1; i >= 0; --i) {
    const std::uintptr_t window = table_.Records()[i].window;
    if (window != 0) UnhookWindow(window);
  }
}

void MessageHook::HookWindow(std::uintptr_t window) {
  if (table_.FindHookRecord(window, false) >= 0) return;
  if (!IsWindow(AsHwnd(window))) return;
  // The hook object is both the subclass id and its data: several controls
  // may hook one window with the same procedure.
  const auto self = reinterpret_cast<UINT_PTR>(this);
  if (!SetWindowSubclass(AsHwnd(window), SubclassProc, self, self)) {
    formkit::ReportFailure("hooking a window");
    return;
  }
  table_.HookWindow(window);
}

void MessageHook::AddHookMessage(std::uintptr_t window, std::int32_t code, int when) {
  table_.AddHookMessage(window, code, when);
}

void MessageHook::UnhookWindow(std::uintptr_t window) {
  if (table_.FindHookRecord(window, false) < 0) return;
  RemoveWindowSubclass(AsHwnd(window), SubclassProc, reinterpret_cast<UINT_PTR>(this));
  table_.UnhookWindow(window);
}

LRESULT CALLBACK MessageHook::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto *self = reinterpret_cast<MessageHook *>(data);
  if (message == WM_NCDESTROY) {
    // The last message the window gets: leave the chain before handing it on.
    self->UnhookWindow(reinterpret_cast<std::uintptr_t>(hwnd));
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  // DefSubclassProc finds the next handler from the window it is given, so
  // the chain goes on with this window even if the callback retargets the
  // message.
  const PreviousHandler previous = [hwnd](std::uintptr_t, std::uint32_t code, std::uintptr_t w, std::intptr_t l) {
    return static_cast<std::intptr_t>(DefSubclassProc(hwnd, code, w, l));
  };
  return Dispatch(self->table_, *self->client_, previous, reinterpret_cast<std::uintptr_t>(hwnd), message, wParam,
                  lParam);
}
