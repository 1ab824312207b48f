// Cost of the cloud texture work: one whole slice (what the start-up does
// twice) and the per-frame share at 60 frames per second.
#include <benchmark/benchmark.h>

#include <vector>

#include "cloud_pacing.h"

namespace {

void BM_FullSlice(benchmark::State &state) {
  FillNoiseLattice();
  std::vector<unsigned char> texels(kSliceBytes);
  float depth = 0.0f;
  for (auto _ : state) {
    GenerateCloudRows(0, kSliceSize, texels.data(), 150.0f, 0.97f, depth);
    benchmark::DoNotOptimize(texels.data());
    depth += 3.0f / 7.0f;
  }
  state.SetItemsProcessed(state.iterations() * kSliceSize * kSliceSize);
}
BENCHMARK(BM_FullSlice)->Unit(benchmark::kMillisecond);

void BM_FrameAt60Fps(benchmark::State &state) {
  FillNoiseLattice();
  std::vector<unsigned char> texels(kSliceBytes);
  CloudPacing pacing;
  float now = 0.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AdvanceCloudRows(pacing, now, texels.data()));
    now += 1.0f / 60.0f;
  }
}
BENCHMARK(BM_FrameAt60Fps)->Unit(benchmark::kMicrosecond);

void BM_LatticeNoise3(benchmark::State &state) {
  FillNoiseLattice();
  float x = 0.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LatticeNoise3(x, 1.25f, -0.857f));
    x += 0.25f;
    if (x >= 32.0f) x = 0.0f;
  }
}
BENCHMARK(BM_LatticeNoise3);

}  // namespace
