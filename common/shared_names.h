// Names both programs know each other by: the settings file they share and
// the renderer's window class. Each is spelled once, here; the narrow forms
// serve the renderer, which calls the ANSI functions directly.
#pragma once

#define BRUMALIS_SETTINGS_FOLDER "C:\\t_orka_temp"
#define BRUMALIS_SETTINGS_FILE BRUMALIS_SETTINGS_FOLDER "\\Brumalis.ini"
#define BRUMALIS_SECTION "Section"
#define BRUMALIS_RENDERER_CLASS "Caliguna"

inline constexpr wchar_t kSettingsFolder[] = L"" BRUMALIS_SETTINGS_FOLDER;
inline constexpr wchar_t kSettingsFile[] = L"" BRUMALIS_SETTINGS_FILE;
inline constexpr wchar_t kSection[] = L"" BRUMALIS_SECTION;
inline constexpr char kSettingsFileAnsi[] = BRUMALIS_SETTINGS_FILE;
inline constexpr char kSectionAnsi[] = BRUMALIS_SECTION;

// The renderer's window keeps this class for its whole life; its title
// changes with the frame rate.
inline constexpr char kRendererClass[] = BRUMALIS_RENDERER_CLASS;

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
