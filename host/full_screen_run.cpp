#include "full_screen_run.h"

void FullScreenRun::Load() {
  switch (MusicSourceOf(state_)) {
    case MusicSource::Cd:
      // Playback begins at the first poll, which needs the device open.
      platform_.CdOpen();
      platform_.EnableCdPoll(true);
      break;
    case MusicSource::Wav:
      platform_.WavPlay();  // the sound player loops it by itself
      break;
    case MusicSource::Mp3:
      platform_.Mp3Play();
      platform_.EnableMp3Poll(true);
      break;
    case MusicSource::None:
      break;
  }
}

void FullScreenRun::DisplayChanged(bool off) {
  if (off == resting_) return;
  resting_ = off;
  switch (MusicSourceOf(state_)) {
    case MusicSource::Cd:
      // A CD poll that gave up left the disc alone; so does the rest.
      if (platform_.CdPollEnabled()) off ? platform_.CdPause() : platform_.CdResume();
      break;
    case MusicSource::Wav:
      off ? platform_.WavStop() : platform_.WavPlay();
      break;
    case MusicSource::Mp3:
      off ? platform_.Mp3Pause() : platform_.Mp3Resume();
      break;
    case MusicSource::None:
      break;
  }
}

void FullScreenRun::Close() {
  // A CD poll that failed has switched its timer off and left the device as
  // it was; stop commands would only fail too.
  if (platform_.CdPollEnabled()) {
    platform_.EnableCdPoll(false);
    platform_.CdStop();
  }
  switch (MusicSourceOf(state_)) {
    case MusicSource::Wav:
      platform_.WavStop();
      break;
    case MusicSource::Mp3:
      platform_.EnableMp3Poll(false);
      platform_.Mp3Stop();
      break;
    default:
      break;
  }
  // A run started without arguments never hid the cursor.
  if (state_.CursorHidden) platform_.RestoreCursor();
  platform_.EndProgram();
}
