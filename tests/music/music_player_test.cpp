#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "music_player.h"

namespace {

struct Reply {
  long code;
  std::wstring text;
};

// Answers each command from a script (the last answer repeats) and records
// every command with the size of its reply buffer.
class ScriptedMci : public MciPort {
 public:
  long Send(const std::wstring &command, std::wstring &reply, std::size_t capacity) override {
    sent.push_back(command);
    capacities.push_back(capacity);
    auto it = script.find(command);
    Reply r = {0, L""};
    if (it != script.end() && !it->second.empty()) {
      r = it->second.front();
      if (it->second.size() > 1) it->second.erase(it->second.begin());
    }
    if (capacity > 0) reply = r.text.substr(0, capacity - 1);
    return r.code;
  }
  long OpenElement(const std::wstring &type, const std::wstring &element, const std::wstring &alias) override {
    const std::wstring record = L"[open message] " + type + L" " + element + L" " + alias;
    std::wstring none;
    return Send(record, none, 0);
  }
  void On(const std::wstring &command, std::vector<Reply> replies) { script[command] = std::move(replies); }

  std::map<std::wstring, std::vector<Reply>> script;
  std::vector<std::wstring> sent;
  std::vector<std::size_t> capacities;
};

class RecordingSound : public SoundPort {
 public:
  unsigned WaveOutDevices() override { return devices; }
  void PlayLooped(const std::wstring &file) override { calls.push_back(L"loop " + file); }
  void StopAll() override { calls.push_back(L"stop"); }
  unsigned devices = 1;
  std::vector<std::wstring> calls;
};

using Commands = std::vector<std::wstring>;
const std::wstring kTrack = L"status cdaudio current track";
const std::wstring kTracks = L"status cdaudio number of tracks";
const std::wstring kMode = L"status cdaudio mode";

class Music : public ::testing::Test {
 protected:
  MusicPlayer &Player() {
    player_ = std::make_unique<MusicPlayer>(mci, sound, music);
    return *player_;
  }
  void Disc(const std::wstring &track, const std::wstring &mode) {
    mci.On(kTrack, {{0, track}});
    mci.On(kTracks, {{0, L"12"}});
    mci.On(kMode, {{0, mode}});
  }

  ScriptedMci mci;
  RecordingSound sound;
  MusicSettings music;
  std::unique_ptr<MusicPlayer> player_;
};

TEST_F(Music, OpenAndStopSendTheirCommandsWithNoReplyBuffer) {
  struct Case { const char *name; void (MusicPlayer::*call)(); const wchar_t *file; Commands sent; };
  const Case cases[] = {
      {"cd open sets the time format", &MusicPlayer::CdOpen, L"", {L"open cdaudio", L"set cdaudio time format tmsf"}},
      {"cd stop", &MusicPlayer::CdStop, L"", {L"stop cdaudio", L"close cdaudio"}},
      {"mp3 stop", &MusicPlayer::Mp3Stop, L"", {L"stop MP3Play", L"close MP3Play"}},
      {"a path with a quote plays nothing", &MusicPlayer::Mp3Play,
       L"C:\\a.mp3\" type waveaudio alias x wait\" x.mp3", {}},
  };
  for (const Case &c : cases) {
    mci = ScriptedMci();
    music.BgmFile = c.file;
    (Player().*c.call)();
    EXPECT_EQ(mci.sent, c.sent) << c.name;
    EXPECT_EQ(mci.capacities, std::vector<std::size_t>(c.sent.size(), 0)) << c.name;
  }
}

struct CdPollCase {
  const char *name;
  std::int16_t repeat;
  std::wstring track, mode;
  Commands afterQueries;  // what the poll sends after the three status queries
};

TEST_F(Music, CdPollKeepsTheDiscOrTheChosenTrackPlaying) {
  const CdPollCase cases[] = {
      {"whole disc, stopped: play on", 0, L"1", L"stopped", {L"play cdaudio"}},
      {"whole disc, playing: nothing", 0, L"3", L"playing", {}},
      {"whole disc, paused: not restarted", 0, L"3", L"paused", {}},
      {"mode compared on 7 characters", 0, L"3", L"stopped at the end", {L"play cdaudio"}},
      {"mode compared with its case", 0, L"3", L"Stopped", {}},
      {"track 5 wanted while 6 plays", 5, L"6", L"playing",
       {L"status cdaudio position track 5", L"play cdaudio from 05:00:00:00"}},
      {"track 5 playing: nothing", 5, L"5", L"playing", {}},
      {"05 is track 5", 5, L"05", L"playing", {}},
      {"track 5 stopped: back to its start", 5, L"5", L"stopped",
       {L"status cdaudio position track 5", L"play cdaudio from 05:00:00:00"}},
      {"paused on the chosen track: nothing", 5, L"5", L"paused", {}},
      // Its position fails, and so does the play from the error text.
      {"a track beyond the disc is polled on", 40, L"2", L"playing",
       {L"status cdaudio position track 40", L"play cdaudio from Error:289"}},
      {"a negative track is asked for as it is", -3, L"1", L"playing",
       {L"status cdaudio position track -3", L"play cdaudio"}},
  };
  for (const CdPollCase &c : cases) {
    SCOPED_TRACE(c.name);
    mci = ScriptedMci();
    music.BgmRepeat = c.repeat;
    Disc(c.track, c.mode);
    mci.On(L"status cdaudio position track 5", {{0, L"05:00:00:00"}});
    mci.On(L"status cdaudio position track 40", {{289, L""}});
    mci.On(L"play cdaudio from Error:289", {{274, L""}});
    MusicPlayer &player = Player();
    player.CdPoll();
    EXPECT_TRUE(player.CdPollActive);
    Commands expected = {kTrack, kTracks, kMode};
    expected.insert(expected.end(), c.afterQueries.begin(), c.afterQueries.end());
    EXPECT_EQ(mci.sent, expected);
    // Every reply buffer holds 512 characters but the mode query's, 255.
    std::vector<std::size_t> capacities(expected.size(), 512);
    capacities[2] = 255;
    EXPECT_EQ(mci.capacities, capacities);
  }
}

TEST_F(Music, CdPollGivesUpOnAnErrorAndOnATrackThatIsNoNumber) {
  struct Case {
    const char *name;
    std::vector<Reply> track, tracks;
    std::int16_t repeat;
    std::size_t sentBeforeGivingUp;
  };
  const Case cases[] = {
      {"no disc", {{282, L""}}, {{0, L"12"}}, 0, 1},
      {"count fails", {{0, L"1"}}, {{289, L""}}, 0, 2},
      {"reply naming an error", {{0, L"err: not ready"}}, {{0, L"12"}}, 0, 1},
      {"track is no number", {{0, L"abc"}}, {{0, L"12"}}, 5, 3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    mci = ScriptedMci();
    music.BgmRepeat = c.repeat;
    mci.On(kTrack, c.track);
    mci.On(kTracks, c.tracks);
    mci.On(kMode, {{0, L"stopped"}});
    MusicPlayer &player = Player();
    player.CdPoll();
    EXPECT_FALSE(player.CdPollActive);
    EXPECT_EQ(mci.sent.size(), c.sentBeforeGivingUp);
  }
}

TEST_F(Music, Mp3PlayQuotesThePathAndPlaysOnlyWhenItOpened) {
  music.BgmFile = L"C:\\My Music\\a song.mp3";
  Player().Mp3Play();
  EXPECT_EQ(mci.sent, (Commands{L"open \"C:\\My Music\\a song.mp3\" type MPEGVideo Alias MP3Play",
                                L"play MP3Play"}));
  EXPECT_EQ(mci.capacities, (std::vector<std::size_t>{0, 0}));

  // A name the string open refuses is opened as a message; a file neither
  // opens plays nothing.
  const std::wstring asMessage = L"[open message] MPEGVideo C:\\My Music\\a song.mp3 MP3Play";
  for (long messageCode : {0L, 275L}) {
    SCOPED_TRACE(messageCode);
    mci = ScriptedMci();
    mci.On(L"open \"C:\\My Music\\a song.mp3\" type MPEGVideo Alias MP3Play", {{263, L""}});
    mci.On(asMessage, {{messageCode, L""}});
    Player().Mp3Play();
    Commands expected = {L"open \"C:\\My Music\\a song.mp3\" type MPEGVideo Alias MP3Play", asMessage};
    if (messageCode == 0) expected.push_back(L"play MP3Play");
    EXPECT_EQ(mci.sent, expected);
  }
}

TEST_F(Music, Mp3PollRestartsTheFileOnceItStopsPlaying) {
  struct Case { long code; std::wstring mode; bool restarts; };
  const Case cases[] = {
      {0, L"playing", false}, {0, L"playingXYZ", false}, {0, L"stopped", true}, {0, L"paused", true},
      {0, L"", true},
      {263, L"", true},  // the query's result code is not looked at
  };
  const Commands restart = {L"status MP3Play mode", L"stop MP3Play", L"play MP3Play from 0"};
  for (const Case &c : cases) {
    mci = ScriptedMci();
    mci.On(L"status MP3Play mode", {{c.code, c.mode}});
    Player().Mp3Poll();
    EXPECT_EQ(mci.sent, c.restarts ? restart : Commands{L"status MP3Play mode"}) << c.code << " " << c.mode;
    EXPECT_EQ(mci.capacities.front(), 30u);
  }
}

// The music rests while the display is off: paused where it was, and its
// poll, which would take a paused source for one that stopped or ended,
// leaves it alone until it plays on.
TEST_F(Music, APausedSourceIsLeftAloneByItsPollUntilItPlaysOn) {
  music.BgmRepeat = 0;
  Disc(L"1", L"stopped");  // what a paused disc may answer, too
  mci.On(L"status MP3Play mode", {{0, L"paused"}});
  MusicPlayer &player = Player();
  player.CdPause();
  player.Mp3Pause();
  for (int tick = 0; tick < 3; ++tick) player.CdPoll(), player.Mp3Poll();
  EXPECT_TRUE(player.CdPollActive);
  EXPECT_EQ(mci.sent, (Commands{L"pause cdaudio", L"pause MP3Play"}));
  mci.sent.clear();
  player.CdResume();
  player.Mp3Resume();
  EXPECT_EQ(mci.sent, (Commands{L"play cdaudio", L"resume MP3Play"}));
  EXPECT_EQ(mci.capacities, (std::vector<std::size_t>{0, 0, 0, 0}));
  mci.sent.clear();
  player.CdPoll();
  player.Mp3Poll();
  EXPECT_EQ(mci.sent, (Commands{kTrack, kTracks, kMode, L"play cdaudio", L"status MP3Play mode", L"stop MP3Play",
                                L"play MP3Play from 0"}));
}

TEST_F(Music, WavLoopsOnlyWithAWaveDevice) {
  music.BgmFile = L"C:\\sounds\\rain.wav";
  Player().WavPlay();
  Player().WavStop();
  EXPECT_EQ(sound.calls, (Commands{L"loop C:\\sounds\\rain.wav", L"stop"}));
  sound = RecordingSound();
  sound.devices = 0;
  Player().WavPlay();
  EXPECT_TRUE(sound.calls.empty());
}

TEST(MusicSource, FollowsTheKindAndTheFilesLastThreeLetters) {
  struct Case { std::int16_t kind; const wchar_t *file; MusicSource source; };
  const Case cases[] = {
      {0, L"C:\\a.mp3", MusicSource::None},  {1, L"", MusicSource::Cd},
      {1, L"C:\\a.wav", MusicSource::Cd},    {2, L"C:\\a.wav", MusicSource::Wav},
      {2, L"C:\\a.Wav", MusicSource::Wav},   {2, L"C:\\a.WAV", MusicSource::Wav},
      {2, L"C:\\a.mp3", MusicSource::Mp3},   {2, L"C:\\A.MP3", MusicSource::Mp3},
      {2, L"C:\\a.mid", MusicSource::None},  {2, L"C:\\a.mp3 ", MusicSource::None},
      {2, L"C:\\amp3", MusicSource::Mp3},    {2, L"wav", MusicSource::Wav},
      {2, L"av", MusicSource::None},         {2, L"", MusicSource::None},
      {3, L"C:\\a.mp3", MusicSource::None},  {-1, L"C:\\a.wav", MusicSource::None},
  };
  for (const Case &c : cases) {
    MusicSettings m;
    m.BgmKind = c.kind;
    m.BgmFile = c.file;
    EXPECT_EQ(MusicSourceOf(m), c.source) << c.kind << " " << c.file;
  }
}

}  // namespace
