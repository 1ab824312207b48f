// Writes one cloud slice, computed by the renderer's own code, for inspection
// and comparison between builds.
//
//   cloud-slice --startup 0|1 [--raw FILE] [--pgm FILE]
//   cloud-slice --depth D [--cover C] [--raw FILE] [--pgm FILE]
//
// --raw writes the 65,536 RGBA bytes, --pgm an 8-bit greyscale picture of the
// same slice. Without an output option the FNV-1a digest of the bytes is printed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cloud_pacing.h"
#include "slice_digest.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: cloud-slice (--startup 0|1 | --depth D [--cover C]) [--raw FILE] [--pgm FILE]\n");
  return 2;
}

// Depths and covers far beyond anything the renderer reaches (its depth is
// a seventh of its running time) would overflow the lattice's index
// arithmetic.
constexpr float kLargestValue = 1.0e6f;

// A finite number no larger than kLargestValue; says what is wrong otherwise.
bool ParseFloat(const char *option, const char *text, float &out) {
  char *end = nullptr;
  out = std::strtof(text, &end);
  if (end == text || *end != '\0') {
    std::fprintf(stderr, "cloud-slice: %s needs a number, not \"%s\"\n", option, text);
    return false;
  }
  if (!std::isfinite(out) || std::fabs(out) > kLargestValue) {
    std::fprintf(stderr, "cloud-slice: %s %s is out of range (-%g to %g)\n", option, text,
                 static_cast<double>(kLargestValue), static_cast<double>(kLargestValue));
    return false;
  }
  return true;
}

bool WriteFile(const std::string &path, const std::string &header, const unsigned char *data,
               std::size_t size) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size() &&
            std::fwrite(data, 1, size, f) == size;
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  int startup = -1;
  bool haveDepth = false;
  float depth = 0.0f;
  CloudPacing pacing;
  std::string rawPath, pgmPath;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char *value = (i + 1 < argc) ? argv[i + 1] : nullptr;
    if (!value) return Usage();
    ++i;
    if (arg == "--startup") {
      if (std::strcmp(value, "0") == 0) startup = 0;
      else if (std::strcmp(value, "1") == 0) startup = 1;
      else return Usage();
    } else if (arg == "--depth") {
      if (!ParseFloat("--depth", value, depth)) return Usage();
      haveDepth = true;
    } else if (arg == "--cover") {
      if (!ParseFloat("--cover", value, pacing.CloudCover)) return Usage();
    } else if (arg == "--raw") {
      rawPath = value;
    } else if (arg == "--pgm") {
      pgmPath = value;
    } else {
      return Usage();
    }
  }
  if ((startup < 0) == !haveDepth) return Usage();

  FillNoiseLattice();
  std::vector<unsigned char> texels(kSliceBytes);
  if (startup >= 0) {
    std::vector<unsigned char> wanted(kSliceBytes);
    BuildStartupSlices(pacing, 0.0f, texels.data(), [&](int i) {
      if (i == startup) wanted = texels;
    });
    texels.swap(wanted);
  } else {
    GenerateCloudRows(0, kSliceSize, texels.data(), pacing.CloudCover, pacing.CloudSharpness, depth);
  }

  if (!rawPath.empty() && !WriteFile(rawPath, "", texels.data(), texels.size())) {
    std::fprintf(stderr, "cloud-slice: cannot write %s\n", rawPath.c_str());
    return 1;
  }
  if (!pgmPath.empty()) {
    std::vector<unsigned char> grey(kSliceSize * kSliceSize);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = texels[i * 4];
    const std::string header = "P5\n128 128\n255\n";
    if (!WriteFile(pgmPath, header, grey.data(), grey.size())) {
      std::fprintf(stderr, "cloud-slice: cannot write %s\n", pgmPath.c_str());
      return 1;
    }
  }
  if (rawPath.empty() && pgmPath.empty())
    std::printf("%016llx\n", static_cast<unsigned long long>(SliceDigest(texels.data(), texels.size())));
  return 0;
}
