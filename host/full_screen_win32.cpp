// The hidden window of a full-screen run: starts the renderer and the music,
// keeps the music going, and ends the run once the renderer it started has
// gone. Its title marks a running full-screen run for a second start.
#include <windows.h>

#include "command_line.h"
#include "form_kit_win32.h"
#include "full_screen_run.h"
#include "host_state.h"
#include "music_player.h"
#include "music_win32.h"
#include "renderer_watch.h"
#include "shared_names.h"
#include "text_win32.h"

namespace {

Win32Mci Mci;
Win32Sound Sound;
MusicPlayer Bgm(Mci, Sound, Music);

// The renderer this run started, known by its process id and the time its
// process was created (an id alone may be reused once the process is gone).
// No handle is kept open between ticks.
struct RendererIdentity {
  DWORD pid = 0;
  FILETIME created = {};
};

FILETIME CreationTime(HANDLE process) {
  FILETIME created = {}, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return created;
}

// Starts the renderer so that only that file can run, whatever blanks its
// folder has; its command line is its own path.
RendererIdentity StartRenderer(const std::wstring &path) {
  const std::string file = ToAnsi(path);
  std::string commandLine = file;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  RendererIdentity renderer;
  if (CreateProcessA(file.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    renderer.pid = pi.dwProcessId;
    renderer.created = CreationTime(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return renderer;
}

RendererProcess ProcessState(const RendererIdentity &renderer) {
  if (renderer.pid == 0) return RendererProcess::NotStarted;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, renderer.pid);
  if (!process) return RendererProcess::Ended;
  const FILETIME created = CreationTime(process);
  const bool same = CompareFileTime(&created, &renderer.created) == 0;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return same && running ? RendererProcess::Running : RendererProcess::Ended;
}

struct WindowSearch {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindRendererWindow(HWND hwnd, LPARAM data) {
  auto &search = *reinterpret_cast<WindowSearch *>(data);
  char cls[64] = "";
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search.pid && GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpA(cls, kRendererClass) == 0) {
    search.found = true;
    return FALSE;
  }
  return TRUE;
}

// Whether a window of the renderer's class belongs to that process.
bool HasRendererWindow(DWORD pid) {
  WindowSearch search = {pid, false};
  EnumWindows(FindRendererWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class FullScreenForm : public formkit::Form, private FullScreenPlatform {
 public:
  FullScreenForm() : Form(kFullScreenTitle, WS_CLIPSIBLINGS) {
    Timer1.SetInterval(1000);
    Timer1.SetEnabled(false);
    Timer2.SetInterval(200);
    Timer2.SetEnabled(false);
    Timer3.SetInterval(500);
  }

  std::wstring RendererPath;

 protected:
  void OnLoad() override {
    RendererPath = formkit::App::Path() + kRendererFile;
    CoverOtherMonitors(RunHidesCursor(formkit::App::Command()));
    renderer_ = StartRenderer(RendererPath);
    run_.Load();
  }

  // The close handler: whoever asks, the music stops and the program ends.
  void OnQueryUnload(bool &, formkit::UnloadMode) override { run_.Close(); }

 private:
  void CdOpen() override { Bgm.CdOpen(); }
  void CdStop() override { Bgm.CdStop(); }
  void WavPlay() override { Bgm.WavPlay(); }
  void WavStop() override { Bgm.WavStop(); }
  void Mp3Play() override { Bgm.Mp3Play(); }
  void Mp3Stop() override { Bgm.Mp3Stop(); }
  void EnableCdPoll(bool enabled) override { Timer2.SetEnabled(enabled); }
  bool CdPollEnabled() const override { return Timer2.Enabled(); }
  void EnableMp3Poll(bool enabled) override { Timer1.SetEnabled(enabled); }
  void RestoreCursor() override { SavedCursorCount = ShowCursor(SavedCursorCount); }
  void EndProgram() override { formkit::App::End(); }

  void WatchRenderer() {
    const bool present = renderer_.pid != 0 && HasRendererWindow(renderer_.pid);
    if (watch_.RendererGone(present, ProcessState(renderer_))) {
      Timer3.SetEnabled(false);
      Unload();
    }
  }

  formkit::Timer Timer1{*this, [] { Bgm.Mp3Poll(); }};
  formkit::Timer Timer2{*this, [this] {
                          Bgm.CdPoll();
                          Timer2.SetEnabled(Bgm.CdPollActive);
                        }};
  formkit::Timer Timer3{*this, [this] { WatchRenderer(); }};
  RendererWatch watch_;
  RendererIdentity renderer_;
  FullScreenRun run_{Music, formkit::App::Command(), *this};
};

}  // namespace

void LoadFullScreenRun() {
  static FullScreenForm Brumalis_S;
  Brumalis_S.Load();
}
