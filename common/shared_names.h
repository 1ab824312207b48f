// Names and numbers that the programs, their resources, the build, the
// installers and the tests share, each spelled once, here. The build reads
// the BRUMALIS_ macros of this file (cmake/BrumalisSharedNames.cmake), the
// setup program's script too, and the resource files include it: each
// stays on one line, `#define BRUMALIS_NAME value`. The narrow forms serve
// the renderer, which calls the ANSI functions directly.
#pragma once

// The two programs, side by side in one folder.
#define BRUMALIS_HOST_FILE "Brumalis.scr"
#define BRUMALIS_RENDERER_FILE "Brumalis.dll"

// The settings file both programs share.
#define BRUMALIS_SETTINGS_FOLDER "C:\\t_orka_temp"
#define BRUMALIS_SETTINGS_FILE BRUMALIS_SETTINGS_FOLDER "\\Brumalis.ini"
#define BRUMALIS_SECTION "Section"

// The renderer's window class, also its title until the frame rate shows
// in it.
#define BRUMALIS_RENDERER_CLASS "Caliguna"
// The class of the renderer's windows over the other monitors, which the
// host's watch does not take for the renderer's own.
#define BRUMALIS_MONITOR_VIEW_CLASS "CaligunaMonitor"

// The windows by whose titles a start of the screensaver program finds one
// already running: the full-screen run's (never shown) and the settings
// dialog's ("■Brumalis■").
#define BRUMALIS_RUN_TITLE "Brumalis_Main"
#define BRUMALIS_DIALOG_TITLE "\u25a0Brumalis\u25a0"

// The window classes of the screensaver program. All begin with the
// program's name, by which the preview knows a window of its own.
#define BRUMALIS_OWN_CLASS_PREFIX "Brumalis"
#define BRUMALIS_FORM_CLASS "BrumalisForm"
#define BRUMALIS_GROUP_FRAME_CLASS "BrumalisGroupFrame"
#define BRUMALIS_PICTURE_BOX_CLASS "BrumalisPictureBox"
#define BRUMALIS_KEYBOARD_STOP_CLASS "BrumalisKeyboardStop"
#define BRUMALIS_PANEL_CLASS "BrumalisGfxFrameX"
#define BRUMALIS_BUTTON_CLASS "BrumalisXpButton"
#define BRUMALIS_COVER_CLASS "BrumalisCover"

// The settings dialog's banner: frames 1 to this one play in turn, the last
// the empty field (assets/make-dialog-pictures.sh draws them).
#define BRUMALIS_BANNER_FRAMES 24

#ifndef RC_INVOKED

inline constexpr wchar_t kRendererFile[] = L"" BRUMALIS_RENDERER_FILE;
inline constexpr wchar_t kSettingsFolder[] = L"" BRUMALIS_SETTINGS_FOLDER;
inline constexpr wchar_t kSettingsFile[] = L"" BRUMALIS_SETTINGS_FILE;
inline constexpr wchar_t kSection[] = L"" BRUMALIS_SECTION;
inline constexpr char kSettingsFileAnsi[] = BRUMALIS_SETTINGS_FILE;
inline constexpr char kSectionAnsi[] = BRUMALIS_SECTION;

// The renderer's window keeps this class for its whole life; its title
// changes with the frame rate.
inline constexpr char kRendererClass[] = BRUMALIS_RENDERER_CLASS;
inline constexpr char kMonitorViewClass[] = BRUMALIS_MONITOR_VIEW_CLASS;

inline constexpr wchar_t kRunTitle[] = L"" BRUMALIS_RUN_TITLE;
inline constexpr wchar_t kDialogTitle[] = L"" BRUMALIS_DIALOG_TITLE;

inline constexpr wchar_t kOwnClassPrefix[] = L"" BRUMALIS_OWN_CLASS_PREFIX;

inline constexpr int kBannerFrames = BRUMALIS_BANNER_FRAMES;

// Keys of the settings file. The renderer reads the size; the screensaver
// program writes it at every full-screen start and keeps the music keys.
inline constexpr wchar_t kKeyWidth[] = L"Width";
inline constexpr wchar_t kKeyHeight[] = L"Height";
inline constexpr char kKeyWidthAnsi[] = "Width";
inline constexpr char kKeyHeightAnsi[] = "Height";
inline constexpr wchar_t kKeyBgmKind[] = L"BGM\u533a\u5206";                // BGM区分
inline constexpr wchar_t kKeyBgmRepeat[] = L"BGM\uff98\uff8b\uff9f\uff70\uff84";  // BGMﾘﾋﾟｰﾄ
inline constexpr wchar_t kKeyBgmFile[] = L"BGM\uff8c\uff67\uff72\uff99";      // BGMﾌｧｲﾙ
// Followed by a user's name: that user's seal of the music file's path.
inline constexpr wchar_t kKeyBgmSealPrefix[] = L"BGM\u4fe1\u983c_";           // BGM信頼_

#endif  // RC_INVOKED
