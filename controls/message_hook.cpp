#include "message_hook.h"

namespace {

// Registers a code in one phase. The list keeps its length when entries are
// freed, so a free entry is reused before the list grows.
void AddToPhase(std::int32_t &count, std::vector<std::int32_t> &list, std::int32_t code) {
  if (code == AllMessages) {
    count = AllMessages;
    return;
  }
  if (count == AllMessages) return;
  for (std::int32_t i = 0; i < count; ++i) {
    if (list[i] == code) return;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    if (list[i] == 0) {
      list[i] = code;
      return;
    }
  }
  list.resize(static_cast<std::size_t>(count));
  list.push_back(code);
  ++count;
}

void RemoveFromPhase(std::int32_t count, std::vector<std::int32_t> &list, std::int32_t code) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (list[i] == code) list[i] = 0;
  }
}

}  // namespace

void HookTable::HookWindow(std::uintptr_t window) {
  if (window == 0 || FindHookRecord(window, false) >= 0) return;
  int index = FindHookRecord(window, true);
  if (index < 0) {
    records_.emplace_back();
    index = static_cast<int>(records_.size()) - 1;
  }
  records_[index] = HookRecord{};
  records_[index].window = window;
}

void HookTable::AddHookMessage(std::uintptr_t window, std::int32_t code, int when) {
  if (window == 0 || code == 0) return;
  const int index = FindHookRecord(window, false);
  if (index < 0) return;
  HookRecord &record = records_[index];
  if (when & kHookAfter) AddToPhase(record.afterCount, record.afterList, code);
  if (when & kHookBefore) AddToPhase(record.beforeCount, record.beforeList, code);
}

void HookTable::RemoveHookMessage(std::uintptr_t window, std::int32_t code, int when) {
  if (window == 0 || code == 0 || code == AllMessages) return;
  const int index = FindHookRecord(window, false);
  if (index < 0) return;
  HookRecord &record = records_[index];
  if (when & kHookAfter) RemoveFromPhase(record.afterCount, record.afterList, code);
  if (when & kHookBefore) RemoveFromPhase(record.beforeCount, record.beforeList, code);
}

void HookTable::UnhookWindow(std::uintptr_t window) {
  if (window == 0) return;
  const int index = FindHookRecord(window, false);
  if (index >= 0) records_[index] = HookRecord{};
}

int HookTable::FindHookRecord(std::uintptr_t window, bool forAdding) const {
  for (int i = static_cast<int>(records_.size()) - 1; i >= 0; --i) {
    if (records_[i].window == window && window != 0) return i;
    if (forAdding && records_[i].window == 0) return i;
  }
  return -1;
}

const HookRecord *HookTable::Record(std::uintptr_t window) const {
  const int index = FindHookRecord(window, false);
  return index < 0 ? nullptr : &records_[index];
}

bool HookPhaseMatches(std::int32_t count, const std::vector<std::int32_t> &list, std::uint32_t code) {
  if (count == AllMessages) return true;
  for (std::int32_t i = 0; i < count && i < static_cast<std::int32_t>(list.size()); ++i) {
    // A free entry matches nothing, not even message 0.
    if (list[i] != 0 && static_cast<std::uint32_t>(list[i]) == code) return true;
  }
  return false;
}

std::intptr_t Dispatch(const HookTable &table, HookClient &client, const PreviousHandler &previous,
                       std::uintptr_t window, std::uint32_t code, std::uintptr_t wParam, std::intptr_t lParam) {
  bool handled = false;
  std::intptr_t result = 0;
  std::uintptr_t target = window;

  const HookRecord *record = table.Record(window);
  if (record && HookPhaseMatches(record->beforeCount, record->beforeList, code)) {
    client.zSubclass_Proc(true, handled, result, target, code, wParam, lParam);
    if (handled) return result;
  }

  result = previous(target, code, wParam, lParam);

  record = table.Record(window);
  if (record && HookPhaseMatches(record->afterCount, record->afterList, code)) {
    client.zSubclass_Proc(false, handled, result, target, code, wParam, lParam);
  }
  return result;
}
