// Entry of the screensaver program: refuses to run beside a running instance,
// reads the mode from the command line and starts the preview, the settings
// dialog or the full-screen run. Every step stands on its own: one that fails
// is skipped and the next one runs.
#include <windows.h>

#include "command_line.h"
#include "form_kit_win32.h"
#include "host_modes_win32.h"
#include "numbers.h"
#include "profile_win32.h"
#include "shared_names.h"
#include "system_libraries_win32.h"
#include "settings_dialog_win32.h"
#include "text_win32.h"
#include "user_seal_win32.h"

namespace {

const wchar_t kRendererMissing[] =
    L"" BRUMALIS_RENDERER_FILE L" \u304c\u540c\u3058\uff8c\uff6b\uff99\uff80\uff9e\u306b\u898b\u3064\u304b\u308a"
    L"\u307e\u305b\u3093\uff01";  // Brumalis.dll が同じﾌｫﾙﾀﾞに見つかりません！

// Starts pass the single-instance look-up one at a time, and hold the gate
// until the window that a later start looks for exists: two starts at the
// same moment cannot both find nothing and both run. A start that ends
// while holding it abandons it, which lets the next one through.
class StartGate {
 public:
  StartGate() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Brumalis.StartGate")) {
    // A start stuck elsewhere does not keep this one waiting for ever.
    if (mutex_) held_ = WaitForSingleObject(mutex_, 30000) != WAIT_TIMEOUT;
  }
  void Open() {
    if (held_) ReleaseMutex(mutex_);
    held_ = false;
  }

 private:
  HANDLE mutex_;
  bool held_ = false;
};

StartGate *Gate = nullptr;

void OpenGate() { Gate->Open(); }

bool AnotherInstanceRuns() {
  // Both are looked up, always.
  const bool fullScreen = FindWindowA(nullptr, ToAnsi(kRunTitle).c_str()) != nullptr;
  const bool dialog = FindWindowA(nullptr, ToAnsi(kDialogTitle).c_str()) != nullptr;
  return fullScreen || dialog;
}

void WritePrimaryScreenSize() {
  // A size that does not fit 16 bits is written as 0, which the renderer
  // replaces with its own default.
  const auto width = RoundToInt16(formkit::ScreenWidthPixels());
  const auto height = RoundToInt16(formkit::ScreenHeightPixels());
  Win32Profile profile;
  WriteScreenSize(profile, width.value_or(0), height.value_or(0));
}

void Main() {
  static StartGate gate;
  static HostState state;
  Gate = &gate;
  if (AnotherInstanceRuns()) formkit::App::End();

  const std::wstring arguments = formkit::App::Command();
  const StartMode mode = ModeOf(arguments);
  if (mode == StartMode::Preview) {
    // The preview makes no window that other starts look for.
    OpenGate();
    ShowPreview(arguments);
    return;
  }

  CreateDirectoryA(ToAnsi(kSettingsFolder).c_str(), nullptr);

  Win32Profile profile;
  Win32Files files;
  Win32UserSeal seal;
  LoadSettings(profile, files, seal, formkit::App::Path(),
               mode == StartMode::Settings ? LoadFor::Dialog : LoadFor::Run, state);

  if (!FileExists(files, formkit::App::Path() + L"\\" + kRendererFile)) {
    OpenGate();
    formkit::App::MsgBox(kRendererMissing);
    formkit::App::End();
  }

  if (mode == StartMode::Settings) {
    ShowSettingsDialog({state, state.ZoomOriginX, state.ZoomOriginY, ZoomFromPoint, ZoomToPoint, OpenGate});
    formkit::App::End();
  }
  if (mode == StartMode::CheckOnly) formkit::App::End();

  // Worked out once: the end of the run and the covers go by what was done here.
  state.CursorHidden = mode == StartMode::FullScreen;
  if (state.CursorHidden) state.SavedCursorCount = ShowCursor(FALSE);
  WritePrimaryScreenSize();
  LoadFullScreenRun(state);
  OpenGate();
}

}  // namespace

void ZoomFromPoint(HWND hwnd, const std::int16_t &x, const std::int16_t &y) {
  const RECT from = {x, y, x, y};
  RECT to = {};
  GetWindowRect(hwnd, &to);
  DrawAnimatedRects(hwnd, IDANI_CAPTION, &from, &to);
}

void ZoomToPoint(HWND hwnd, const std::int16_t &x, const std::int16_t &y) {
  RECT from = {};
  GetWindowRect(hwnd, &from);
  const RECT to = {x, y, x, y};
  DrawAnimatedRects(hwnd, IDANI_CAPTION, &from, &to);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadLibrariesFromTheSystemFolderOnly();
  Main();
  return formkit::App::Run();
}
