// FNV-1a, 64-bit: a stable fingerprint of a slice's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

inline std::uint64_t SliceDigest(const unsigned char *data, std::size_t size) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (std::size_t i = 0; i < size; ++i) {
    h ^= data[i];
    h *= 0x100000001b3ull;
  }
  return h;
}
