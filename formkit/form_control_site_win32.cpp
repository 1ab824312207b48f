// The site a custom control sees of the form it sits on.
#include "form_kit_internal_win32.h"

namespace formkit {

void FormControlSite::Attach(HWND control, std::function<void()> accessKeyPressed) {
  control_ = control;
  accessKeyPressed_ = std::move(accessKeyPressed);
  if (!pendingKeys_.empty()) SetAccessKeys(pendingKeys_);
}

Colour FormControlSite::AmbientBackColour() { return static_cast<Colour>(container_.BackColour()); }

// The focused push button is shown as the default one, as in dialogs.
bool FormControlSite::AmbientDisplayAsDefault() { return control_ && GetFocus() == control_; }

void FormControlSite::PropertyChanged(const std::wstring &name) {
  if (name == L"Caption") NotifyPart(EVENT_OBJECT_NAMECHANGE, control_, 0);
  if (name == L"Enabled") NotifyPart(EVENT_OBJECT_STATECHANGE, control_, 0);
}

std::vector<std::wstring> FormControlSite::PushButtonCaptions() {
  return ButtonCaptions ? ButtonCaptions() : std::vector<std::wstring>{};
}

void FormControlSite::SetAccessKeys(const std::wstring &keys) {
  pendingKeys_ = keys;
  if (!control_) return;
  container_.OwnerForm().SetAccessKeys(control_, keys, [this] {
    if (accessKeyPressed_) accessKeyPressed_();
  });
}

void FormControlSite::SendTab(bool backwards) { container_.OwnerForm().TabToNext(backwards); }

std::uintptr_t FormControlSite::ContainerWindow() {
  return reinterpret_cast<std::uintptr_t>(container_.OwnerForm().Hwnd());
}

}  // namespace formkit
