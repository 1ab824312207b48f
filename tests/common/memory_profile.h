// In-memory stand-ins for the settings file and the file system.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings_file.h"

class MemoryProfile : public ProfileStore {
 public:
  std::wstring Read(const std::wstring &section, const std::wstring &key, const std::wstring &file) override {
    reads.push_back(key);
    const auto it = values.find({file, section, key});
    return it == values.end() ? std::wstring() : it->second;
  }
  void Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
             const std::wstring &file) override {
    writes.push_back({key, value});
    values[{file, section, key}] = value;
  }
  void Set(const std::wstring &key, const std::wstring &value) { values[{kSettingsFile, kSection, key}] = value; }

  std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values;
  std::vector<std::wstring> reads;
  std::vector<std::pair<std::wstring, std::wstring>> writes;
};

class MemoryFiles : public FileProbe {
 public:
  bool CanOpenForReading(const std::wstring &path) override {
    asked.push_back(path);
    return files.count(path) > 0;
  }
  std::set<std::wstring> files;
  std::vector<std::wstring> asked;
};
