// The settings file through the platform's profile functions, each write
// made only where MayWriteSettings allows it, and the file test through an
// open for reading.
#pragma once

#include "settings_file.h"

class Win32Profile : public ProfileStore {
 public:
  std::wstring Read(const std::wstring &section, const std::wstring &key, const std::wstring &file,
                    std::size_t capacity) override;
  void Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
             const std::wstring &file) override;
  void Remove(const std::wstring &section, const std::wstring &key, const std::wstring &file) override;
};

class Win32Files : public FileProbe {
 public:
  bool CanOpenForReading(const std::wstring &path) override;
};
