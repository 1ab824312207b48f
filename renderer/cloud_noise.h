// Reproducible 3-D value noise and the cloud slices built from it.
//
// The whole field comes from one linear congruential generator that starts at
// state 1 and is never reseeded, so every run shows the same clouds. All
// arithmetic is IEEE single precision (the one power is double), and reals
// become integers by truncation toward zero, so the native and the 32-bit
// Windows builds produce the same bytes.
//
//   Rand15            0..32767; the first three values are 41, 18467, 6334
//   NoiseLattice      32x32x32 values in [0, 1], flat index x*1024 + y*32 + z
//   LatticeNoise3     tricubic B-spline over the lattice, period 32 on each axis
//   FractalNoise      octave sum, frequency doubling, amplitude * persistence
//   GenerateCloudRows rows of a 128x128 RGBA slice; 128 texels span the period
#pragma once

#include <cstdint>

constexpr int kLatticeSize = 32;
constexpr int kLatticeCount = kLatticeSize * kLatticeSize * kLatticeSize;
constexpr int kSliceSize = 128;                              // texels per side
constexpr int kSliceRowBytes = kSliceSize * 4;               // RGBA
constexpr int kSliceBytes = kSliceSize * kSliceRowBytes;     // 65536

// The clouds' fixed parameters.
constexpr int kCloudOctaves = 4;
constexpr float kCloudPersistence = 0.2f;
constexpr float kTexelToNoise = 0.25f;  // 128 texels -> 32 lattice cells

// The generator's state (RandState), which starts at 1 and which the program
// never sets again; tests and tools restart the sequence through these.
void SetRandState(std::uint32_t state);
std::uint32_t GetRandState();
// The lattice (NoiseLattice) as FillNoiseLattice left it: kLatticeCount values.
const float *NoiseLatticeValues();

struct SplineWeightSet {
  float w[4];
};

int Rand15();
void FillNoiseLattice();
SplineWeightSet SplineWeights(float t);
float LatticeNoise3(float x, float y, float z);
float FractalNoise(float x, float y, float z, int octaves, float persistence);

// Computes rows firstRow .. endRow-1 of the slice at noise depth `depth` into
// `buffer` (kSliceBytes long). Returns true exactly when endRow is 128.
bool GenerateCloudRows(int firstRow, int endRow, unsigned char *buffer,
                       float cover, float sharpness, float depth);
