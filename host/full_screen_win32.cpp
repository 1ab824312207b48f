// The hidden window of a full-screen run: starts the renderer and the music,
// keeps the music going, and ends the run once the renderer's window is gone.
// Its title marks a running full-screen run for a second start.
#include <windows.h>

#include "command_line.h"
#include "form_kit_win32.h"
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

// Starts the renderer so that only that file can run, whatever blanks its
// folder has; its command line is its own path.
void StartRenderer(const std::wstring &path) {
  const std::string file = ToAnsi(path);
  std::string commandLine = file;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  if (CreateProcessA(file.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

class FullScreenForm : public formkit::Form {
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
    loadedAt_ = GetTickCount();
    RendererPath = formkit::App::Path() + kRendererFile;
    StartRenderer(RendererPath);
    switch (MusicSourceOf(Music)) {
      case MusicSource::Cd:
        Bgm.CdOpen();
        Timer2.SetEnabled(true);
        break;
      case MusicSource::Wav:
        Bgm.WavPlay();
        break;
      case MusicSource::Mp3:
        Bgm.Mp3Play();
        Timer1.SetEnabled(true);
        break;
      case MusicSource::None:
        break;
    }
  }

  // The close handler: whoever asks, the music stops and the program ends.
  void OnQueryUnload(bool &, formkit::UnloadMode) override {
    if (Timer2.Enabled()) {
      Timer2.SetEnabled(false);
      Bgm.CdStop();
    }
    switch (MusicSourceOf(Music)) {
      case MusicSource::Wav:
        Bgm.WavStop();
        break;
      case MusicSource::Mp3:
        Timer1.SetEnabled(false);
        Bgm.Mp3Stop();
        break;
      default:
        break;
    }
    if (ModeLetter(formkit::App::Command()) == L'S') SavedCursorCount = ShowCursor(SavedCursorCount);
    formkit::App::End();
  }

 private:
  void WatchRenderer() {
    const bool present = FindWindowA(kRendererClass, nullptr) != nullptr;
    if (watch_.RendererGone(GetTickCount() - loadedAt_, present)) {
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
  DWORD loadedAt_ = 0;
};

}  // namespace

void LoadFullScreenRun() {
  static FullScreenForm Brumalis_S;
  Brumalis_S.Load();
}
