// The push button on an in-memory window and site: painting pixel by pixel,
// state rules step by step, stored properties. Hooked messages go through the
// real hook table and dispatch.
#include <gtest/gtest.h>

#include "memory_site.h"

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "xp_button.h"
#include "xp_button_looks.h"

namespace {

constexpr Colour kBack = Rgb(236, 233, 216);
constexpr std::uintptr_t kOwnWindow = 0x100, kContainer = 0x500;
using Points = std::vector<std::pair<int, int>>;

struct ButtonSite : MemorySite {
  ButtonSite() {
    ambient = kBack;
    name = L"XpButton4";
    container = kContainer;
  }
};

struct Rig {
  static constexpr int W = 40, H = 23;
  ButtonSite site;
  MemoryControlWindow window;
  HookTable hooks;
  XpButton button{site, window, hooks};
  int clicks = 0, dblClicks = 0, moves = 0;
  int armedClicks = 0;  // clicks whose handler found the press not yet over

  Rig() {
    window.handle = kOwnWindow;
    button.Click = [this] {
      const XpButtonFields &f = button.Fields();
      if (f.Armed || f.MouseHeld || f.SpaceHeld) ++armedClicks;
      ++clicks, site.log.push_back("click");
    };
    button.DblClick = [this] { ++dblClicks; };
    button.MouseMove = [this](std::int16_t, std::int16_t, float, float) { ++moves; };
    button.FormActivate = [this](std::int32_t state) { site.log.push_back("activate " + std::to_string(state)); };
  }
  Rig &Load() { return button.ReadProperties(MemoryPropertyBag{}), *this; }
  void Hooked(std::uintptr_t target, HookedMessage message, std::uintptr_t wParam) {
    Dispatch(hooks, button, [](auto, auto, auto, auto) { return std::intptr_t{0}; }, target, hooks.CodeOf(message),
             wParam, 0);
  }
  std::int32_t State() const { return button.Fields().VisualState; }
  Colour Pixel(std::pair<int, int> p) const { return window.image->GetPixel(p.first, p.second); }
};

// -- Painting ------------------------------------------------------------------

TEST(XpButtonPaint, EachStatePaintsItsOutlineFaceEdgesAndCorners) {
  constexpr int W = Rig::W, H = Rig::H;
  using Look = XpButtonLook;
  const std::pair<Points, Colour Look::*> parts[] = {
      {{{3, 0}, {W - 4, 0}, {0, 3}, {0, H - 4}, {3, H - 1}, {W - 4, H - 1}, {W - 1, 3}, {W - 1, H - 4}}, &Look::outline},
      {{{0, 1}, {1, 0}, {W - 1, 1}, {W - 2, 0}, {0, H - 2}, {1, H - 1}, {W - 1, H - 2}, {W - 2, H - 1}}, &Look::one},
      {{{0, 2}, {2, 0}, {W - 1, 2}, {W - 3, 0}, {0, H - 3}, {2, H - 1}, {W - 1, H - 3}, {W - 3, H - 1}}, &Look::two},
      {{{1, 1}, {W - 2, 1}, {1, H - 2}, {W - 2, H - 2}}, &Look::diagonal},
  };
  const std::pair<Points, Colour Look::*> lit[] = {
      {{{2, 1}, {W - 3, 1}}, &Look::row1},
      {{{2, 2}, {W - 3, 2}}, &Look::row2},
      {{{1, H - 3}, {W - 2, H - 3}}, &Look::rowH3},
      {{{2, H - 2}, {W - 3, H - 2}}, &Look::rowH2},
      {{{1, 3}, {2, 3}, {W - 3, 3}, {W - 2, 3}}, &Look::edgeTop},
      {{{1, H - 4}, {2, H - 4}, {W - 3, H - 4}, {W - 2, H - 4}}, &Look::edgeTwoUp},
  };
  for (const Look &look : kXpButtonLooks) {
    Rig rig;
    rig.Load().button.Redraw(look.state);
    SCOPED_TRACE("state " + std::to_string(look.state));
    EXPECT_EQ(rig.State(), look.state);
    for (auto p : Points{{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}}) EXPECT_EQ(rig.Pixel(p), kBack);
    for (const auto &[points, colour] : parts)
      for (auto p : points) EXPECT_EQ(rig.Pixel(p), look.*colour) << p.first << "," << p.second;
    if (look.flat) {
      for (auto p : Points{{2, 1}, {1, 3}, {W / 2, H / 2}, {W - 2, H - 3}}) EXPECT_EQ(rig.Pixel(p), look.flat);
      continue;
    }
    for (const auto &[points, colour] : lit)
      for (auto p : points) EXPECT_EQ(rig.Pixel(p), look.*colour) << p.first << "," << p.second;
    // One face gradient for every lit state; its bottom colour belongs to row
    // H - 3, so the row above is one step up already.
    for (auto p : Points{{3, 3}, {W - 4, 3}}) EXPECT_EQ(rig.Pixel(p), Rgb(252, 252, 251));
    EXPECT_EQ(rig.Pixel({3, H - 4}), Rgb(237, 236, 231));
  }
}

TEST(XpButtonPaint, HighContrastKeepsTheShapesInTheSchemesColours) {
  constexpr int W = Rig::W, H = Rig::H;
  const ContrastColours scheme = {Rgb(1, 1, 1), Rgb(250, 250, 250), Rgb(128, 0, 128), Rgb(0, 255, 0)};
  const Colour face = scheme.face, text = scheme.text, mark = scheme.highlight, grey = scheme.grayText;
  struct Look {
    std::int32_t state;
    Colour outline, band, caption;
  };
  for (const Look &look : {Look{XpButton::Disabled, grey, face, grey}, Look{XpButton::Normal, text, face, text},
                           Look{XpButton::Focused, text, mark, text}, Look{XpButton::Hot, mark, mark, text},
                           Look{XpButton::Pressed, mark, face, text}}) {
    Rig rig;
    rig.site.contrast = scheme;
    rig.Load().button.SetForeColor(Rgb(10, 20, 30));  // the scheme's text colour wins
    rig.button.SetEnabled(look.state != XpButton::Disabled);
    rig.button.Redraw(look.state);
    SCOPED_TRACE("state " + std::to_string(look.state));
    // Background at the cut corner pixels, outline along the edges and on
    // the bevel, the band inside the outline, a plain face in the middle.
    for (auto p : Points{{0, 0}, {1, 0}, {0, 1}, {W - 1, H - 1}, {W - 2, H - 1}}) EXPECT_EQ(rig.Pixel(p), face);
    for (auto p : Points{{W / 2, 0}, {0, H / 2}, {W - 1, H / 2}, {W / 2, H - 1}, {2, 0}, {1, 1}, {W - 2, H - 2}})
      EXPECT_EQ(rig.Pixel(p), look.outline) << p.first << "," << p.second;
    for (auto p : Points{{W / 2, 1}, {W / 2, 2}, {1, H / 2}, {W - 2, H / 2}, {W / 2, H - 3}})
      EXPECT_EQ(rig.Pixel(p), look.band) << p.first << "," << p.second;
    EXPECT_EQ(rig.Pixel({W / 2, H / 2}), face);
    EXPECT_EQ(rig.window.image->captions.back().colour, look.caption);
  }
}

TEST(XpButtonPaint, GradientPaintsOneRowMoreThanItsBoxFromTheBottomColourUp) {
  MemorySurface surface(5, 8, kBack);
  // Steps of -2.5 red and +2.5 blue: the halves round to even.
  DrawGradient(surface, {0, 2, 4, 6}, Rgb(10, 20, 30), Rgb(20, 20, 20));
  const Colour rows[8] = {kBack,           kBack,           Rgb(10, 20, 30), Rgb(12, 20, 28),
                          Rgb(15, 20, 25), Rgb(18, 20, 22), Rgb(20, 20, 20), kBack};
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(surface.GetPixel(3, y), rows[y]) << y;
    EXPECT_EQ(surface.GetPixel(4, y), kBack) << y;
  }
}

TEST(XpButtonPaint, CaptionAndFocusRect) {
  Rig rig;
  FontSpec font;
  font.name = L"MS UI Gothic";
  rig.Load().button.SetFont(font);
  rig.button.SetForeColor(Rgb(10, 20, 30));
  const auto &caption = rig.window.image->captions.back();
  EXPECT_EQ(caption.text, L"&OK");
  EXPECT_EQ(caption.colour, Rgb(10, 20, 30));
  EXPECT_EQ(caption.font, font);
  EXPECT_EQ((std::vector<int>{caption.box.l, caption.box.t, caption.box.r, caption.box.b}),
            (std::vector<int>{3, 3, Rig::W - 3, Rig::H - 3}));
  // The window's shape: one pixel wider and higher than the image, with 3 x 3 corners.
  EXPECT_EQ(std::tuple(rig.window.shapeWidth, rig.window.shapeHeight, rig.window.shapeEllipse),
            std::tuple(Rig::W + 1, Rig::H + 1, 3));
  rig.button.SetEnabled(false);
  EXPECT_FALSE(rig.window.inputEnabled);
  EXPECT_EQ(rig.window.image->captions.back().colour, kXpButtonGreyCaption);

  struct Case {
    bool hasFocus, focusRect;
    std::int32_t state;
    bool drawn;
  };
  for (const Case &c : {Case{true, true, XpButton::Focused, true}, Case{true, true, XpButton::Hot, true},
                        Case{true, true, XpButton::Pressed, true}, Case{true, true, XpButton::Normal, false},
                        Case{true, false, XpButton::Hot, false}, Case{false, true, XpButton::Pressed, false}}) {
    Rig rig;
    rig.Load().button.SetFocusRect(c.focusRect);
    if (c.hasFocus) rig.button.OnGotFocus();
    rig.window.image->focusRects.clear();
    rig.button.Redraw(c.state);
    EXPECT_EQ(rig.window.image->focusRects.size(), c.drawn ? 1u : 0u) << c.hasFocus << c.focusRect << c.state;
  }
}

TEST(XpButtonPaint, NothingIsPaintedBeforeEnabledIsFirstAssigned) {
  Rig rig;
  rig.button.SetCaption(L"&Go");
  rig.button.SetForeColor(Rgb(1, 2, 3));
  rig.button.SetFont(FontSpec{});
  rig.button.OnGotFocus();
  rig.button.SetFocusRect(false);
  rig.button.Redraw(XpButton::Hot);
  EXPECT_EQ(rig.window.shapes, 0);
  EXPECT_TRUE(rig.window.image->captions.empty());
  EXPECT_EQ(rig.site.changed, (std::vector<std::wstring>{L"Caption", L"ForeColor", L"Font", L"FocusRect"}));
  rig.button.SetEnabled(true);
  EXPECT_EQ(rig.window.shapes, 1);
  EXPECT_EQ(rig.State(), XpButton::Normal);
}

// -- Texts and pointer -------------------------------------------------------------

TEST(XpButtonText, AccessKeyFollowsTheFirstSingleAmpersandAndScreenReadersHearNoMarks) {
  struct Case { const wchar_t *caption, *key, *text; };
  const Case cases[] = {
      {L"&OK", L"o", L"OK"},  {L"&&Save &Exit", L"e", L"&Save Exit"}, {L"A&&B", L"", L"A&B"},
      {L"Quit&", L"", L"Quit"}, {L"&A", L"", L"A"},  {L"", L"", L""},  {L"Plain", L"", L"Plain"},
      {L"A&b", L"b", L"Ab"},  {L"x&&y&Z", L"z", L"x&yZ"},  {L"\u8a2d\u5b9a", L"", L"\u8a2d\u5b9a"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(GetAccessKey(c.caption), c.key) << c.caption;
    EXPECT_EQ(CaptionText(c.caption), c.text) << c.caption;
  }
}

TEST(XpButtonText, ScreenReadersHearAPushButtonThatPressesOnlyWhileEnabled) {
  struct Case {
    bool enabled, isDefault, focused;
    unsigned state;
    int clicks;
  } cases[] = {
      {true, false, false, kAccessibleFocusable, 1},
      {true, true, true, kAccessibleFocusable | kAccessibleFocused | kAccessibleDefault, 1},
      {false, false, false, kAccessibleFocusable | kAccessibleUnavailable, 0},
  };
  for (const Case &c : cases) {
    Rig rig;
    rig.site.displayAsDefault = c.isDefault;
    rig.Load();
    rig.button.SetCaption(L"&Apply");
    rig.button.AmbientChanged(L"DisplayAsDefault");
    rig.button.SetEnabled(c.enabled);
    const AccessibleFacts facts = rig.button.Describe({5, 6, 45, 29}, c.focused);
    EXPECT_EQ(facts.role, AccessibleRole::PushButton);
    EXPECT_EQ(facts.name, L"Apply");
    EXPECT_EQ(facts.state, c.state) << c.enabled << c.isDefault << c.focused;
    EXPECT_EQ(facts.defaultAction, L"\u62bc\u3059");
    EXPECT_EQ(facts.screen.r, 45);
    rig.button.DoDefaultAction();
    EXPECT_EQ(rig.clicks, c.clicks);
  }
}

TEST(XpButtonText, NewButtonsTakeTheFirstCaptionTheFormLacks) {
  const std::pair<std::vector<std::wstring>, const wchar_t *> cases[] = {
      {{}, L"&OK"},
      {{L"OK"}, L"&OK"},
      {{L"&Apply", L"&OK"}, L"&Cancel"},
      {{L"&OK", L"&Cancel"}, L"&Apply"},
      {{L"&OK", L"&Cancel", L"&Apply"}, L"XpButton4"},
      {{L"&OK|&Cancel", L"&Apply"}, L"XpButton4"},  // a "|" in a caption splits like a boundary
  };
  for (const auto &[others, caption] : cases) {
    Rig rig;
    rig.site.captions = others;
    rig.site.captions.push_back(L"");  // the new button itself, still without a caption
    rig.button.InitNew();
    EXPECT_EQ(rig.button.Caption(), caption);
    EXPECT_EQ(rig.site.accessKeys, GetAccessKey(caption));
    EXPECT_TRUE(rig.button.Enabled() && rig.button.FocusRect());
    EXPECT_EQ(rig.window.shapes, 1);  // painted once, when Enabled was set
  }
}

TEST(XpButtonText, SnapMouseToTheMiddleRoundsHalvesToEven) {
  struct Case {
    int originX, originY, width, height, x, y;
  };
  for (const Case &c : {Case{10, 20, 15, 9, 18, 24}, Case{0, 0, 13, 7, 6, 4}, Case{-5, 100, 40, 23, 15, 112}}) {
    Rig rig;
    rig.window.SetPixelSize(c.width, c.height);
    rig.window.originX = c.originX, rig.window.originY = c.originY;
    rig.button.SnapMouseTo();
    EXPECT_EQ(std::pair(rig.window.mouseX, rig.window.mouseY), std::pair(c.x, c.y));
  }
}

// -- State rules -----------------------------------------------------------------

using Step = std::function<void(Rig &)>;
Step Move(float x, float y) { return [=](Rig &r) { r.button.OnMouseMove(0, 0, x, y); }; }
Step Down(std::int16_t b) { return [=](Rig &r) { r.button.OnMouseDown(b, 0, 10, 10); }; }
Step Key(ButtonKey k) { return [=](Rig &r) { r.button.OnKeyDown(k); }; }
Step Enable(bool on) { return [=](Rig &r) { r.button.SetEnabled(on); }; }
Step Ambient(bool isDefault, const wchar_t *name) {
  return [=](Rig &r) { r.site.displayAsDefault = isDefault, r.button.AmbientChanged(name); };
}
Step Activation(std::uintptr_t wParam) { return [=](Rig &r) { r.Hooked(kContainer, HookedMessage::Activated, wParam); }; }
const Step In = Move(10, 10), Out = Move(50, 10), LDown = Down(kLeftButton), Active = Activation(1),
           Inactive = Activation(0), Space = Key(ButtonKey::Space), Enter = Key(ButtonKey::Enter);
const Step Up = [](Rig &r) { r.button.OnMouseUp(kLeftButton, 0, 10, 10); };
const Step SpaceUp = [](Rig &r) { r.button.OnKeyUp(ButtonKey::Space); };
const Step Dbl = [](Rig &r) { r.button.OnDblClick(); };
const Step Focus = [](Rig &r) { r.button.OnGotFocus(); };
const Step Blur = [](Rig &r) { r.button.OnLostFocus(); };
const Step Access = [](Rig &r) { r.button.OnAccessKey(); };
const Step Leave = [](Rig &r) { r.Hooked(kOwnWindow, HookedMessage::PointerLeft, 0); };
constexpr auto D = XpButton::Disabled, N = XpButton::Normal, F = XpButton::Focused, T = XpButton::Hot,
               P = XpButton::Pressed;

TEST(XpButtonRules, EachInputFollowsItsRule) {
  struct Rule {
    const char *name;
    std::vector<Step> steps;
    std::vector<std::int32_t> states;  // after each step
    int paints, clicks, moves;
  };
  const Rule rules[] = {
      {"hover shows Hot, leaving returns to Normal", {Active, In, Leave}, {N, T, N}, 2, 0, 1},
      {"the far edges count as inside", {Active, Move(40, 23), Move(40.5f, 23)}, {N, T, N}, 2, 0, 2},
      {"press inside, release outside: Pressed, Focused, no click", {Active, In, LDown, Out, Up}, {N, T, P, F, F}, 4,
       0, 2},
      {"back inside while pressed shows Pressed and clicks", {Active, In, LDown, Out, In, Up}, {N, T, P, F, P, T}, 5,
       1, 3},
      {"an inactive form: moves paint nothing, a release never clicks", {In, LDown, Up}, {N, P, P}, 1, 0, 0},
      {"Space auto-repeat still clicks once", {Focus, Space, Space, Space, SpaceUp}, {F, P, P, P, F}, 3, 1, 0},
      {"Enter clicks on every key-down", {Focus, Enter, Enter, Enter}, {F, F, F, F}, 1, 3, 0},
      {"a held mouse button blocks Space", {Active, In, LDown, Space, SpaceUp, Up}, {N, T, P, P, P, T}, 3, 1, 1},
      {"held Space suppresses hover and MouseMove", {Active, Focus, Space, In, Out}, {N, F, P, P, P}, 2, 0, 0},
      {"Space still clicks after the pointer left", {Active, Focus, In, Space, Leave, SpaceUp}, {N, F, T, P, P, F}, 4,
       1, 1},
      {"the access key cancels a held Space", {Focus, Space, Access, SpaceUp}, {F, P, F, F}, 4, 0, 0},
      {"losing the focus cancels a Space press", {Focus, Space, Blur, SpaceUp}, {F, P, N, F}, 4, 0, 0},
      {"focus lost while Space is held, its key-up going elsewhere: the pointer lights the button again",
       {Active, Focus, Space, Blur, In, Out}, {N, F, P, N, T, N}, 5, 0, 2},
      {"the access key clicks", {Access}, {N}, 0, 1, 0},
      {"a disabled button ignores its access key", {Enable(false), Access}, {D, D}, 1, 0, 0},
      {"deactivation shows Normal despite the focus, reactivation Focused", {Active, Focus, Inactive, Active},
       {N, F, N, F}, 3, 0, 0},
      {"deactivation ends a press", {Active, In, LDown, Inactive, Active, Up}, {N, T, P, N, T, T}, 4, 0, 1},
      {"focus over a Hot button repaints nothing", {Active, In, Focus, Blur}, {N, T, T, T}, 1, 0, 1},
      {"focus over a pressed button keeps Pressed", {Active, In, LDown, Focus}, {N, T, P, P}, 2, 0, 1},
      {"focus while armed by Space keeps Pressed", {Space, Focus}, {P, P}, 1, 0, 0},
      {"the default button keeps its look when the focus goes", {Active, Focus, Ambient(true, L"DisplayAsDefault"),
       Blur}, {N, F, F, F}, 3, 0, 0},
      {"an inactive form outranks the default look", {Ambient(true, L"DisplayAsDefault"), Focus, Blur}, {F, F, N}, 3,
       0, 0},
      {"only DisplayAsDefault, spelt exactly, repaints",
       {Ambient(true, L"DisplayAsDefault"), Ambient(false, L"DisplayAsDefault"), Ambient(true, L"BackColor"),
        Ambient(true, L"displayasdefault")},
       {F, N, N, N}, 2, 0, 0},
      {"enabling under the pointer shows Hot", {Active, In, Enable(false), Enable(true)}, {N, T, D, T}, 3, 0, 1},
      {"enabling the default button shows Focused", {Ambient(true, L"Other"), Enable(false), Enable(true)}, {N, D, F},
       2, 0, 0},
      {"leaving a pressed button shows Focused", {Active, In, LDown, Leave}, {N, T, P, F}, 3, 0, 1},
      {"leaving after a double click shows Normal", {Active, In, LDown, Up, Dbl, Leave}, {N, T, P, T, P, N}, 5, 1, 1},
      {"leaving with the focus shows Focused", {Active, Focus, In, Leave}, {N, F, T, F}, 3, 0, 1},
      {"a double click after a right press does nothing", {Active, In, Down(kRightButton), Dbl}, {N, T, T, T}, 1, 0,
       1},
  };
  for (const Rule &rule : rules) {
    Rig rig;
    rig.Load();
    const int paintsBefore = rig.window.shapes;
    std::vector<std::int32_t> states;
    for (const Step &step : rule.steps) step(rig), states.push_back(rig.State());
    EXPECT_EQ(states, rule.states) << rule.name;
    EXPECT_EQ(rig.window.shapes - paintsBefore, rule.paints) << rule.name;
    EXPECT_EQ(rig.clicks, rule.clicks) << rule.name;
    EXPECT_EQ(rig.armedClicks, 0) << rule.name << ": the press is over before Click runs";
    EXPECT_EQ(rig.moves, rule.moves) << rule.name;
  }
}

TEST(XpButtonRules, EventsAndRequestsBesideTheLook) {
  Rig rig;
  rig.Load();
  for (const Step &step : {Active, In, In, LDown, Up, Dbl, Down(kMiddleButton), Dbl, Out}) step(rig);
  EXPECT_EQ(rig.dblClicks, 1);
  EXPECT_EQ(rig.window.leaveRequests, 2);  // renewed on every move inside
  for (ButtonKey key : {ButtonKey::Left, ButtonKey::Up, ButtonKey::Right, ButtonKey::Down}) rig.button.OnKeyDown(key);
  for (const Step &step : {Access, Space, Inactive}) step(rig);
  const XpButtonFields &f = rig.button.Fields();
  EXPECT_FALSE(f.FormActive || f.Armed || f.SpaceHeld || f.MouseHeld);
  EXPECT_TRUE(f.HasFocus);
  EXPECT_EQ(rig.site.log, (std::vector<std::string>{"activate 1", "click", "shift+tab", "shift+tab", "tab", "tab",
                                                    "do events", "click", "activate 0"}));
}

// -- Hooks, size, persistence ------------------------------------------------------

TEST(XpButtonLifecycle, LoadHooksAfterThePhaseOnlyAtRunTimeAndEndUnhooks) {
  struct Case {
    bool userMode, mdiChild;
    std::optional<HookedMessage> containerMessage;  // none: not hooked
  };
  for (const Case &c : {Case{true, false, HookedMessage::Activated}, Case{true, true, HookedMessage::NcActivated},
                        Case{false, false, std::nullopt}}) {
    Rig rig;
    rig.site.userMode = c.userMode, rig.site.mdiChild = c.mdiChild;
    rig.Load();
    EXPECT_EQ(rig.button.Fields().ContainerWnd, kContainer);
    const HookRecord *own = rig.hooks.Record(kOwnWindow), *container = rig.hooks.Record(kContainer);
    if (!c.containerMessage) {
      EXPECT_TRUE(own == nullptr && container == nullptr);
      continue;
    }
    ASSERT_TRUE(own && container);
    const auto code = [&](HookedMessage m) { return static_cast<std::int32_t>(rig.hooks.CodeOf(m)); };
    EXPECT_EQ(own->afterList, std::vector<std::int32_t>{code(HookedMessage::PointerLeft)});
    EXPECT_EQ(container->afterList, std::vector<std::int32_t>{code(*c.containerMessage)});
    // Seen in both phases, the activation still acts once.
    rig.hooks.AddHookMessage(kContainer, code(*c.containerMessage), kHookBoth);
    rig.Hooked(kContainer, *c.containerMessage, 1);
    EXPECT_EQ(rig.site.log, std::vector<std::string>{"activate 1"});
    rig.button.End();
    EXPECT_TRUE(rig.hooks.Record(kOwnWindow) == nullptr && rig.hooks.Record(kContainer) == nullptr);
  }
}

TEST(XpButtonLifecycle, ResizeKeepsAHundredTwipsAndRepaintsOnceAtTheCorrectedSize) {
  struct Case {
    int dpi, width, height, correctedWidth, correctedHeight;
  };
  // 100 twips are 6.67 pixels at 96 DPI, 8.33 at 120 and exactly 5 at 72,
  // where 101 would take 6 (screen_units_test has the other DPIs).
  const Case cases[] = {{96, 40, 23, 40, 23}, {96, 6, 23, 7, 23}, {96, 40, 6, 40, 7}, {96, 2, 3, 7, 7},
                        {120, 8, 9, 9, 9},    {72, 5, 4, 5, 5}};
  for (const Case &c : cases) {
    Rig rig;
    rig.site.dpi = c.dpi;
    const int paints = rig.Load().window.shapes;
    rig.window.SetPixelSize(c.width, c.height);
    rig.button.Resize();
    const auto corrected = std::pair(c.correctedWidth, c.correctedHeight);
    EXPECT_EQ(std::pair(rig.window.image->Width(), rig.window.image->Height()), corrected);
    EXPECT_EQ(std::pair(rig.window.shapeWidth - 1, rig.window.shapeHeight - 1), corrected);
    EXPECT_EQ(rig.window.shapes, paints + 1) << c.width << "x" << c.height;
  }
  Rig unloaded;
  unloaded.window.SetPixelSize(3, 3);
  unloaded.button.Resize();
  EXPECT_EQ(unloaded.window.image->Width(), 7);
  EXPECT_EQ(unloaded.window.shapes, 0);
}

struct RecordingBag : MemoryPropertyBag {
  mutable std::vector<std::wstring> reads;
  std::optional<std::wstring> Read(const std::wstring &key) const override {
    return reads.push_back(key), MemoryPropertyBag::Read(key);
  }
};

TEST(XpButtonLifecycle, SavesWhatDiffersFromTheDefaultsAndLoadsItBack) {
  MemoryPropertyBag bag;
  Rig().Load().button.WriteProperties(bag);
  EXPECT_TRUE(bag.WriteOrder().empty());

  Rig rig;
  FontSpec bold;
  bold.weight = 700;
  rig.Load().button.SetFont(bold);
  rig.button.SetFocusRect(false);
  rig.button.SetForeColor(Rgb(0, 0, 255));
  rig.button.SetEnabled(false);
  rig.button.SetCaption(L"&Browse...");
  rig.button.WriteProperties(bag);
  EXPECT_EQ(bag.WriteOrder(), (std::vector<std::wstring>{L"Caption", L"Enabled", L"ForeColor", L"Font", L"FocusRect"}));
  EXPECT_EQ(bag.Read(L"Enabled"), L"0");
  EXPECT_EQ(bag.Read(L"ForeColor"), L"16711680");

  RecordingBag again;
  for (const std::wstring &key : bag.WriteOrder()) again.Write(key, *bag.Read(key));
  Rig loaded;
  loaded.button.ReadProperties(again);
  EXPECT_EQ(again.reads, (std::vector<std::wstring>{L"Caption", L"ForeColor", L"Font", L"FocusRect", L"Enabled"}));
  EXPECT_EQ(loaded.button.Caption(), L"&Browse...");
  EXPECT_EQ(loaded.button.ForeColor(), Rgb(0, 0, 255));
  EXPECT_EQ(loaded.button.Font(), bold);
  EXPECT_FALSE(loaded.button.FocusRect() || loaded.button.Enabled());
  EXPECT_EQ(loaded.State(), XpButton::Disabled);

  // Unreadable values read as their defaults; an unreadable font keeps the current one.
  loaded.button.ReadProperties(MemoryPropertyBag{{L"ForeColor", L"blue"}, {L"Font", L"Arial"}, {L"Enabled", L""}});
  EXPECT_EQ(loaded.button.Caption(), L"&OK");
  EXPECT_EQ(loaded.button.ForeColor(), 0u);
  EXPECT_EQ(loaded.button.Font(), bold);
  EXPECT_TRUE(loaded.button.Enabled());

  // -1, the stored spelling of true, reads as true.
  loaded.button.ReadProperties(MemoryPropertyBag{{L"Enabled", L"-1"}, {L"FocusRect", L"-1"}});
  EXPECT_TRUE(loaded.button.Enabled() && loaded.button.FocusRect());
}

}  // namespace
