#include "cloud_noise.h"

#include <cmath>

namespace {

std::uint32_t RandState = 1;
float NoiseLattice[kLatticeCount];

constexpr float kInv32767 = 1.0f / 32767.0f;   // 3.0518509e-05
constexpr float kSixth = 1.0f / 6.0f;          // 0.16666667
constexpr float kInvPeriod = 0.03125f;         // 1/32

inline int Wrap(int i) { return i % kLatticeSize; }

inline float Lattice(int x, int y, int z) {
  return NoiseLattice[x * kLatticeSize * kLatticeSize + y * kLatticeSize + z];
}

// Moves a negative coordinate up by whole periods; the period count is
// truncated toward zero, as the rest of the renderer's conversions are.
inline float MoveIntoPeriod(float c) {
  if (c < 0.0f) {
    const int periods = static_cast<int>(c * -kInvPeriod) + 1;
    c = c + static_cast<float>(kLatticeSize * periods);
  }
  return c;
}

struct AxisTaps {
  int index[4];
  SplineWeightSet weights;
};

inline AxisTaps Taps(float c) {
  c = MoveIntoPeriod(c);
  const int i = static_cast<int>(c);
  const float f = c - static_cast<float>(i);
  return {{Wrap(i + 31), Wrap(i), Wrap(i + 1), Wrap(i + 2)}, SplineWeights(f)};
}

}  // namespace

int Rand15() {
  RandState = RandState * 214013u + 2531011u;
  return static_cast<int>((RandState >> 16) & 0x7FFFu);
}

void SetRandState(std::uint32_t state) { RandState = state; }
std::uint32_t GetRandState() { return RandState; }
const float *NoiseLatticeValues() { return NoiseLattice; }

void FillNoiseLattice() {
  for (float &value : NoiseLattice) value = static_cast<float>(Rand15()) * kInv32767;
}

SplineWeightSet SplineWeights(float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  SplineWeightSet s;
  s.w[0] = (3.0f * t2 - t3 - 3.0f * t + 1.0f) * kSixth;
  s.w[1] = (3.0f * t3 - 6.0f * t2 + 4.0f) * kSixth;
  s.w[2] = (-3.0f * t3 + 3.0f * t2 + 3.0f * t + 1.0f) * kSixth;
  s.w[3] = t3 * kSixth;
  return s;
}

float LatticeNoise3(float x, float y, float z) {
  const AxisTaps X = Taps(x), Y = Taps(y), Z = Taps(z);
  const float *wx = X.weights.w, *wy = Y.weights.w, *wz = Z.weights.w;

  float result = 0.0f;
  for (int k = 0; k < 4; ++k) {
    float b = 0.0f;
    for (int j = 0; j < 4; ++j) {
      const int yj = Y.index[j], zk = Z.index[k];
      // Summed left to right, as written, so every build rounds alike.
      const float a = wx[0] * Lattice(X.index[0], yj, zk) + wx[1] * Lattice(X.index[1], yj, zk) +
                      wx[2] * Lattice(X.index[2], yj, zk) + wx[3] * Lattice(X.index[3], yj, zk);
      b = (j == 0) ? wy[0] * a : b + wy[j] * a;
    }
    result = (k == 0) ? wz[0] * b : result + wz[k] * b;
  }
  return result;
}

float FractalNoise(float x, float y, float z, int octaves, float persistence) {
  float sum = 0.0f, frequency = 1.0f, amplitude = 1.0f;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += amplitude * LatticeNoise3(x * frequency, y * frequency, z * frequency);
    frequency *= 2.0f;
    amplitude *= persistence;
  }
  return sum;
}

bool GenerateCloudRows(int firstRow, int endRow, unsigned char *buffer,
                       float cover, float sharpness, float depth) {
  for (int r = firstRow; r < endRow; ++r) {
    unsigned char *texel = buffer + r * kSliceRowBytes;
    for (int c = 0; c < kSliceSize; ++c, texel += 4) {
      const float n = FractalNoise(static_cast<float>(c) * kTexelToNoise,
                                   static_cast<float>(r) * kTexelToNoise, depth,
                                   kCloudOctaves, kCloudPersistence);
      float v = n * 255.0f - cover;
      if (v < 0.0f) v = 0.0f;
      const double density = 255.0 - 255.0 * std::pow(static_cast<double>(sharpness),
                                                      static_cast<double>(v));
      const auto byte = static_cast<unsigned char>(static_cast<int>(density));
      texel[0] = texel[1] = texel[2] = texel[3] = byte;
    }
  }
  return endRow == kSliceSize;
}
