#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "full_screen_run.h"

namespace {

// Records what the run asks of the window; the CD poll timer keeps its state
// so that the close can see whether a poll has given up.
class Recorder : public FullScreenPlatform {
 public:
  std::vector<std::string> actions;
  bool cdPoll = false;

  void CdOpen() override { actions.push_back("CdOpen"); }
  void CdStop() override { actions.push_back("CdStop"); }
  void WavPlay() override { actions.push_back("WavPlay"); }
  void WavStop() override { actions.push_back("WavStop"); }
  void Mp3Play() override { actions.push_back("Mp3Play"); }
  void Mp3Stop() override { actions.push_back("Mp3Stop"); }
  void CdPause() override { actions.push_back("CdPause"); }
  void CdResume() override { actions.push_back("CdResume"); }
  void Mp3Pause() override { actions.push_back("Mp3Pause"); }
  void Mp3Resume() override { actions.push_back("Mp3Resume"); }
  void EnableCdPoll(bool enabled) override {
    cdPoll = enabled;
    actions.push_back(enabled ? "Timer2 on" : "Timer2 off");
  }
  bool CdPollEnabled() const override { return cdPoll; }
  void EnableMp3Poll(bool enabled) override { actions.push_back(enabled ? "Timer1 on" : "Timer1 off"); }
  void RestoreCursor() override { actions.push_back("ShowCursor"); }
  void EndProgram() override { actions.push_back("End"); }
};

using Actions = std::vector<std::string>;

// The run is loaded; the display goes off twice and comes on twice (a
// notification may come again), only the first of each changing the music;
// the run is closed while the display is off again.
TEST(FullScreenRun, StartsRestsAndStopsTheMusicOfItsSource) {
  struct Case {
    std::int16_t kind;
    const wchar_t *file;
    bool cursorHidden;  // the start hid the cursor (letter S)
    bool cdGivesUp;     // a CD poll failed while the run went on
    Actions load, off, on, close;
  };
  const Case cases[] = {
      {1, L"", true, false, {"CdOpen", "Timer2 on"}, {"CdPause"}, {"CdResume"},
       {"Timer2 off", "CdStop", "ShowCursor", "End"}},
      {1, L"", true, true, {"CdOpen", "Timer2 on"}, {}, {}, {"ShowCursor", "End"}},
      {1, L"C:\\a.mp3", false, false, {"CdOpen", "Timer2 on"}, {"CdPause"}, {"CdResume"},
       {"Timer2 off", "CdStop", "End"}},
      {2, L"C:\\a.wav", true, false, {"WavPlay"}, {"WavStop"}, {"WavPlay"}, {"WavStop", "ShowCursor", "End"}},
      {2, L"C:\\a.WAV", false, false, {"WavPlay"}, {"WavStop"}, {"WavPlay"}, {"WavStop", "End"}},
      {2, L"C:\\a.Mp3", true, false, {"Mp3Play", "Timer1 on"}, {"Mp3Pause"}, {"Mp3Resume"},
       {"Timer1 off", "Mp3Stop", "ShowCursor", "End"}},
      {2, L"C:\\A.MP3", false, false, {"Mp3Play", "Timer1 on"}, {"Mp3Pause"}, {"Mp3Resume"},
       {"Timer1 off", "Mp3Stop", "End"}},
      {2, L"C:\\a.mid", true, false, {}, {}, {}, {"ShowCursor", "End"}},
      {2, L"C:\\a.mp3 ", false, false, {}, {}, {}, {"End"}},
      {0, L"C:\\a.wav", true, false, {}, {}, {}, {"ShowCursor", "End"}},
  };
  for (const Case &c : cases) {
    HostState state;
    state.BgmKind = c.kind;
    state.BgmFile = c.file;
    state.CursorHidden = c.cursorHidden;
    Recorder window;
    FullScreenRun run(state, window);
    SCOPED_TRACE(testing::Message() << c.kind << " [" << c.file << "]" << (c.cursorHidden ? " cursor hidden" : "")
                                    << (c.cdGivesUp ? " CD poll gave up" : ""));

    run.Load();
    EXPECT_EQ(window.actions, c.load) << "load";
    if (c.cdGivesUp) window.cdPoll = false;  // as the CD poll tick does
    window.actions.clear();
    run.DisplayChanged(true);
    run.DisplayChanged(true);
    EXPECT_EQ(window.actions, c.off) << "off";
    window.actions.clear();
    run.DisplayChanged(false);
    run.DisplayChanged(false);
    EXPECT_EQ(window.actions, c.on) << "on";
    run.DisplayChanged(true);
    window.actions.clear();
    run.Close();
    EXPECT_EQ(window.actions, c.close) << "closed while resting";
  }
}

}  // namespace
