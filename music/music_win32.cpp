#include "music_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "text_win32.h"

// The media control interface and the sound player take a file's name and no
// security flags; no name handed to them leads to a pipe (FormOf).
long Win32Mci::Send(const std::wstring &command, std::wstring &reply, std::size_t replyCapacity) {
  if (replyCapacity == 0) return static_cast<long>(mciSendStringA(ToAnsi(command).c_str(), nullptr, 0, nullptr));
  std::vector<char> buffer(replyCapacity, '\0');
  const long code = static_cast<long>(
      mciSendStringA(ToAnsi(command).c_str(), buffer.data(), static_cast<UINT>(replyCapacity), nullptr));
  buffer.back() = '\0';
  reply = FromAnsi(buffer.data());
  return code;
}

long Win32Mci::OpenElement(const std::wstring &deviceType, const std::wstring &element,
                           const std::wstring &alias) {
  const std::string type = ToAnsi(deviceType), name = ToAnsi(element), as = ToAnsi(alias);
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = type.c_str();
  open.lpstrElementName = name.c_str();
  open.lpstrAlias = as.c_str();
  return static_cast<long>(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS,
                                           reinterpret_cast<DWORD_PTR>(&open)));
}

unsigned Win32Sound::WaveOutDevices() { return waveOutGetNumDevs(); }

void Win32Sound::PlayLooped(const std::wstring &file) {
  // A file that has gone or cannot be read plays nothing, not the default sound.
  PlaySoundA(ToAnsi(file).c_str(), nullptr, SND_ASYNC | SND_LOOP | SND_FILENAME | SND_NODEFAULT);
}

void Win32Sound::StopAll() { PlaySoundA(nullptr, nullptr, 0); }
