// A container for custom controls under test: its ambient values are fields
// the test sets, and what the control asks of it is recorded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control_site.h"

struct MemorySite : ControlSite {
  Colour ambient = Rgb(236, 233, 216);
  bool displayAsDefault = false, userMode = true, mdiChild = false;
  int dpi = 96;
  std::wstring name = L"Control1";
  std::uintptr_t container = 0;
  std::vector<std::wstring> captions, changed;
  std::wstring accessKeys;
  std::vector<std::string> log;
  std::function<void()> onDoEvents;

  Colour AmbientBackColour() override { return ambient; }
  bool AmbientDisplayAsDefault() override { return displayAsDefault; }
  bool UserMode() override { return userMode; }
  std::wstring InstanceName() override { return name; }
  std::vector<std::wstring> PushButtonCaptions() override { return captions; }
  void PropertyChanged(const std::wstring &property) override { changed.push_back(property); }
  void SetAccessKeys(const std::wstring &keys) override { accessKeys = keys; }
  void SendTab(bool backwards) override { log.push_back(backwards ? "shift+tab" : "tab"); }
  void DoEvents() override {
    log.push_back("do events");
    if (onDoEvents) onDoEvents();
  }
  std::uintptr_t ContainerWindow() override { return container; }
  bool ContainerIsMdiChild() override { return mdiChild; }
  int ScreenDpiX() override { return dpi; }
};
