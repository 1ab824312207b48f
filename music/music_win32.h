// The music ports on the platform: mciSendStringA and PlaySoundA.
#pragma once

#include "music_player.h"

class Win32Mci : public MciPort {
 public:
  long Send(const std::wstring &command, std::wstring &reply, std::size_t replyCapacity) override;
  long OpenElement(const std::wstring &deviceType, const std::wstring &element, const std::wstring &alias) override;
};

class Win32Sound : public SoundPort {
 public:
  unsigned WaveOutDevices() override;
  void PlayLooped(const std::wstring &file) override;
  void StopAll() override;
};
