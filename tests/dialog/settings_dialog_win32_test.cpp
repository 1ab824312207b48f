// The settings dialog on a real window, with the state a program hands it:
// it zooms from the pointer and back, and a close without apply leaves the
// choice alone. What it shows and that the close writes nothing are the
// end-to-end suite's.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "settings_dialog_win32.h"
#include "shared_names.h"
#include "text_win32.h"

namespace {

struct ZoomCall {
  bool opening;
  HWND hwnd;
  std::int16_t x, y;
};
std::vector<ZoomCall> ZoomCalls;

void ZoomFrom(HWND hwnd, const std::int16_t &x, const std::int16_t &y) { ZoomCalls.push_back({true, hwnd, x, y}); }
void ZoomTo(HWND hwnd, const std::int16_t &x, const std::int16_t &y) { ZoomCalls.push_back({false, hwnd, x, y}); }

struct Seen {
  HWND dialog = nullptr;
  bool visible = false;
};
Seen Observed;

// Runs inside the dialog's modal loop: looks at the dialog, then closes it
// with its close box.
void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA(nullptr, ToAnsi(kDialogTitle).c_str());
  if (!dialog) return;
  KillTimer(nullptr, id);
  Observed.dialog = dialog;
  Observed.visible = IsWindowVisible(dialog) != FALSE;
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST(SettingsDialog, ZoomsFromThePointerAndCloseChangesNothing) {
  CreateDirectoryA(BRUMALIS_SETTINGS_FOLDER, nullptr);
  SetCursorPos(123, 45);
  POINT pointer = {};
  GetCursorPos(&pointer);
  MusicSettings music;
  music.BgmKind = kBgmFile;
  music.BgmRepeat = 7;
  music.BgmFile = L"C:\\\u97f3\u697d\\song.mp3";  // C:\音楽\song.mp3
  music.BgmFolder = L"C:\\\u97f3\u697d";
  std::int16_t originX = -1, originY = -1;

  ZoomCalls.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAndClose);
  ShowSettingsDialog({music, originX, originY, ZoomFrom, ZoomTo});
  KillTimer(nullptr, timer);

  ASSERT_NE(Observed.dialog, nullptr) << "no window titled as the dialog";
  EXPECT_TRUE(Observed.visible);
  EXPECT_EQ(originX, pointer.x);
  EXPECT_EQ(originY, pointer.y);
  ASSERT_EQ(ZoomCalls.size(), 2u);
  EXPECT_TRUE(ZoomCalls[0].opening);
  EXPECT_FALSE(ZoomCalls[1].opening);
  for (const ZoomCall &call : ZoomCalls) {
    EXPECT_EQ(call.hwnd, Observed.dialog);
    EXPECT_EQ(call.x, pointer.x);
    EXPECT_EQ(call.y, pointer.y);
  }
  EXPECT_EQ(music.BgmKind, kBgmFile);
  EXPECT_EQ(music.BgmRepeat, 7);
  EXPECT_FALSE(IsWindow(Observed.dialog));
}

}  // namespace
