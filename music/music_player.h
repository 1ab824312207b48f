// Background music during a full-screen run: an audio CD (the whole disc, or
// one track kept repeating), an MP3 file restarted whenever it ends, or a WAV
// file looped by the sound player.
//
// The decisions live here; the platform is reached through two small ports:
// the media control interface (command strings in, a result code and a reply
// text out) and the simple sound player. Failures never reach the user: a CD
// poll that fails gives up polling, and a file that cannot be opened plays
// nothing.
#pragma once

#include <cstddef>
#include <string>

#include "music_settings.h"

// The media control interface. `replyCapacity` is the size of the reply
// buffer handed over, 0 for none; the reply is cut to capacity - 1 characters.
class MciPort {
 public:
  virtual ~MciPort() = default;
  virtual long Send(const std::wstring &command, std::wstring &reply, std::size_t replyCapacity) = 0;
  // The open command as a message rather than a string: the file name is
  // passed as it is, with nothing in it read as syntax.
  virtual long OpenElement(const std::wstring &deviceType, const std::wstring &element,
                           const std::wstring &alias) = 0;
};

// The simple sound player and the count of wave output devices.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual unsigned WaveOutDevices() = 0;
  virtual void PlayLooped(const std::wstring &file) = 0;  // asynchronous, looping
  virtual void StopAll() = 0;
};

// What a full-screen run plays, from the music kind and the file's ending.
enum class MusicSource { None, Cd, Wav, Mp3 };
MusicSource MusicSourceOf(const MusicSettings &music);

class MusicPlayer {
 public:
  MusicPlayer(MciPort &mci, SoundPort &sound, const MusicSettings &music)
      : mci_(mci), sound_(sound), music_(music) {}

  void CdOpen();
  void CdPoll();
  void CdStop();
  void Mp3Play();
  void Mp3Poll();
  void Mp3Stop();
  void WavPlay();
  void WavStop();
  // While the music rests: the disc or the file paused where it was. A
  // paused source is left alone by its poll, which would otherwise take it
  // for one that has stopped or ended, and start it again.
  void CdPause();
  void CdResume();
  void Mp3Pause();
  void Mp3Resume();

  bool CdPollActive = false;  // false once a CD poll has failed: polling stops for good
  std::wstring MciReply;      // reply of the last query or play

 private:
  long MciSend(const std::wstring &command, std::wstring &reply);
  std::wstring MciQuery(const std::wstring &command);
  void MciPlay(const std::wstring &device, const std::wstring &from);
  bool Mp3IsPlaying();
  void Command(const std::wstring &command);  // no reply buffer, result ignored
  bool CdPollSteps();

  MciPort &mci_;
  SoundPort &sound_;
  const MusicSettings &music_;
  bool cdPaused_ = false;
  bool mp3Paused_ = false;
};
