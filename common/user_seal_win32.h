// This user's seals, through the platform's per-user data protection
// (CryptProtectData): a seal opens only for the user who made it, and only
// for this program, which adds its own entropy. Data protected for the whole
// machine, which any user can make, is no seal.
#pragma once

#include "path_trust.h"

class Win32UserSeal : public UserSeal {
 public:
  std::wstring User() override;  // the user's security identifier, S-1-5-21-...
  std::string Seal(const std::wstring &path) override;
  std::optional<std::wstring> Open(const std::string &sealed) override;
};
