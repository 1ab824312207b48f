// Where the settings dialog's controls sit, in twips of the window they are
// placed in: the dialog's layout as one table, which the code that makes
// the controls reads.
#pragma once

struct TwipsPlace {
  long left, top, width, height;
};

// One row of the music choices: an option mark and its caption.
struct SourceRow {
  int kind;  // 0 none, 1 CD, 2 file
  TwipsPlace mark, caption;
};

struct DialogLayout {
  long clientWidth, clientHeight;  // the dialog's inside
  // On the dialog.
  TwipsPlace panel;         // GFXFrameX1, the framed panel under the choices
  TwipsPlace banner[2];     // Pic_m, the banner's two boxes
  TwipsPlace setButton;     // Cmd_Set
  TwipsPlace cancelButton;  // Cmd_Can
  TwipsPlace version;       // the version line
  // On the panel.
  TwipsPlace musicFrame;  // Frame3
  // In the music frame.
  SourceRow sources[3];    // from the top
  TwipsPlace trackBox;     // BGM_Repeat: its edit part; the list drops below
  TwipsPlace trackLabel;   // its caption
  TwipsPlace fileButton;   // Cmd_File
  TwipsPlace fileName;     // lbl_Fname
};

inline constexpr DialogLayout kDialogLayout = {
    7020,
    3900,
    {180, 180, 6735, 2715},
    {{180, 2940, 1845, 780}, {4980, 2940, 1845, 780}},
    {2100, 2940, 1335, 435},
    {3540, 2940, 1335, 435},
    {2100, 3480, 2475, 195},
    {180, 120, 6255, 2355},
    {{1, {180, 360, 195, 195}, {420, 360, 645, 195}},
     {0, {180, 660, 195, 195}, {420, 660, 330, 195}},
     {2, {180, 960, 195, 195}, {420, 960, 900, 195}}},
    {1200, 300, 615, 300},
    {1860, 360, 990, 195},
    {180, 1260, 675, 375},
    {180, 1680, 5895, 495},
};
