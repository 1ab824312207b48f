// What the hidden window of a full-screen run does with the music, the poll
// timers and the cursor when it loads and when it closes. The window owns the
// timers and the player; this class only decides which of them to touch and
// in which order, so the order can be checked without a window.
#pragma once

#include "host_state.h"
#include "music_player.h"

// The window's side: the music operations, its two poll timers, the cursor
// and the end of the program.
class FullScreenPlatform {
 public:
  virtual ~FullScreenPlatform() = default;
  virtual void CdOpen() = 0;
  virtual void CdStop() = 0;
  virtual void WavPlay() = 0;
  virtual void WavStop() = 0;
  virtual void Mp3Play() = 0;
  virtual void Mp3Stop() = 0;
  virtual void CdPause() = 0;
  virtual void CdResume() = 0;
  virtual void Mp3Pause() = 0;
  virtual void Mp3Resume() = 0;
  virtual void EnableCdPoll(bool enabled) = 0;   // the 200 ms timer
  virtual bool CdPollEnabled() const = 0;        // off once a CD poll has given up
  virtual void EnableMp3Poll(bool enabled) = 0;  // the 1000 ms timer
  virtual void RestoreCursor() = 0;              // undoes the hiding done at start-up
  virtual void EndProgram() = 0;
};

class FullScreenRun {
 public:
  // The music and whether the start hid the cursor come from `state`.
  FullScreenRun(const HostState &state, FullScreenPlatform &platform) : state_(state), platform_(platform) {}

  // Starts the music; the renderer is already on its way.
  void Load();

  // The display went off, or came on again. While it is off nobody is at
  // the machine, and a sound stream left open would keep the machine from
  // sleeping on its idle timer: the music rests, CD and MP3 paused where
  // they were, a WAV stopped (it starts again from its beginning).
  void DisplayChanged(bool off);

  // Stops whatever still plays, gives the cursor back and ends the program,
  // whoever asked for the close.
  void Close();

 private:
  const HostState &state_;
  FullScreenPlatform &platform_;
  bool resting_ = false;  // the music is paused while the display is off
};
