// The hidden window of a full-screen run: starts the renderer and the music,
// keeps the music going (and resting while the display is off), and ends the
// run once the renderer it started has gone. Its title marks a running
// full-screen run for a second start.
#include <windows.h>

#include "display_state_win32.h"
#include "form_kit_win32.h"
#include "full_screen_run.h"
#include "host_modes_win32.h"
#include "monitor_cover_win32.h"
#include "music_player.h"
#include "music_win32.h"
#include "profile_win32.h"
#include "renderer_watch.h"
#include "shared_names.h"
#include "text_win32.h"

namespace {

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
// folder has; its command line is its own path. The path is the exact one,
// in wide characters: turned into the code page, characters it lacks would
// become others (a yen sign a backslash), and another file would start.
RendererIdentity StartRenderer(const std::wstring &path) {
  std::wstring commandLine = path;
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  RendererIdentity renderer;
  if (CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    renderer.pid = pi.dwProcessId;
    renderer.created = CreationTime(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return renderer;
}

// Milliseconds since this program's process was created, which is when the
// run started; at most `most`, so that a clock set back or forward meanwhile
// moves nothing far.
ULONGLONG ProgramAgeMs(ULONGLONG most) {
  const FILETIME created = CreationTime(GetCurrentProcess());
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER from, to;
  from.LowPart = created.dwLowDateTime, from.HighPart = created.dwHighDateTime;
  to.LowPart = now.dwLowDateTime, to.HighPart = now.dwHighDateTime;
  const ULONGLONG age = to.QuadPart > from.QuadPart ? (to.QuadPart - from.QuadPart) / 10000 : 0;
  return age < most ? age : most;
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

// Ends the renderer this run started, if it still runs: the same process,
// not one that took its id after it ended.
void EndRenderer(const RendererIdentity &renderer) {
  if (renderer.pid == 0) return;
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, renderer.pid);
  if (!process) return;
  const FILETIME created = CreationTime(process);
  if (CompareFileTime(&created, &renderer.created) == 0 && TerminateProcess(process, 0))
    WaitForSingleObject(process, 2000);
  CloseHandle(process);
}

struct WindowSearch {
  DWORD pid;
  RendererWindow found;
  HWND shown;
};

BOOL CALLBACK FindRendererWindow(HWND hwnd, LPARAM data) {
  auto &search = *reinterpret_cast<WindowSearch *>(data);
  char cls[64] = "";
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search.pid && GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpA(cls, kRendererClass) == 0) {
    if (IsWindowVisible(hwnd)) {
      search.found = RendererWindow::Shown;
      search.shown = hwnd;
      return FALSE;
    }
    search.found = RendererWindow::Hidden;
  }
  return TRUE;
}

// The window of the renderer's class that belongs to that process, if any,
// whether it has been shown, and which one that is.
WindowSearch RendererWindowOf(DWORD pid) {
  WindowSearch search = {pid, RendererWindow::None, nullptr};
  if (pid != 0) EnumWindows(FindRendererWindow, reinterpret_cast<LPARAM>(&search));
  return search;
}

struct LowestSearch {
  DWORD pid;
  HWND lowest;
};

BOOL CALLBACK NoteShownWindow(HWND hwnd, LPARAM data) {
  auto &search = *reinterpret_cast<LowestSearch *>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search.pid && IsWindowVisible(hwnd)) search.lowest = hwnd;
  return TRUE;
}

// The last in the Z order of the process's shown top-level windows, which
// the enumeration lists from the top down.
HWND LowestWindowOf(DWORD pid) {
  LowestSearch search = {pid, nullptr};
  EnumWindows(NoteShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.lowest;
}

// Where the renderer will open its window, from what the settings file
// holds now: written by this run a moment ago, or left as it was when
// another user's link or second name refused the write.
ScreenRect ExpectedRendererWindow() {
  Win32Profile settings;
  return RendererWindowRect(StoredWindowSize(settings), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

class FullScreenForm : public formkit::Form, private FullScreenPlatform {
 public:
  explicit FullScreenForm(HostState &state) : Form(kRunTitle, WS_CLIPSIBLINGS), state_(state) {
    Timer1.SetInterval(1000);
    Timer1.SetEnabled(false);
    Timer2.SetInterval(200);
    Timer2.SetEnabled(false);
    Timer3.SetInterval(500);
  }

  std::wstring RendererPath;

 protected:
  void OnLoad() override {
    // Times of the run are kept on the tick count, which no clock change moves.
    startedAt_ = GetTickCount64() - ProgramAgeMs(kStartLimitMs);
    RendererPath = formkit::App::Path() + L"\\" + kRendererFile;
    covers_.Lay(ExpectedRendererWindow(), state_.CursorHidden);
    renderer_ = StartRenderer(RendererPath);
    run_.Load();
    // The display state comes as the renderer hears it; the program ends at
    // once when the run does, so the registration is never undone.
    ListenForDisplayState(Hwnd(), display_);
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override {
    if (message != WM_POWERBROADCAST && message != WM_SYSCOMMAND) return false;
    const bool setting = NoteDisplayMessage(display_, message, wParam, lParam);
    run_.DisplayChanged(display_.Off());
    if (!setting) return false;
    result = TRUE;
    return true;
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
  void CdPause() override { Bgm.CdPause(); }
  void CdResume() override { Bgm.CdResume(); }
  void Mp3Pause() override { Bgm.Mp3Pause(); }
  void Mp3Resume() override { Bgm.Mp3Resume(); }
  void EnableCdPoll(bool enabled) override { Timer2.SetEnabled(enabled); }
  bool CdPollEnabled() const override { return Timer2.Enabled(); }
  void EnableMp3Poll(bool enabled) override { Timer1.SetEnabled(enabled); }
  void RestoreCursor() override { state_.SavedCursorCount = ShowCursor(state_.SavedCursorCount); }
  void EndProgram() override { formkit::App::End(); }

  void WatchRenderer() {
    const WindowSearch seen = RendererWindowOf(renderer_.pid);
    const WatchVerdict verdict = watch_.Tick(seen.found, ProcessState(renderer_), GetTickCount64() - startedAt_);
    if (verdict == WatchVerdict::Wait) {
      if (seen.shown && !coversFitted_) FitCovers(seen.shown);
      return;
    }
    Timer3.SetEnabled(false);
    if (verdict == WatchVerdict::EndRunAndRenderer) EndRenderer(renderer_);
    Unload();
  }

  // Once the renderer's window shows, the covers go where it really is (the
  // file may have changed meanwhile, or the GL context cut the window) and
  // beneath all of the renderer's windows.
  void FitCovers(HWND shown) {
    RECT r = {};
    if (!GetWindowRect(shown, &r)) return;
    covers_.FitAround({r.left, r.top, r.right, r.bottom}, LowestWindowOf(renderer_.pid));
    coversFitted_ = true;
  }

  HostState &state_;
  Win32Mci Mci;
  Win32Sound Sound;
  MusicPlayer Bgm{Mci, Sound, state_};
  formkit::Timer Timer1{*this, [this] { Bgm.Mp3Poll(); }};
  formkit::Timer Timer2{*this, [this] {
                          Bgm.CdPoll();
                          Timer2.SetEnabled(Bgm.CdPollActive);
                        }};
  formkit::Timer Timer3{*this, [this] { WatchRenderer(); }};
  MonitorCovers covers_;
  bool coversFitted_ = false;
  RendererWatch watch_;
  RendererIdentity renderer_;
  ULONGLONG startedAt_ = 0;  // on the tick count: when the program started
  DisplayState display_;
  FullScreenRun run_{state_, *this};
};

}  // namespace

void LoadFullScreenRun(HostState &state) {
  static FullScreenForm Brumalis_S(state);
  Brumalis_S.Load();
}
