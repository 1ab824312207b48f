// The preview window embedded in a pane of this process, painted into a
// bitmap: another process's child window is not shown on screen under every
// window system, but it paints the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host_resources.h"
#include "host_modes_win32.h"
#include "test_window_win32.h"

namespace {

// The preview's own picture, as the program holds it.
struct BuiltInPicture : GdiSurface {
  BuiltInPicture() {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PREVIEW), IMAGE_BITMAP, 0, 0, 0));
    EXPECT_NE(bitmap, nullptr);
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 152);
    EXPECT_EQ(info.bmHeight, 112);
    Resize(152, 112);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(Dc(), 0, 0, 152, 112, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
    GdiFlush();
  }
};

// Hidden: under Wine on a display without a window manager, destroying a
// shown top-level window waits two seconds.
HWND MakePane(int width, int height) {
  return MakeTestWindow(L"TestPane", DefWindowProcW, WS_POPUP, 50, 60, width, height);
}

HWND EmbeddedPreview(HWND pane) {
  ShowPreview(L"/p " + std::to_wstring(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(pane))));
  return GetWindow(pane, GW_CHILD);
}

// The embedding itself (parent, style, place, the end with the pane) is the
// end-to-end suite's, across processes. The picture fills the pane from its
// top left: cut off in a smaller pane, on black in a larger one.
TEST(Preview, ShowsThePictureTopLeftInAPaneOfAnySize) {
  const BuiltInPicture picture;
  struct Size { int width, height; };
  for (const Size size : {Size{152, 112}, Size{200, 150}, Size{100, 80}}) {
    SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
    HWND pane = MakePane(size.width, size.height);
    HWND preview = EmbeddedPreview(pane);
    ASSERT_NE(preview, nullptr);
    const PrintedWindow shown(preview);
    ASSERT_EQ(shown.Width(), size.width);
    ASSERT_EQ(shown.Height(), size.height);
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width; ++x) {
        const Colour want = (x < 152 && y < 112) ? picture.GetPixel(x, y) : Rgb(0, 0, 0);
        ASSERT_EQ(shown.At(x, y), want) << x << "," << y;
      }
    }
    DestroyWindow(pane);
  }
}

// The pane is named by its handle's 32 bits, and is a window that can hold
// the preview.
TEST(Preview, HandleBitsNameTheWindowThatCanBeAPane) {
  HWND pane = MakePane(152, 112);
  EXPECT_EQ(WindowOfHandleBits(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(pane))), pane);
  // Handles from 0x80000000 up, as a 64-bit window system widens them; Wine
  // hands out such handles once a slot has been reused 32768 times.
  const bool wide = sizeof(HWND) == 8;
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(WindowOfHandleBits(0x8000004Au)),
            wide ? static_cast<UINT_PTR>(0xFFFFFFFF8000004Aull) : 0x8000004Au);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(WindowOfHandleBits(0x7FFFFFFEu)), 0x7FFFFFFEu);
  // A window of one of this program's own classes, all named Brumalis...
  HWND own = MakeTestWindow(L"BrumalisTestOwn", DefWindowProcW, WS_POPUP, 0, 0, 10, 10);
  ASSERT_NE(own, nullptr);
  struct Case { const char *name; HWND window; bool can; };
  const Case cases[] = {
      {"a pane", pane, true},
      {"the desktop", GetDesktopWindow(), false},
      {"no window", nullptr, false},
      {"a handle that is no window", WindowOfHandleBits(12345), false},
      {"a window of this program's own kind", own, false},
  };
  for (const Case &c : cases) EXPECT_EQ(CanHoldPreview(c.window), c.can) << c.name;
  DestroyWindow(own);
  DestroyWindow(pane);
}

TEST(Preview, PictureIsBanknotesOnBlack) {
  const BuiltInPicture picture;
  int black = 0, bright = 0;
  for (int y = 0; y < 112; ++y) {
    for (int x = 0; x < 152; ++x) {
      const Colour c = picture.GetPixel(x, y);
      const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
      black += sum == 0;
      bright += sum > 450;
    }
  }
  EXPECT_EQ(picture.GetPixel(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(picture.GetPixel(151, 111), Rgb(0, 0, 0));
  EXPECT_GT(black, 152 * 112 / 5);
  EXPECT_GT(bright, 152 * 112 / 4);
}

}  // namespace
