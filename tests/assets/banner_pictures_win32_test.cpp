// The banner frames are stored compressed (8 bits a pixel, run lengths):
// loaded as the dialog loads them, Windows' decoding of each gives the very
// pixels of the frame as drawn.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "dialog_resources.h"
#include "drawn_banners.h"
#include "form_kit_win32.h"
#include "shared_names.h"

namespace {

struct Pixels {
  int width = 0, height = 0;
  std::vector<DWORD> data;  // 0x00RRGGBB, top row first
};

Pixels Read(HBITMAP bitmap) {
  Pixels p;
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return p;
  p.width = info.bmWidth;
  p.height = info.bmHeight;
  p.data.resize(static_cast<size_t>(p.width) * p.height);
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = p.width;
  format.bmiHeader.biHeight = -p.height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, p.height, p.data.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != p.height) p.data.clear();
  return p;
}

TEST(BannerPictures, EachStoredFrameLoadsAsTheFrameDrawn) {
  for (int frame = 1; frame <= kBannerFrames; ++frame) {
    const int id = IDB_BANNER_FIRST + frame - 1;
    const formkit::Picture stored = formkit::LoadPictureResource(id);
    const HBITMAP drawnBitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id + DRAWN_BANNER_OFFSET), IMAGE_BITMAP, 0, 0, 0));
    const Pixels got = Read(stored.get());
    const Pixels drawn = Read(drawnBitmap);
    DeleteObject(drawnBitmap);
    ASSERT_EQ(drawn.width, 120) << "frame " << frame;
    ASSERT_EQ(drawn.height, 50) << "frame " << frame;
    ASSERT_EQ(got.width, drawn.width) << "frame " << frame;
    ASSERT_EQ(got.height, drawn.height) << "frame " << frame;
    ASSERT_FALSE(drawn.data.empty()) << "frame " << frame;
    int differing = 0;
    for (size_t i = 0; i < drawn.data.size(); ++i) differing += got.data[i] != drawn.data[i];
    EXPECT_EQ(differing, 0) << "frame " << frame;
  }
}

}  // namespace
