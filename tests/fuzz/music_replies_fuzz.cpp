// The music player answered by a media control interface that says anything:
// replies of any text and length, failures anywhere. A poll that gives up
// plays nothing, the whole disc never asks for a track's position, the file
// name cannot end early in the open command, and an MP3 is restarted only
// when it is not playing.
//
// Input lines: the CD track to repeat (a number, anything else 0), the music
// file, then the replies in the order the player asks for them. A reply line
// starting with "!" fails with the number after it (263 when there is none);
// any other line succeeds with its text. Past the last line every command
// succeeds with an empty reply.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_text.h"
#include "music_player.h"
#include "numbers.h"

namespace {

struct Reply {
  long code;
  std::wstring text;
};

class ReplyingMci : public MciPort {
 public:
  explicit ReplyingMci(std::vector<Reply> replies) : replies_(std::move(replies)) {}
  long Send(const std::wstring &command, std::wstring &reply, std::size_t capacity) override {
    FUZZ_CHECK(capacity == 0 || capacity == 30 || capacity == 255 || capacity == 512);
    sent.push_back(command);
    const Reply r = next_ < replies_.size() ? replies_[next_++] : Reply{0, L""};
    // The platform fills the buffer whether or not the command failed.
    if (capacity > 0) reply = r.text.substr(0, capacity - 1);
    return r.code;
  }
  long OpenElement(const std::wstring &type, const std::wstring &element, const std::wstring &alias) override {
    std::wstring none;
    return Send(L"[open message] " + type + L" " + element + L" " + alias, none, 0);
  }
  std::vector<std::wstring> sent;

 private:
  std::vector<Reply> replies_;
  std::size_t next_ = 0;
};

class NoSound : public SoundPort {
 public:
  unsigned WaveOutDevices() override { return 1; }
  void PlayLooped(const std::wstring &) override {}
  void StopAll() override {}
};

std::vector<std::wstring> SentSince(const ReplyingMci &mci, std::size_t first) {
  return {mci.sent.begin() + static_cast<std::ptrdiff_t>(first), mci.sent.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::vector<std::wstring> lines = LinesFromBytes(data, size);
  lines.resize(std::max<std::size_t>(lines.size(), 2));
  MusicSettings music;
  music.BgmRepeat = RoundToInt16(LeadingNumber(lines[0])).value_or(0);
  music.BgmFile = lines[1];
  std::vector<Reply> replies;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::wstring &line = lines[i];
    if (!line.empty() && line[0] == L'!') {
      const long code = RoundToInt32(LeadingNumber(line.substr(1))).value_or(263);
      replies.push_back({code == 0 ? 263 : code, L""});
    } else {
      replies.push_back({0, line});
    }
  }
  ReplyingMci mci(replies);
  NoSound sound;
  MusicPlayer player(mci, sound, music);

  player.CdOpen();
  for (int poll = 0; poll < 4; ++poll) {
    const std::size_t first = mci.sent.size();
    player.CdPoll();
    const std::vector<std::wstring> sent = SentSince(mci, first);
    FUZZ_CHECK(!sent.empty() && sent[0] == L"status cdaudio current track");
    FUZZ_CHECK(player.MciReply.size() < 512);
    for (const std::wstring &command : sent) {
      if (!player.CdPollActive) FUZZ_CHECK(!StartsWith(command, L"play "));
      if (music.BgmRepeat == 0) FUZZ_CHECK(!StartsWith(command, L"status cdaudio position"));
    }
    if (!player.CdPollActive) break;
  }
  player.CdStop();

  std::size_t first = mci.sent.size();
  player.Mp3Play();
  std::vector<std::wstring> sent = SentSince(mci, first);
  if (music.BgmFile.find(L'"') != std::wstring::npos) {
    FUZZ_CHECK(sent.empty());
  } else {
    FUZZ_CHECK(!sent.empty() && StartsWith(sent[0], L"open \"") &&
               std::count(sent[0].begin(), sent[0].end(), L'"') == 2);
  }
  for (int poll = 0; poll < 2; ++poll) {
    first = mci.sent.size();
    player.Mp3Poll();
    sent = SentSince(mci, first);
    FUZZ_CHECK(!sent.empty() && sent[0] == L"status MP3Play mode");
    // Every command takes one reply, so the mode query takes the one after
    // those of the commands before it; its buffer holds 29 characters.
    const std::wstring mode = first < replies.size() ? replies[first].text.substr(0, 29) : std::wstring();
    const bool restarted = sent.size() == 3 && sent[2] == L"play MP3Play from 0";
    FUZZ_CHECK(restarted == !StartsWith(mode, L"playing"));
    FUZZ_CHECK(sent.size() == (restarted ? 3u : 1u));
  }
  player.Mp3Stop();
  player.WavPlay();
  player.WavStop();
  (void)MusicSourceOf(music);
  return 0;
}
