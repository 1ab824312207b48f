#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cloud_noise.h"
#include "cloud_pacing.h"
#include "renderer_test_support.h"
#include "slice_digest.h"

namespace {

std::vector<unsigned char> Slice(float depth, float cover = 150.0f) {
  std::vector<unsigned char> texels(kSliceBytes);
  GenerateCloudRows(0, kSliceSize, texels.data(), cover, 0.97f, depth);
  return texels;
}

// The generator's first 32,768 draws in turn (41, 18467, 6334, ...), each a
// fraction of 32,767.
TEST(FillNoiseLattice, HoldsTheFirstDrawsAsFractionsOf32767) {
  ResetNoise();
  const float *lattice = NoiseLatticeValues();
  EXPECT_FLOAT_EQ(lattice[0], 0.00125125889f);                 // 41 / 32767
  EXPECT_FLOAT_EQ(lattice[1], 0.563585341f);                   // 18467 / 32767
  EXPECT_FLOAT_EQ(lattice[2], 0.193304241f);                   // 6334 / 32767
  EXPECT_FLOAT_EQ(lattice[kLatticeCount - 1], 0.892544329f);  // 29246 / 32767
  EXPECT_EQ(GetRandState(), 0xf23e8001u);                      // past all of them
}

TEST(LatticeNoise3, NegativeCoordinatesMoveUpByWholePeriods) {
  ResetNoise();
  struct Case { float negative, moved; };
  const Case cases[] = {
      {-6.0f / 7.0f, -6.0f / 7.0f + 32.0f},  // the first start-up slice's depth
      {-3.0f / 7.0f, -3.0f / 7.0f + 32.0f},
      {-0.5f, 31.5f},
      {-32.0f, 32.0f},   // exactly one period below: two periods up
      {-40.25f, 23.75f},
      {-100.5f, 27.5f},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(LatticeNoise3(c.negative, 1.25f, 2.5f), LatticeNoise3(c.moved, 1.25f, 2.5f)) << c.negative;
    EXPECT_EQ(LatticeNoise3(1.25f, c.negative, 2.5f), LatticeNoise3(1.25f, c.moved, 2.5f)) << c.negative;
    EXPECT_EQ(LatticeNoise3(1.25f, 2.5f, c.negative), LatticeNoise3(1.25f, 2.5f, c.moved)) << c.negative;
  }
}

TEST(FractalNoise, SumsOctavesWithDoublingFrequency) {
  ResetNoise();
  EXPECT_EQ(FractalNoise(1.5f, 2.5f, 3.5f, 0, 0.2f), 0.0f);
  EXPECT_EQ(FractalNoise(1.5f, 2.5f, 3.5f, -3, 0.2f), 0.0f);
  EXPECT_EQ(FractalNoise(1.5f, 2.5f, 3.5f, 1, 0.2f), LatticeNoise3(1.5f, 2.5f, 3.5f));
  const float two = LatticeNoise3(1.5f, 2.5f, 3.5f) + 0.5f * LatticeNoise3(3.0f, 5.0f, 7.0f);
  EXPECT_EQ(FractalNoise(1.5f, 2.5f, 3.5f, 2, 0.5f), two);
}

TEST(GenerateCloudRows, WritesOnlyTheRowsAskedAndReportsCompletion) {
  ResetNoise();
  std::vector<unsigned char> texels(kSliceBytes, 0xAB);
  EXPECT_FALSE(GenerateCloudRows(10, 10, texels.data(), 150.0f, 0.97f, 0.5f));
  EXPECT_FALSE(GenerateCloudRows(20, 5, texels.data(), 150.0f, 0.97f, 0.5f));
  EXPECT_TRUE(std::all_of(texels.begin(), texels.end(), [](unsigned char b) { return b == 0xAB; }));

  EXPECT_FALSE(GenerateCloudRows(3, 5, texels.data(), 150.0f, 0.97f, 0.5f));
  for (int i = 0; i < kSliceBytes; ++i) {
    const int row = i / kSliceRowBytes;
    if (row < 3 || row >= 5) {
      ASSERT_EQ(texels[i], 0xAB) << "byte " << i;
    }
  }
  EXPECT_TRUE(GenerateCloudRows(100, 128, texels.data(), 150.0f, 0.97f, 0.5f));
}

TEST(GenerateCloudRows, LowerCoverGivesMoreCloud) {
  ResetNoise();
  auto clear = [](const std::vector<unsigned char> &t) {
    int n = 0;
    for (int i = 0; i < kSliceBytes; i += 4) n += t[i] == 0;
    return n;
  };
  const int at150 = clear(Slice(-6.0f / 7.0f, 150.0f));
  EXPECT_GT(at150, kSliceSize * kSliceSize / 5);      // about a third is clear sky
  EXPECT_LT(at150, kSliceSize * kSliceSize / 2);
  EXPECT_LT(clear(Slice(-6.0f / 7.0f, 118.0f)), at150);
  EXPECT_GT(clear(Slice(-6.0f / 7.0f, 170.0f)), at150);
}

// Frozen fingerprints of the two start-up slices. Any change to the noise,
// its rounding or the density curve shows here, on every build.
TEST(StartupSlices, MatchTheirFrozenDigests) {
  ResetNoise();
  CloudPacing pacing;
  std::vector<unsigned char> texels(kSliceBytes);
  std::uint64_t digests[2] = {};
  BuildStartupSlices(pacing, 0.0f, texels.data(),
                     [&](int i) { digests[i] = SliceDigest(texels.data(), texels.size()); });
  EXPECT_EQ(digests[0], 0xac8aff9de821f459ull) << std::hex << digests[0];
  EXPECT_EQ(digests[1], 0x94eabdead31f8991ull) << std::hex << digests[1];
}

}  // namespace
