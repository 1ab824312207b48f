#include "music_player.h"

#include "ascii.h"
#include "numbers.h"

namespace {

constexpr std::size_t kSendReply = 512;
constexpr std::size_t kCdModeReply = 255;
constexpr std::size_t kMp3ModeReply = 30;
constexpr std::size_t kModeLength = 7;  // "playing", "stopped"

std::wstring ModeOf(const std::wstring &reply) { return reply.substr(0, kModeLength); }

}  // namespace

MusicSource MusicSourceOf(const MusicSettings &music) {
  if (music.BgmKind == kBgmCd) return MusicSource::Cd;
  if (music.BgmKind != kBgmFile) return MusicSource::None;
  const std::wstring &file = music.BgmFile;
  const std::wstring ending = UpperAscii(file.size() >= 3 ? file.substr(file.size() - 3) : file);
  if (ending == L"WAV") return MusicSource::Wav;
  if (ending == L"MP3") return MusicSource::Mp3;
  return MusicSource::None;
}

long MusicPlayer::MciSend(const std::wstring &command, std::wstring &reply) {
  reply.clear();
  const long code = mci_.Send(command, reply, kSendReply);
  if (code != 0) reply.clear();
  return code;
}

std::wstring MusicPlayer::MciQuery(const std::wstring &command) {
  const long code = MciSend(command, MciReply);
  return code == 0 ? MciReply : L"Error:" + std::to_wstring(code);
}

void MusicPlayer::MciPlay(const std::wstring &device, const std::wstring &from) {
  MciSend(from.empty() ? L"play " + device : L"play " + device + L" from " + from, MciReply);
}

void MusicPlayer::Command(const std::wstring &command) {
  std::wstring none;
  mci_.Send(command, none, 0);
}

bool MusicPlayer::Mp3IsPlaying() {
  std::wstring reply;
  mci_.Send(L"status MP3Play mode", reply, kMp3ModeReply);
  return ModeOf(reply) == L"playing";
}

void MusicPlayer::CdOpen() {
  Command(L"open cdaudio");
  Command(L"set cdaudio time format tmsf");
}

void MusicPlayer::CdPoll() {
  CdPollActive = true;
  if (cdPaused_) return;
  if (!CdPollSteps()) CdPollActive = false;
}

// One poll; false when polling should stop: a query failed, or the current
// track is no number.
bool MusicPlayer::CdPollSteps() {
  const std::wstring track = MciQuery(L"status cdaudio current track");
  if (UpperAscii(track).find(L"ERR") != std::wstring::npos) return false;
  const std::wstring tracks = MciQuery(L"status cdaudio number of tracks");
  if (UpperAscii(tracks).find(L"ERR") != std::wstring::npos) return false;

  std::wstring modeReply;
  mci_.Send(L"status cdaudio mode", modeReply, kCdModeReply);
  const bool stopped = ModeOf(modeReply) == L"stopped";

  if (music_.BgmRepeat == 0) {
    if (stopped) MciPlay(L"cdaudio", L"");
    return true;
  }
  const auto number = ParseNumber(track);
  const auto current = number ? RoundToInt16(*number) : std::nullopt;
  if (!current) return false;
  if (*current != music_.BgmRepeat || stopped) {
    const std::wstring position = MciQuery(L"status cdaudio position track " + std::to_wstring(music_.BgmRepeat));
    MciPlay(L"cdaudio", position);
  }
  return true;
}

void MusicPlayer::CdStop() {
  Command(L"stop cdaudio");
  Command(L"close cdaudio");
}

void MusicPlayer::Mp3Play() {
  // A double quote would end the file name early and let the rest of the
  // path speak as commands: such a path plays nothing.
  if (music_.BgmFile.find(L'"') != std::wstring::npos) return;
  std::wstring none;
  long code = mci_.Send(L"open \"" + music_.BgmFile + L"\" type MPEGVideo Alias MP3Play", none, 0);
  // The string's parser may take a "!" in the name for the device!element
  // form, quotes or not (Wine's does, and then looks for a device named by
  // the path before it): the same open as a message reads no syntax.
  if (code != 0) code = mci_.OpenElement(L"MPEGVideo", music_.BgmFile, L"MP3Play");
  if (code == 0) Command(L"play MP3Play");
}

void MusicPlayer::Mp3Poll() {
  if (mp3Paused_ || Mp3IsPlaying()) return;
  Command(L"stop MP3Play");
  Command(L"play MP3Play from 0");
}

void MusicPlayer::Mp3Stop() {
  Command(L"stop MP3Play");
  Command(L"close MP3Play");
}

void MusicPlayer::WavPlay() {
  if (sound_.WaveOutDevices() > 0) sound_.PlayLooped(music_.BgmFile);
}

void MusicPlayer::WavStop() { sound_.StopAll(); }

void MusicPlayer::CdPause() {
  cdPaused_ = true;
  Command(L"pause cdaudio");
}

// Plays on from where the disc was paused.
void MusicPlayer::CdResume() {
  cdPaused_ = false;
  Command(L"play cdaudio");
}

void MusicPlayer::Mp3Pause() {
  mp3Paused_ = true;
  Command(L"pause MP3Play");
}

void MusicPlayer::Mp3Resume() {
  mp3Paused_ = false;
  Command(L"resume MP3Play");
}
