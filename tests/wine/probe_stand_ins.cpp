// The probe, copied under another name, stands in for other programs as the
// tests place it:
//
//   brumalis-browser.exe   the web browser: notes the address it was asked to
//                          open in C:\browser-opened.txt
//   Program.exe            the program a careless start of "C:\Program Files\..."
//                          would run: leaves C:\impostor-ran.txt
//   Brumalis.dll           a renderer: with BRUMALIS_FAKE_RENDERER_DELAY_MS, its
//                          window appears only after that delay; with
//                          BRUMALIS_FAKE_RENDERER_EXIT_MS, it ends after that
//                          delay without a window; with
//                          BRUMALIS_FAKE_RENDERER_HANG, it makes its window
//                          hidden and hangs before showing it, as a renderer
//                          stuck in its GL driver would
#include "probe_stand_ins.h"

#include <windows.h>

#include <cstdlib>

#include "shared_names.h"

namespace {

HWND FakeRendererWindow(DWORD style) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kRendererClass;
  RegisterClassA(&wc);
  return CreateWindowExA(0, kRendererClass, kRendererClass, WS_POPUP | style, 0, 0, 64, 48, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

int FakeRenderer(DWORD delay) {
  Sleep(delay);
  HWND hwnd = FakeRendererWindow(WS_VISIBLE);
  MSG msg;
  while (IsWindow(hwnd) && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

// Notes this program's command line in the file `path`.
int Mark(const char *path) {
  const char *text = GetCommandLineA();
  HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(mark, text, lstrlenA(text), &written, nullptr);
  CloseHandle(mark);
  return 0;
}

}  // namespace

int StandIn(const char *ownName) {
  if (lstrcmpiA(ownName, "brumalis-browser.exe") == 0) return Mark("C:\\browser-opened.txt");
  if (lstrcmpiA(ownName, "Program.exe") == 0) return Mark("C:\\impostor-ran.txt");
  if (const char *delay = std::getenv("BRUMALIS_FAKE_RENDERER_DELAY_MS"))
    return FakeRenderer(std::strtoul(delay, nullptr, 0));
  if (std::getenv("BRUMALIS_FAKE_RENDERER_HANG")) {
    FakeRendererWindow(0);
    Sleep(INFINITE);
    return 0;
  }
  if (const char *delay = std::getenv("BRUMALIS_FAKE_RENDERER_EXIT_MS")) {
    Sleep(std::strtoul(delay, nullptr, 0));
    return 0;
  }
  return 2;
}
