// The settings dialog's music file, as the user knows it and as the file
// browser gives it, and apply, which writes the choice.
#include "settings_dialog_form_win32.h"

#include <windows.h>
#include <commdlg.h>

#include "dialog_logic.h"
#include "numbers.h"
#include "profile_win32.h"
#include "settings_file.h"
#include "text_win32.h"
#include "user_seal_win32.h"

// The file as the user knows it: a short path stored for a name the
// settings file cannot hold shows by its long name. An unsealed path shows
// as stored: even the look-up would follow whatever another user put there.
void SettingsDialog::ShowFileName() {
  const bool lookUp = !music_.BgmFile.empty() && !music_.BgmFileUnsealed;
  const std::wstring longPath = lookUp ? LongPathOf(music_.BgmFile) : std::wstring();
  lbl_Fname.SetCaption(longPath.empty() ? music_.BgmFile : longPath);
  formkit::NotifyPart(EVENT_OBJECT_NAMECHANGE, pathReader_.Hwnd(), 0);
}

// The file dialog works in wide characters, so a name outside the ANSI
// code page comes back whole; NameToStore decides what the settings file
// keeps of it.
void SettingsDialog::Browse() {
  wchar_t file[255] = {};
  wchar_t title[255] = {};
  static const wchar_t kFilter[] = L"BGM\uff8c\uff67\uff72\uff99 (MP3 WAV)\0*.MP3;*.WAV\0";  // BGMﾌｧｲﾙ
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the 76-byte record
  ofn.hwndOwner = Hwnd();
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file / sizeof file[0];
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title / sizeof title[0];
  ofn.lpstrInitialDir = music_.BgmFolder.c_str();
  ofn.lpstrTitle = L"\uff8c\uff67\uff72\uff99\u3092\u958b\u304f";  // ﾌｧｲﾙを開く
  if (GetOpenFileNameW(&ofn) <= 0) return;
  const StoredName stored = NameToStore(
      file,
      [](const std::wstring &path) {
        AnsiForm form{};
        form.roundTrips = RoundTripsThroughAnsi(path, &form.bytes);
        return form;
      },
      ShortPathOf);
  if (stored.kind == StoredNameKind::None) {
    // The cause that holds: its length, or characters outside the code page.
    // このファイルはパスが長すぎるため選べません。
    // このファイルは名前に使われている文字のため選べません。
    const wchar_t *cause =
        stored.tooLong ? L"\u3053\u306e\u30d5\u30a1\u30a4\u30eb\u306f\u30d1\u30b9\u304c\u9577\u3059\u304e\u308b"
                         L"\u305f\u3081\u9078\u3079\u307e\u305b\u3093\u3002"
                       : L"\u3053\u306e\u30d5\u30a1\u30a4\u30eb\u306f\u540d\u524d\u306b\u4f7f\u308f\u308c\u3066"
                         L"\u3044\u308b\u6587\u5b57\u306e\u305f\u3081\u9078\u3079\u307e\u305b\u3093\u3002";
    // 前のファイルのままにします。
    const std::wstring text = std::wstring(file) + L"\n\n" + cause +
                              L"\n\u524d\u306e\u30d5\u30a1\u30a4\u30eb\u306e\u307e\u307e\u306b\u3057\u307e\u3059\u3002";
    MessageBoxW(Hwnd(), text.c_str(), Caption().c_str(), MB_OK | MB_ICONEXCLAMATION);
    FocusChosenSource();
    return;
  }
  music_.BgmFile = stored.path;
  music_.BgmFileUnsealed = false;
  browsed_ = true;
  ShowFileName();
  FocusChosenSource();
  music_.BgmFolder = FolderOf(music_.BgmFile);
}

// The seal follows the path it vouches for: a run that reads the new path
// before its seal is there plays nothing, never the wrong file; and no seal
// of an earlier path stays behind for someone to name that path again.
void SettingsDialog::Apply() {
  const ApplyTrust trust = TrustOnApply(music_.BgmFile, music_.BgmKind, music_.BgmFileUnsealed, browsed_);
  const bool trusted = trust == ApplyTrust::Seal || (trust == ApplyTrust::Ask && UserTrustsPath());
  Win32Profile profile;
  WriteIni(profile, kSection, kKeyBgmKind, FormatNumber(music_.BgmKind), kSettingsFile);
  music_.BgmRepeat = TrackFromText(BGM_Repeat.Text());
  WriteIni(profile, kSection, kKeyBgmRepeat, FormatNumber(music_.BgmRepeat), kSettingsFile);
  WriteIni(profile, kSection, kKeyBgmFile, music_.BgmFile, kSettingsFile);
  Win32UserSeal seal;
  StoreSeal(profile, seal, trusted ? music_.BgmFile : std::wstring());
  Unload();
}

// Asks once whether to trust the path the settings file held, which another
// user may have written; "No" is the default, so that a hasty Enter trusts
// nothing.
bool SettingsDialog::UserTrustsPath() {
  // このファイルはまだBGMとして信頼されていません。
  // 信頼してBGMに使いますか？
  // ご自分で選んだファイルでなければ「いいえ」を選んでください。
  const std::wstring text =
      music_.BgmFile +
      L"\n\n\u3053\u306e\u30d5\u30a1\u30a4\u30eb\u306f\u307e\u3060BGM\u3068\u3057\u3066"
      L"\u4fe1\u983c\u3055\u308c\u3066\u3044\u307e\u305b\u3093\u3002\n"
      L"\u4fe1\u983c\u3057\u3066BGM\u306b\u4f7f\u3044\u307e\u3059\u304b\uff1f\n\n"
      L"\u3054\u81ea\u5206\u3067\u9078\u3093\u3060\u30d5\u30a1\u30a4\u30eb\u3067\u306a\u3051\u308c\u3070"
      L"\u300c\u3044\u3044\u3048\u300d\u3092\u9078\u3093\u3067\u304f\u3060\u3055\u3044\u3002";
  return MessageBoxW(Hwnd(), text.c_str(), Caption().c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
