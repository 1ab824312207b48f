// The settings dialog: the user chooses no music, an audio CD with a track to
// repeat, or an MP3/WAV file; apply writes the choice for the next
// full-screen run. A small banner plays below and opens the home page when
// clicked.
#include "settings_dialog_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>

#include <array>
#include <memory>

#include "dialog_logic.h"
#include "dialog_resources.h"
#include "form_kit_win32.h"
#include "frame_x_win32.h"
#include "gdi_surface.h"
#include "numbers.h"
#include "profile_win32.h"
#include "settings_file.h"
#include "text_win32.h"
#include "user_seal_win32.h"
#include "version_text.h"
#include "xp_button_win32.h"

namespace {

using formkit::ComboBox;
using formkit::FormControlSite;
using formkit::GroupFrame;
using formkit::Image;
using formkit::KeyboardStop;
using formkit::Label;
using formkit::Picture;
using formkit::PictureBox;
using formkit::Timer;

}  // namespace

namespace {

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

class SettingsDialog : public formkit::Form {
 public:
  explicit SettingsDialog(const SettingsDialogState &state)
      : Form(kDialogTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME),
        music_(state.music),
        ZoomOriginX(state.zoomOriginX),
        ZoomOriginY(state.zoomOriginY),
        ZoomFromPoint(state.zoomFromPoint),
        ZoomToPoint(state.zoomToPoint),
        loaded_(state.loaded) {
    Timer1.SetInterval(100);
  }
  ~SettingsDialog() override {
    if (font_) DeleteObject(font_);
  }

 protected:
  void OnLoad() override {
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
      ZoomOriginX = static_cast<std::int16_t>(cursor.x);
      ZoomOriginY = static_cast<std::int16_t>(cursor.y);
    } else {
      ZoomOriginX = ZoomOriginY = 0;
    }
    ZoomFromPoint(Hwnd(), ZoomOriginX, ZoomOriginY);
    formkit::SetScreenMousePointer(formkit::MousePointer::Default);
    if (loaded_) loaded_();
  }

  void OnQueryUnload(bool &, formkit::UnloadMode) override { Timer1.SetEnabled(false); }
  void OnUnload(bool &) override { ZoomToPoint(Hwnd(), ZoomOriginX, ZoomOriginY); }

 private:
  // A control whose window cannot be made is left out (the kit reports it),
  // and the dialog goes on without it.
  void CreateControls() {
    font_ = CreateFontFor(DialogFont());
    SetFont(font_);
    SetBackColour(kDialogGrey);
    SetFollowsHighContrast(true);
    SetClientSizeTwips(7020, 3900);
    SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SKY), IMAGE_ICON,
                                          32, 32, 0)));
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND));

    Img_Ra[0] = formkit::LoadPictureResource(IDB_MARK_OFF);
    Img_Ra[1] = formkit::LoadPictureResource(IDB_MARK_ON);
    for (int i = 1; i <= kBannerFrames; ++i) Pic_t[i] = formkit::LoadPictureResource(IDB_BANNER_FIRST + i - 1);

    // The shadow is 7 pixels deep at 96 DPI and keeps its share of the panel at others.
    const MemoryPropertyBag frameProperties = {{L"ShadowDepth", std::to_wstring(formkit::ScaledX(7))}};
    const HWND panel = GFXFrameX1.Create(Hwnd(), formkit::PixelsX(180), formkit::PixelsY(180),
                                         formkit::PixelsX(6735), formkit::PixelsY(2715), &frameProperties);

    // Without the panel, the frame stands on the form itself.
    if (Frame3.Create(180, 120, 6255, 2355, panel)) Frame3.SetBackColour(kDialogGrey);
    struct Row { int index; long top, labelWidth; const wchar_t *caption; };
    const Row rows[] = {{1, 360, 645, L"\u97f3\u697dCD"},       // 音楽CD
                        {0, 660, 330, L"\u306a\u3057"},         // なし
                        {2, 960, 900, L"MP3\u3001WAV"}};        // MP3、WAV
    for (const Row &row : rows) {
      Image &mark = Frame3.Add<Image>();
      mark.MoveTwips(180, row.top, 195, 195);
      Label &caption = Frame3.Add<Label>();
      caption.MoveTwips(420, row.top, row.labelWidth, 195);
      caption.SetCaption(row.caption);
      // The marks and their captions are one group of option buttons.
      mark.OnMouseDown = caption.OnMouseDown = [this, i = row.index](int, int, int, int) { ChooseSource(i); };
      Img_BGM[row.index] = &mark;
      lbl_BGM[row.index] = &caption;
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
    // The track box's label goes with it.
    if (BGM_Repeat.Create(1200, 300, 615, 300)) {
      Label &repeat = Frame3.Add<Label>();
      repeat.MoveTwips(1860, 360, 990, 195);
      repeat.SetCaption(L"\u66f2\u76ee\u3092\uff98\uff8b\uff9f\uff70\uff84");  // 曲目をﾘﾋﾟｰﾄ
      BGM_Repeat.accessible.facts = [this](int) {
        formkit::AccessibleFacts facts;
        facts.role = ROLE_SYSTEM_COMBOBOX;
        facts.name = L"BGM";  // the caption of its group
        facts.value = BGM_Repeat.Text();
        const HWND focus = GetFocus();
        const bool focused = focus && (focus == BGM_Repeat.Hwnd() || IsChild(BGM_Repeat.Hwnd(), focus));
        facts.state = STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0) |
                      (BGM_Repeat.Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) |
                      (SendMessageW(BGM_Repeat.Hwnd(), CB_GETDROPPEDSTATE, 0, 0) ? STATE_SYSTEM_EXPANDED
                                                                                  : STATE_SYSTEM_COLLAPSED);
        facts.defaultAction = L"\u958b\u304f";  // 開く
        GetWindowRect(BGM_Repeat.Hwnd(), &facts.screen);
        return facts;
      };
      BGM_Repeat.accessible.doDefault = [this](int) {
        SendMessageW(BGM_Repeat.Hwnd(), CB_SHOWDROPDOWN, !SendMessageW(BGM_Repeat.Hwnd(), CB_GETDROPPEDSTATE, 0, 0), 0);
      };
    }

    if (CreateButton(Cmd_File, fileSite_, Frame3.Hwnd(), L"...", 180, 1260, 675, 375))
      Cmd_File.Control().Click = [this] { Browse(); };
    lbl_Fname.MoveTwips(180, 1680, 5895, 495);
    // To screen readers the path is read-only text.
    if (pathReader_.Create(Frame3.Hwnd(), false)) {
      pathReader_.accessible.facts = [this](int) {
        formkit::AccessibleFacts facts;
        facts.role = ROLE_SYSTEM_STATICTEXT;
        facts.name = lbl_Fname.Caption();
        facts.state = STATE_SYSTEM_READONLY;
        facts.screen = lbl_Fname.Bounds();
        MapWindowPoints(Frame3.Hwnd(), nullptr, reinterpret_cast<POINT *>(&facts.screen), 2);
        return facts;
      };
    }

    for (int i = 0; i < 2; ++i) {
      if (!Pic_m[i].Create(i == 0 ? 180 : 4980, 2940, 1845, 780)) continue;
      Pic_m[i].SetBackColour(RGB(0, 0, 0));
      Pic_m[i].SetCursor(hand);
      Pic_m[i].OnClick = [this] { OpenHomePage(); };
      Pic_m[i].accessible.facts = [this, i](int) {
        formkit::AccessibleFacts facts;
        facts.role = ROLE_SYSTEM_LINK;
        facts.name = kHomePage;
        facts.state = STATE_SYSTEM_LINKED | (i == 0 ? STATE_SYSTEM_FOCUSABLE : 0) |
                      (GetFocus() == Pic_m[i].Hwnd() ? STATE_SYSTEM_FOCUSED : 0);
        facts.defaultAction = L"\u30b8\u30e3\u30f3\u30d7";  // ジャンプ
        GetWindowRect(Pic_m[i].Hwnd(), &facts.screen);
        return facts;
      };
      Pic_m[i].accessible.doDefault = [this](int) { OpenHomePage(); };
    }
    if (CreateButton(Cmd_Set, setSite_, Hwnd(), L"\u8a2d\u5b9a", 2100, 2940, 1335, 435))  // 設定
      Cmd_Set.Control().Click = [this] { Apply(); };
    const wchar_t *const cancel = L"\uff77\uff6c\uff9d\uff7e\uff99";  // ｷｬﾝｾﾙ
    if (CreateButton(Cmd_Can, cancelSite_, Hwnd(), cancel, 3540, 2940, 1335, 435))
      Cmd_Can.Control().Click = [this] { Unload(); };

    // The banner's keyboard stop comes after all the others.
    Pic_m[0].MakeLastTabStop();

    Label &version = Add<Label>();
    version.MoveTwips(2100, 3480, 2475, 195);
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

  bool CreateButton(XpButtonWindow &button, FormControlSite &site, HWND parent, const std::wstring &caption,
                    long left, long top, long width, long height) {
    site.ButtonCaptions = [this] {
      std::vector<std::wstring> captions;
      for (XpButtonWindow *b : {&Cmd_File, &Cmd_Set, &Cmd_Can}) {
        if (b->Hwnd()) captions.push_back(b->Control().Caption());
      }
      return captions;
    };
    MemoryPropertyBag stored = {{L"Caption", caption}, {L"Font", FontToText(DialogFont())}};
    if (!button.Create(parent, formkit::PixelsX(left), formkit::PixelsY(top), formkit::PixelsX(width),
                       formkit::PixelsY(height), &stored))
      return false;
    site.Attach(button.Hwnd(), [&button] { button.AccessKeyPressed(); });
    return true;
  }

  // The keyboard works at once: on the chosen source's control, or on apply.
  void FocusChosenSource() {
    SetInitialFocus(music_.BgmKind == kBgmCd     ? BGM_Repeat.Hwnd()
                    : music_.BgmKind == kBgmFile ? Cmd_File.Hwnd()
                                                 : Cmd_Set.Hwnd());
  }

  void ShowSource(int kind) {
    const SourceView view = ViewOfSource(kind);
    for (int i = 0; i < 3; ++i) Img_BGM[i]->SetPicture(Img_Ra[view.markChosen[i] ? 1 : 0]);
    BGM_Repeat.SetEnabled(view.trackBoxEnabled);
    Cmd_File.SetEnabled(view.browseEnabled);
  }

  // Arrows move the choice round the group, as a click would; Space chooses
  // the mark the keyboard is on (the top one when none was chosen).
  void SourceKey(UINT key) {
    if (key == VK_UP || key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT) {
      focusedSource_ = SourceAfterArrow(focusedSource_, key == VK_DOWN || key == VK_RIGHT);
      ChooseSource(focusedSource_);
    } else if (key == VK_SPACE) {
      ChooseSource(focusedSource_);
    }
    ShowSourceFocus(true);
  }

  void ShowSourceFocus(bool shown) {
    for (int i = 0; i < 3; ++i) lbl_BGM[i]->SetFocusShown(shown && i == focusedSource_);
    if (shown) formkit::NotifyPart(EVENT_OBJECT_FOCUS, sourceStop_.Hwnd(), PartOfSource(focusedSource_));
  }

  // To screen readers the group is three option buttons named by their
  // captions, parts 1 to 3 from the top; choosing is their default action.
  static int PartOfSource(int kind) { return kind == 1 ? 1 : kind == 0 ? 2 : 3; }
  static int SourceOfPart(int part) { return part == 1 ? 1 : part == 2 ? 0 : 2; }

  void DescribeSources() {
    sourceStop_.accessible.count = [] { return 3; };
    sourceStop_.accessible.focusedPart = [this] { return PartOfSource(focusedSource_); };
    sourceStop_.accessible.facts = [this](int part) {
      formkit::AccessibleFacts facts;
      RECT r = {};
      if (part == 0) {
        facts.role = ROLE_SYSTEM_GROUPING;
        facts.name = L"BGM";
        for (int kind = 0; kind < 3; ++kind) {
          const RECT mark = Img_BGM[kind]->Bounds(), caption = lbl_BGM[kind]->Bounds();
          UnionRect(&r, &r, &mark);
          UnionRect(&r, &r, &caption);
        }
      } else {
        const int kind = SourceOfPart(part);
        facts.role = ROLE_SYSTEM_RADIOBUTTON;
        facts.name = lbl_BGM[kind]->Caption();
        const bool focused = GetFocus() == sourceStop_.Hwnd() && kind == focusedSource_;
        facts.state = STATE_SYSTEM_FOCUSABLE | (kind == music_.BgmKind ? STATE_SYSTEM_CHECKED : 0) |
                      (focused ? STATE_SYSTEM_FOCUSED : 0);
        facts.defaultAction = L"\u30c1\u30a7\u30c3\u30af";  // チェック
        const RECT mark = Img_BGM[kind]->Bounds(), caption = lbl_BGM[kind]->Bounds();
        UnionRect(&r, &mark, &caption);
      }
      MapWindowPoints(Frame3.Hwnd(), nullptr, reinterpret_cast<POINT *>(&r), 2);
      facts.screen = r;
      return facts;
    };
    sourceStop_.accessible.doDefault = [this](int part) {
      if (part > 0) ChooseSource(SourceOfPart(part));
    };
  }

  // Escape cancels and Enter applies, as in any dialog, except while the
  // track box's list is open (the keys close it), and Enter on a push button
  // or the banner, which presses that button or opens the page.
  bool DialogKey(UINT key) {
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

  void ChooseSource(int index) {
    const int before = music_.BgmKind;
    music_.BgmKind = static_cast<std::int16_t>(index);
    ShowSource(index);
    for (int kind : {before, index})
      if (kind >= 0 && kind < 3) formkit::NotifyPart(EVENT_OBJECT_STATECHANGE, sourceStop_.Hwnd(), PartOfSource(kind));
  }

  // The file as the user knows it: a short path stored for a name the
  // settings file cannot hold shows by its long name. An unsealed network
  // path shows as stored: even the look-up would reach that machine.
  void ShowFileName() {
    const bool lookUp = !music_.BgmFile.empty() && !music_.BgmFileUnsealed;
    const std::wstring longPath = lookUp ? LongPathOf(music_.BgmFile) : std::wstring();
    lbl_Fname.SetCaption(longPath.empty() ? music_.BgmFile : longPath);
    formkit::NotifyPart(EVENT_OBJECT_NAMECHANGE, pathReader_.Hwnd(), 0);
  }

  // The file dialog works in wide characters, so a name outside the ANSI
  // code page comes back whole; NameToStore decides what the settings file
  // keeps of it.
  void Browse() {
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
  // before its seal is there plays nothing, never the wrong file.
  void Apply() {
    const ApplyTrust trust = TrustOnApply(music_.BgmFile, music_.BgmKind, music_.BgmFileUnsealed, browsed_);
    const bool trusted = trust == ApplyTrust::Seal || (trust == ApplyTrust::Ask && UserTrustsPath());
    Win32Profile profile;
    WriteIni(profile, kSection, kKeyBgmKind, FormatNumber(music_.BgmKind), kSettingsFile);
    music_.BgmRepeat = TrackFromText(BGM_Repeat.Text());
    WriteIni(profile, kSection, kKeyBgmRepeat, FormatNumber(music_.BgmRepeat), kSettingsFile);
    WriteIni(profile, kSection, kKeyBgmFile, music_.BgmFile, kSettingsFile);
    Win32UserSeal seal;
    if (trusted) StoreSeal(profile, seal, music_.BgmFile);
    Unload();
  }

  // Asks once whether to trust the network path the settings file held;
  // "No" is the default, so that a hasty Enter trusts nothing.
  bool UserTrustsPath() {
    // このファイルはネットワーク上にあり、まだ信頼されていません。
    // 信頼してBGMに使いますか？
    // ご自分で選んだファイルでなければ「いいえ」を選んでください。
    const std::wstring text =
        music_.BgmFile +
        L"\n\n\u3053\u306e\u30d5\u30a1\u30a4\u30eb\u306f\u30cd\u30c3\u30c8\u30ef\u30fc\u30af\u4e0a\u306b"
        L"\u3042\u308a\u3001\u307e\u3060\u4fe1\u983c\u3055\u308c\u3066\u3044\u307e\u305b\u3093\u3002\n"
        L"\u4fe1\u983c\u3057\u3066BGM\u306b\u4f7f\u3044\u307e\u3059\u304b\uff1f\n\n"
        L"\u3054\u81ea\u5206\u3067\u9078\u3093\u3060\u30d5\u30a1\u30a4\u30eb\u3067\u306a\u3051\u308c\u3070"
        L"\u300c\u3044\u3044\u3048\u300d\u3092\u9078\u3093\u3067\u304f\u3060\u3055\u3044\u3002";
    return MessageBoxW(Hwnd(), text.c_str(), Caption().c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }

  void BannerTickHandler() {
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

  void OpenHomePage() {
    formkit::SetScreenMousePointer(formkit::MousePointer::Hourglass);
    ShellExecuteA(Hwnd(), "open", ToAnsi(kHomePage).c_str(), "", "", SW_SHOWNORMAL);
    formkit::SetScreenMousePointer(formkit::MousePointer::Default);
  }

  // The members named with a capital (and a kind prefix for controls: Cmd_,
  // lbl_, Img_, Pic_) carry the dialog's fixed names.
  MusicSettings &music_;
  std::int16_t &ZoomOriginX;  // where the caption zoom starts and ends, on the screen
  std::int16_t &ZoomOriginY;
  const ZoomOperation ZoomFromPoint;  // the caption zoom on opening
  const ZoomOperation ZoomToPoint;    // and on closing
  void (*const loaded_)();
  HFONT font_ = nullptr;
  std::int16_t BannerFrame = 0;  // the banner's tick counter
  bool browsed_ = false;         // the file was chosen through the file browser

  FormControlSite frameSite_{*this, L"GFXFrameX1"};
  GfxFrameXWindow GFXFrameX1{frameSite_};  // the framed panel under the choices
  GroupFrame Frame3{*this, L"BGM"};        // the frame of the music choices
  std::array<Image *, 3> Img_BGM = {};     // the marks of no music, CD and file, by kind
  std::array<Label *, 3> lbl_BGM = {};     // and their captions
  KeyboardStop sourceStop_;                // the marks' one tab stop
  KeyboardStop pathReader_;                // the path, to screen readers
  int focusedSource_ = 0;                  // the mark the keyboard is on while the stop has the focus
  ComboBox BGM_Repeat{Frame3};             // the CD track to repeat
  Label &lbl_Fname = Frame3.Add<Label>();  // the music file's path
  FormControlSite fileSite_{Frame3, L"Cmd_File"};
  XpButtonWindow Cmd_File{fileSite_};  // browses for the music file
  FormControlSite setSite_{*this, L"Cmd_Set"};
  XpButtonWindow Cmd_Set{setSite_};  // applies the choice
  FormControlSite cancelSite_{*this, L"Cmd_Can"};
  XpButtonWindow Cmd_Can{cancelSite_};  // cancels
  std::array<PictureBox, 2> Pic_m = {PictureBox{*this}, PictureBox{*this}};  // the banner's two boxes
  std::array<Picture, kBannerFrames + 1> Pic_t = {};     // the banner's frames, from 1
  std::array<Picture, 2> Img_Ra = {};                    // the option mark, unchosen and chosen
  Timer Timer1{*this, [this] { BannerTickHandler(); }};  // the banner's tick
};

}  // namespace

void ShowSettingsDialog(const SettingsDialogState &state) {
  SettingsDialog Brumalis_P(state);  // the dialog's fixed name
  Brumalis_P.ShowModal();
}
