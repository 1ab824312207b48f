// What a custom control sees of the form it sits on, on a real form.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "control_site.h"
#include "form_win32.h"

namespace formkit {

// What a custom control sees of the form it sits on.
class FormControlSite : public ControlSite {
 public:
  FormControlSite(Container &container, std::wstring name) : container_(container), name_(std::move(name)) {}
  // The custom control's own window, once it exists.
  void Attach(HWND control, std::function<void()> accessKeyPressed);
  // Captions of the push buttons on the form, for a new button's default caption.
  std::function<std::vector<std::wstring>()> ButtonCaptions;

  Colour AmbientBackColour() override;
  std::optional<ContrastColours> AmbientContrast() override { return container_.Contrast(); }
  bool AmbientDisplayAsDefault() override;
  bool UserMode() override { return true; }
  std::wstring InstanceName() override { return name_; }
  std::vector<std::wstring> PushButtonCaptions() override;
  // Tells screen readers of a new caption or a control switched on or off.
  void PropertyChanged(const std::wstring &name) override;
  void SetAccessKeys(const std::wstring &keys) override;
  void SendTab(bool backwards) override;
  void DoEvents() override { App::DoEvents(); }
  std::uintptr_t ContainerWindow() override;
  bool ContainerIsMdiChild() override { return false; }
  int ScreenDpiX() override { return formkit::LogicalPixels(LOGPIXELSX); }

 private:
  Container &container_;
  std::wstring name_;
  HWND control_ = nullptr;
  std::function<void()> accessKeyPressed_;
  std::wstring pendingKeys_;
};

}  // namespace formkit
