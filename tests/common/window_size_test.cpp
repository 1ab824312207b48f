#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "memory_profile.h"
#include "settings_file.h"
#include "window_size.h"

namespace {

TEST(WindowSize, StoredSideIsDefaultedAndKeptWithinScreenAndGl) {
  // The profile reader hands back an unsigned number; the glue reads it as int.
  const int wrappedMinusOne = static_cast<int>(4294967295u);
  struct Case {
    const char *what;
    int stored, fallback, screen, gl, side;
  };
  const Case cases[] = {
      {"zero width", 0, kDefaultWindowWidth, 1280, 16384, 1024},
      {"zero height", 0, kDefaultWindowHeight, 1024, 16384, 768},
      {"negative", -5, kDefaultWindowWidth, 1280, 16384, 1024},
      {"4294967295 reads as -1", wrappedMinusOne, kDefaultWindowHeight, 1024, 16384, 768},
      {"most negative", INT_MIN, kDefaultWindowWidth, 1280, 16384, 1024},
      {"one pixel", 1, kDefaultWindowWidth, 1280, 16384, 1},
      {"smaller than the screen", 640, kDefaultWindowWidth, 1280, 16384, 640},
      {"exactly the screen", 1280, kDefaultWindowWidth, 1280, 16384, 1280},
      {"one above the screen", 1281, kDefaultWindowWidth, 1280, 16384, 1280},
      {"32767", 32767, kDefaultWindowHeight, 1024, 16384, 1024},
      {"32768", 32768, kDefaultWindowHeight, 1024, 16384, 1024},
      {"65535", 65535, kDefaultWindowWidth, 1280, 16384, 1280},
      {"huge", INT_MAX, kDefaultWindowWidth, 1280, 16384, 1280},
      {"default wider than a small screen", 0, kDefaultWindowWidth, 800, 16384, 800},
      {"GL smaller than a wide desktop", 40000, kDefaultWindowWidth, 7680, 4096, 4096},
      {"within GL on a wide desktop", 3000, kDefaultWindowWidth, 7680, 4096, 3000},
      {"GL limit not known yet", 40000, kDefaultWindowWidth, 1280, 0, 1280},
      {"screen not known", 40000, kDefaultWindowWidth, 0, 16384, 16384},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(FitWindowSide(c.stored, c.fallback, c.screen, c.gl), c.side) << c.what;
  }
}

// What the settings file holds, read as the host and the renderer read it.
TEST(WindowSize, StoredSizeIsReadFromTheTwoKeysAndDefaulted) {
  struct Case {
    const char *what;
    const wchar_t *width, *height;  // nullptr: the key is missing
    WindowSize stored;
  };
  const Case cases[] = {
      {"no keys", nullptr, nullptr, {1024, 768}},
      {"the screen's size as the host writes it", L" 1280", L" 1024", {1280, 1024}},
      {"smaller than the screen", L"640", L"480", {640, 480}},
      {"only the width", L"1200", nullptr, {1200, 768}},
      {"zero", L"0", L"0", {0, 0}},
      {"empty", L"", L"", {1024, 768}},
      {"text", L"wide", L"tall", {0, 0}},
      {"leading digits", L"800px", L"600.5", {800, 600}},
      {"negative", L"-5", L"-1", {-5, -1}},
      {"4294967295 is -1", L"4294967295", L"4294967295", {-1, -1}},
      {"larger than the screen", L"65535", L"40000", {65535, 40000}},
      {"hexadecimal", L"0x280", L"0x1e0", {640, 480}},
  };
  for (const Case &c : cases) {
    MemoryProfile store;
    if (c.width) store.Set(kKeyWidth, c.width);
    if (c.height) store.Set(kKeyHeight, c.height);
    const WindowSize stored = StoredWindowSize(store);
    EXPECT_EQ(stored.width, c.stored.width) << c.what;
    EXPECT_EQ(stored.height, c.stored.height) << c.what;
    // The renderer's way: each key's text as the profile functions give it.
    const std::wstring width = c.width ? c.width : L"", height = c.height ? c.height : L"";
    EXPECT_EQ(StoredWindowSide(std::string(width.begin(), width.end()), kDefaultWindowWidth), c.stored.width)
        << c.what;
    EXPECT_EQ(StoredWindowSide(std::string(height.begin(), height.end()), kDefaultWindowHeight), c.stored.height)
        << c.what;
  }
}

}  // namespace
