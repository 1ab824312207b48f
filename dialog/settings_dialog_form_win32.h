// The settings dialog's form: the user chooses no music, an audio CD with a
// track to repeat, or an MP3/WAV file; apply writes the choice for the next
// full-screen run. A small banner plays below and opens the home page when
// clicked. Its controls sit where dialog_layout.h places them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "dialog_layout.h"
#include "form_kit_win32.h"
#include "frame_x_win32.h"
#include "settings_dialog_win32.h"
#include "xp_button_win32.h"

class SettingsDialog : public formkit::Form {
 public:
  explicit SettingsDialog(const SettingsDialogState &state);
  ~SettingsDialog() override;

 protected:
  void OnLoad() override;
  void OnQueryUnload(bool &, formkit::UnloadMode) override { Timer1.SetEnabled(false); }
  void OnUnload(bool &) override { zoomToPoint_(Hwnd(), zoomOriginX_, zoomOriginY_); }

 private:
  // Making the controls (settings_dialog_win32.cpp).
  void CreateControls();
  void CreateSources();
  bool CreateButton(XpButtonWindow &button, formkit::FormControlSite &site, HWND parent, const std::wstring &caption,
                    const TwipsPlace &place);
  void DescribeSources();

  // The music choice (settings_dialog_win32.cpp).
  void FocusChosenSource();
  void ShowSource(int kind);
  void SourceKey(UINT key);
  void ShowSourceFocus(bool shown);
  void ChooseSource(int index);
  bool DialogKey(UINT key);
  void BannerTickHandler();
  void OpenHomePage();

  // The music file and apply (settings_dialog_file_win32.cpp).
  void ShowFileName();
  void Browse();
  void Apply();
  bool UserTrustsPath();

  // The controls, their pictures, the timer and the banner's tick counter
  // carry the dialog's fixed names (with a kind prefix for controls: Cmd_,
  // lbl_, Img_, Pic_), which tests and readers look them up by; every other
  // member is named in lower case with a trailing underscore.
  MusicSettings &music_;
  std::int16_t &zoomOriginX_;  // where the caption zoom starts and ends, on the screen
  std::int16_t &zoomOriginY_;
  const ZoomOperation zoomFromPoint_;  // the caption zoom on opening
  const ZoomOperation zoomToPoint_;    // and on closing
  void (*const loaded_)();
  HFONT font_ = nullptr;
  std::int16_t BannerFrame = 0;  // the banner's tick counter
  bool browsed_ = false;         // the file was chosen through the file browser

  formkit::FormControlSite frameSite_{*this, L"GFXFrameX1"};
  GfxFrameXWindow GFXFrameX1{frameSite_};           // the framed panel under the choices
  formkit::GroupFrame Frame3{*this, L"BGM"};        // the frame of the music choices
  std::array<formkit::Image *, 3> Img_BGM = {};     // the marks of no music, CD and file, by kind
  std::array<formkit::Label *, 3> lbl_BGM = {};     // and their captions
  formkit::KeyboardStop sourceStop_;                // the marks' one tab stop
  formkit::KeyboardStop pathReader_;                // the path, to screen readers
  int focusedSource_ = 0;                           // the mark the keyboard is on while the stop has the focus
  formkit::ComboBox BGM_Repeat{Frame3};             // the CD track to repeat
  formkit::Label &lbl_Fname = Frame3.Add<formkit::Label>();  // the music file's path
  formkit::FormControlSite fileSite_{Frame3, L"Cmd_File"};
  XpButtonWindow Cmd_File{fileSite_};  // browses for the music file
  formkit::FormControlSite setSite_{*this, L"Cmd_Set"};
  XpButtonWindow Cmd_Set{setSite_};  // applies the choice
  formkit::FormControlSite cancelSite_{*this, L"Cmd_Can"};
  XpButtonWindow Cmd_Can{cancelSite_};  // cancels
  std::array<formkit::PictureBox, 2> Pic_m = {formkit::PictureBox{*this}, formkit::PictureBox{*this}};  // the banner
  std::array<formkit::Picture, kBannerFrames + 1> Pic_t = {};   // the banner's frames, from 1
  std::array<formkit::Picture, 2> Img_Ra = {};                  // the option mark, unchosen and chosen
  formkit::Timer Timer1{*this, [this] { BannerTickHandler(); }};  // the banner's tick
};
