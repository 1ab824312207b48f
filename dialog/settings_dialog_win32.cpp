// The settings dialog's form: its controls made where the layout places
// them, the music choice on them, the banner. The music file and apply are
// in settings_dialog_file_win32.cpp.
#include "settings_dialog_form_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "dialog_logic.h"
#include "dialog_resources.h"
#include "text_win32.h"
#include "version_text.h"

namespace {

using formkit::FormControlSite;
using formkit::Image;
using formkit::Label;

const wchar_t kHomePage[] = L"https://www.example.com/brumalis/";
constexpr COLORREF kDialogGrey = RGB(224, 224, 224);

FontSpec DialogFont() {
  FontSpec font;
  font.name = L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af";  // ＭＳ Ｐゴシック
  font.points = 9.75;
  font.weight = 400;
  font.charset = SHIFTJIS_CHARSET;
  return font;
}

void Move(formkit::Control &control, const TwipsPlace &place) {
  control.MoveTwips(place.left, place.top, place.width, place.height);
}

// To screen readers the group is three option buttons named by their
// captions, parts 1 to 3 from the top; choosing is their default action.
int PartOfSource(int kind) { return kind == 1 ? 1 : kind == 0 ? 2 : 3; }
int SourceOfPart(int part) { return part == 1 ? 1 : part == 2 ? 0 : 2; }

}  // namespace

SettingsDialog::SettingsDialog(const SettingsDialogState &state)
    : Form(kDialogTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME),
      music_(state.music),
      zoomOriginX_(state.zoomOriginX),
      zoomOriginY_(state.zoomOriginY),
      zoomFromPoint_(state.zoomFromPoint),
      zoomToPoint_(state.zoomToPoint),
      loaded_(state.loaded) {
  Timer1.SetInterval(100);
}

SettingsDialog::~SettingsDialog() {
  if (font_) DeleteObject(font_);
}

void SettingsDialog::OnLoad() {
  CreateControls();

  BannerFrame = 0;
  const RECT outer = WindowRectTwips();
  const DialogPlace place = PlaceDialog(formkit::ScreenWidthTwips(), formkit::ScreenHeightTwips(),
                                        outer.right - outer.left, outer.bottom - outer.top);
  MoveTwips(place.left, place.top, outer.right - outer.left, outer.bottom - outer.top);

  BGM_Repeat.SetEnabled(false);
  ShowSource(music_.BgmKind);
  BGM_Repeat.SetText(FormatTrack(music_.BgmRepeat));
  for (int track = 0; track <= 30; ++track) BGM_Repeat.AddItem(FormatTrack(track));
  ShowFileName();
  FocusChosenSource();

  POINT cursor;
  if (GetCursorPos(&cursor)) {
    zoomOriginX_ = static_cast<std::int16_t>(cursor.x);
    zoomOriginY_ = static_cast<std::int16_t>(cursor.y);
  } else {
    zoomOriginX_ = zoomOriginY_ = 0;
  }
  zoomFromPoint_(Hwnd(), zoomOriginX_, zoomOriginY_);
  formkit::SetScreenMousePointer(formkit::MousePointer::Default);
  if (loaded_) loaded_();
}

// A control whose window cannot be made is left out (the kit reports it),
// and the dialog goes on without it.
void SettingsDialog::CreateControls() {
  font_ = CreateFontFor(DialogFont());
  SetFont(font_);
  SetBackColour(kDialogGrey);
  SetFollowsHighContrast(true);
  const DialogLayout &at = kDialogLayout;
  SetClientSizeTwips(at.clientWidth, at.clientHeight);
  SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SKY), IMAGE_ICON,
                                        32, 32, 0)));
  HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND));

  Img_Ra[0] = formkit::LoadPictureResource(IDB_MARK_OFF);
  Img_Ra[1] = formkit::LoadPictureResource(IDB_MARK_ON);
  for (int i = 1; i <= kBannerFrames; ++i) Pic_t[i] = formkit::LoadPictureResource(IDB_BANNER_FIRST + i - 1);

  // The shadow is 7 pixels deep at 96 DPI and keeps its share of the panel at others.
  const MemoryPropertyBag frameProperties = {{L"ShadowDepth", std::to_wstring(formkit::ScaledX(7))}};
  const HWND panel = GFXFrameX1.Create(Hwnd(), formkit::PixelsX(at.panel.left), formkit::PixelsY(at.panel.top),
                                       formkit::PixelsX(at.panel.width), formkit::PixelsY(at.panel.height),
                                       &frameProperties);

  // Without the panel, the frame stands on the form itself.
  const TwipsPlace &frame = at.musicFrame;
  if (Frame3.Create(frame.left, frame.top, frame.width, frame.height, panel)) Frame3.SetBackColour(kDialogGrey);
  CreateSources();
  // The track box's label goes with it.
  if (BGM_Repeat.Create(at.trackBox.left, at.trackBox.top, at.trackBox.width, at.trackBox.height)) {
    Label &repeat = Frame3.Add<Label>();
    Move(repeat, at.trackLabel);
    repeat.SetCaption(L"\u66f2\u76ee\u3092\uff98\uff8b\uff9f\uff70\uff84");  // 曲目をﾘﾋﾟｰﾄ
    BGM_Repeat.SetAccessibleName(L"BGM");  // the caption of its group
  }

  if (CreateButton(Cmd_File, fileSite_, Frame3.Hwnd(), L"...", at.fileButton))
    Cmd_File.Control().Click = [this] { Browse(); };
  Move(lbl_Fname, at.fileName);
  // To screen readers the path is read-only text.
  if (pathReader_.Create(Frame3.Hwnd(), false)) pathReader_.ReadAs(lbl_Fname);

  for (int i = 0; i < 2; ++i) {
    const TwipsPlace &box = at.banner[i];
    if (!Pic_m[i].Create(box.left, box.top, box.width, box.height)) continue;
    Pic_m[i].SetBackColour(RGB(0, 0, 0));
    Pic_m[i].SetCursor(hand);
    Pic_m[i].OnClick = [this] { OpenHomePage(); };
    Pic_m[i].ActAsLink(kHomePage, i == 0);
  }
  if (CreateButton(Cmd_Set, setSite_, Hwnd(), L"\u8a2d\u5b9a", at.setButton))  // 設定
    Cmd_Set.Control().Click = [this] { Apply(); };
  const wchar_t *const cancel = L"\uff77\uff6c\uff9d\uff7e\uff99";  // ｷｬﾝｾﾙ
  if (CreateButton(Cmd_Can, cancelSite_, Hwnd(), cancel, at.cancelButton))
    Cmd_Can.Control().Click = [this] { Unload(); };

  // The banner's keyboard stop comes after all the others.
  Pic_m[0].MakeLastTabStop();

  Label &version = Add<Label>();
  Move(version, at.version);
  version.SetCaption(std::wstring(L"Designed by t-orka Ver.") + kProductVersion);

  OnDialogKey = [this](UINT key) { return DialogKey(key); };
  OnColoursChanged = [this] {
    for (formkit::CustomControlWindow *control :
         std::initializer_list<formkit::CustomControlWindow *>{&GFXFrameX1, &Cmd_File, &Cmd_Set, &Cmd_Can})
      control->ColoursChanged();
  };
  OnFocusMoved = [this](HWND, HWND) {
    for (XpButtonWindow *button : {&Cmd_File, &Cmd_Set, &Cmd_Can}) button->AmbientChanged(L"DisplayAsDefault");
  };
}

void SettingsDialog::CreateSources() {
  static const wchar_t *const kCaptions[3] = {L"\u306a\u3057",    // なし
                                              L"\u97f3\u697dCD",  // 音楽CD
                                              L"MP3\u3001WAV"};    // MP3、WAV
  for (const SourceRow &row : kDialogLayout.sources) {
    Image &mark = Frame3.Add<Image>();
    Move(mark, row.mark);
    Label &caption = Frame3.Add<Label>();
    Move(caption, row.caption);
    caption.SetCaption(kCaptions[row.kind]);
    // The marks and their captions are one group of option buttons.
    mark.OnMouseDown = caption.OnMouseDown = [this, i = row.kind](int, int, int, int) { ChooseSource(i); };
    Img_BGM[row.kind] = &mark;
    lbl_BGM[row.kind] = &caption;
  }
  // The keyboard reaches the marks as one group, before the track box.
  if (sourceStop_.Create(Frame3.Hwnd())) {
    sourceStop_.OnFocus = [this](bool focused) {
      focusedSource_ = GroupFocusFor(music_.BgmKind);
      ShowSourceFocus(focused);
    };
    sourceStop_.OnKeyDown = [this](UINT key) { SourceKey(key); };
    DescribeSources();
  }
}

bool SettingsDialog::CreateButton(XpButtonWindow &button, FormControlSite &site, HWND parent,
                                  const std::wstring &caption, const TwipsPlace &place) {
  site.ButtonCaptions = [this] {
    std::vector<std::wstring> captions;
    for (XpButtonWindow *b : {&Cmd_File, &Cmd_Set, &Cmd_Can}) {
      if (b->Hwnd()) captions.push_back(b->Control().Caption());
    }
    return captions;
  };
  MemoryPropertyBag stored = {{L"Caption", caption}, {L"Font", FontToText(DialogFont())}};
  if (!button.Create(parent, formkit::PixelsX(place.left), formkit::PixelsY(place.top),
                     formkit::PixelsX(place.width), formkit::PixelsY(place.height), &stored))
    return false;
  site.Attach(button.Hwnd(), [&button] { button.AccessKeyPressed(); });
  return true;
}

// The keyboard works at once: on the chosen source's control, or on apply.
void SettingsDialog::FocusChosenSource() {
  SetInitialFocus(music_.BgmKind == kBgmCd     ? BGM_Repeat.Hwnd()
                  : music_.BgmKind == kBgmFile ? Cmd_File.Hwnd()
                                               : Cmd_Set.Hwnd());
}

void SettingsDialog::ShowSource(int kind) {
  const SourceView view = ViewOfSource(kind);
  for (int i = 0; i < 3; ++i) Img_BGM[i]->SetPicture(Img_Ra[view.markChosen[i] ? 1 : 0]);
  BGM_Repeat.SetEnabled(view.trackBoxEnabled);
  Cmd_File.SetEnabled(view.browseEnabled);
}

// Arrows move the choice round the group, as a click would; Space chooses
// the mark the keyboard is on (the top one when none was chosen).
void SettingsDialog::SourceKey(UINT key) {
  if (key == VK_UP || key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT) {
    focusedSource_ = SourceAfterArrow(focusedSource_, key == VK_DOWN || key == VK_RIGHT);
    ChooseSource(focusedSource_);
  } else if (key == VK_SPACE) {
    ChooseSource(focusedSource_);
  }
  ShowSourceFocus(true);
}

void SettingsDialog::ShowSourceFocus(bool shown) {
  for (int i = 0; i < 3; ++i) lbl_BGM[i]->SetFocusShown(shown && i == focusedSource_);
  if (shown) formkit::NotifyPart(EVENT_OBJECT_FOCUS, sourceStop_.Hwnd(), PartOfSource(focusedSource_));
}

void SettingsDialog::DescribeSources() {
  std::vector<formkit::KeyboardStop::Option> options;
  for (int part = 1; part <= 3; ++part) options.push_back({Img_BGM[SourceOfPart(part)], lbl_BGM[SourceOfPart(part)]});
  sourceStop_.StandForOptions(
      L"BGM", options,
      [this] { return music_.BgmKind >= 0 && music_.BgmKind < 3 ? PartOfSource(music_.BgmKind) : 0; },
      [this] { return PartOfSource(focusedSource_); }, [this](int part) { ChooseSource(SourceOfPart(part)); });
}

// Escape cancels and Enter applies, as in any dialog, except while the
// track box's list is open (the keys close it), and Enter on a push button
// or the banner, which presses that button or opens the page.
bool SettingsDialog::DialogKey(UINT key) {
  if (BGM_Repeat.Hwnd() && SendMessageW(BGM_Repeat.Hwnd(), CB_GETDROPPEDSTATE, 0, 0)) return false;
  const HWND focus = GetFocus();
  const bool pressesItself = focus && (focus == Cmd_File.Hwnd() || focus == Cmd_Set.Hwnd() ||
                                       focus == Cmd_Can.Hwnd() || focus == Pic_m[0].Hwnd());
  if (key == VK_ESCAPE) {
    Unload();
  } else if (pressesItself) {
    return false;
  } else {
    Apply();
  }
  return true;
}

void SettingsDialog::ChooseSource(int index) {
  const int before = music_.BgmKind;
  music_.BgmKind = static_cast<std::int16_t>(index);
  ShowSource(index);
  for (int kind : {before, index})
    if (kind >= 0 && kind < 3) formkit::NotifyPart(EVENT_OBJECT_STATECHANGE, sourceStop_.Hwnd(), PartOfSource(kind));
}

void SettingsDialog::BannerTickHandler() {
  const BannerStep step = BannerTick(BannerFrame);
  BannerFrame = static_cast<std::int16_t>(step.frame);
  if (step.leftFrame) {
    Pic_m[0].SetPicture(Pic_t[step.leftFrame]);
    Pic_m[1].Clear();
  } else if (step.rightFrame) {
    Pic_m[0].Clear();
    Pic_m[1].SetPicture(Pic_t[step.rightFrame]);
  }
}

void SettingsDialog::OpenHomePage() {
  formkit::SetScreenMousePointer(formkit::MousePointer::Hourglass);
  ShellExecuteA(Hwnd(), "open", ToAnsi(kHomePage).c_str(), "", "", SW_SHOWNORMAL);
  formkit::SetScreenMousePointer(formkit::MousePointer::Default);
}

void ShowSettingsDialog(const SettingsDialogState &state) {
  SettingsDialog Brumalis_P(state);  // the dialog's fixed name
  Brumalis_P.ShowModal();
}
