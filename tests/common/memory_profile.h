// In-memory stand-ins for the settings file, the file system and the
// per-user seal.
#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "path_trust.h"
#include "settings_file.h"

class MemoryProfile : public ProfileStore {
 public:
  // Values are cut to capacity - 1 characters, as the platform cuts bytes.
  std::wstring Read(const std::wstring &section, const std::wstring &key, const std::wstring &file,
                    std::size_t capacity) override {
    reads.push_back(key);
    const auto it = values.find({file, section, key});
    return it == values.end() ? std::wstring() : it->second.substr(0, capacity - 1);
  }
  void Write(const std::wstring &section, const std::wstring &key, const std::wstring &value,
             const std::wstring &file) override {
    writes.push_back({key, value});
    values[{file, section, key}] = value;
  }
  void Remove(const std::wstring &section, const std::wstring &key, const std::wstring &file) override {
    removes.push_back(key);
    values.erase({file, section, key});
  }
  void Set(const std::wstring &key, const std::wstring &value) { values[{kSettingsFile, kSection, key}] = value; }
  // The value of a key, when it is there.
  std::optional<std::wstring> Value(const std::wstring &key) const {
    const auto it = values.find({kSettingsFile, kSection, key});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values;
  std::vector<std::wstring> reads;
  std::vector<std::pair<std::wstring, std::wstring>> writes;
  std::vector<std::wstring> removes;
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

// A seal names its user and the path ("seal:USER:" and four hex digits a
// character), and opens only for that user.
class MemorySeal : public UserSeal {
 public:
  explicit MemorySeal(std::wstring user) : user(std::move(user)) {}
  std::wstring User() override { return user; }
  std::string Seal(const std::wstring &path) override { return fails ? std::string() : SealedBy(user, path); }
  std::optional<std::wstring> Open(const std::string &sealed) override {
    const std::string head = SealedBy(user, L"");
    if (sealed.compare(0, head.size(), head) != 0 || (sealed.size() - head.size()) % 4 != 0) return std::nullopt;
    std::wstring path;
    for (std::size_t i = head.size(); i < sealed.size(); i += 4) {
      unsigned code = 0;
      for (std::size_t k = i; k < i + 4; ++k) {
        const char c = sealed[k];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        code = code << 4 | static_cast<unsigned>(digit);
      }
      path += static_cast<wchar_t>(code);
    }
    return path;
  }
  static std::string SealedBy(const std::wstring &user, const std::wstring &path) {
    std::string sealed = "seal:" + std::string(user.begin(), user.end()) + ":";
    for (wchar_t c : path) {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(c) & 0xFFFF);
      sealed += digits;
    }
    return sealed;
  }
  std::wstring user;
  bool fails = false;  // sealing fails, as the platform's may
};
