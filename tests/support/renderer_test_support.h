// What the renderer's tests share: the noise as the renderer starts it, and
// a fixed stream of jitter for simulated clocks.
#pragma once

#include <cstdint>

#include "cloud_noise.h"

// The generator's state and the lattice as a new renderer has them.
inline void ResetNoise() {
  SetRandState(1);
  FillNoiseLattice();
}

// Deterministic jitter in [0, 1), the same stream on every run and build.
struct Jitter {
  explicit Jitter(std::uint32_t seed) : state(seed) {}
  double Next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0;
  }
  std::uint32_t state;
};
