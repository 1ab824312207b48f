// A container for custom controls under test, and a control's own window:
// their ambient values and answers are fields the test sets, and what the
// control asks of them is recorded.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control_site.h"
#include "control_window.h"
#include "memory_surface.h"

struct MemorySite : ControlSite {
  Colour ambient = Rgb(236, 233, 216);
  std::optional<ContrastColours> contrast;  // high contrast off unless set
  bool displayAsDefault = false, userMode = true, mdiChild = false;
  int dpi = 96;
  std::wstring name = L"Control1";
  std::uintptr_t container = 0;
  std::vector<std::wstring> captions, changed;
  std::wstring accessKeys;
  std::vector<std::string> log;
  std::function<void()> onDoEvents;

  Colour AmbientBackColour() override { return ambient; }
  std::optional<ContrastColours> AmbientContrast() override { return contrast; }
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

struct MemoryControlWindow : ControlWindow {
  explicit MemoryControlWindow(int width = 40, int height = 23)
      : image(std::make_unique<MemorySurface>(width, height)) {}
  std::unique_ptr<MemorySurface> image;
  std::uintptr_t handle = 0x100;
  int shapes = 0, shapeWidth = 0, shapeHeight = 0, shapeEllipse = 0;  // one shape per repaint
  int leaveRequests = 0, originX = 0, originY = 0, mouseX = -1, mouseY = -1;
  bool inputEnabled = true;

  std::uintptr_t Handle() const override { return handle; }
  Surface &Image() override { return *image; }
  void SetPixelSize(int width, int height) override { image = std::make_unique<MemorySurface>(width, height); }
  void SetRoundedShape(int width, int height, int ellipse) override {
    ++shapes, shapeWidth = width, shapeHeight = height, shapeEllipse = ellipse;
  }
  void EnableInput(bool enabled) override { inputEnabled = enabled; }
  void TrackMouseLeave() override { ++leaveRequests; }
  void ClientOriginOnScreen(int &x, int &y) override { x = originX, y = originY; }
  void MoveMouseTo(int x, int y) override { mouseX = x, mouseY = y; }
};
