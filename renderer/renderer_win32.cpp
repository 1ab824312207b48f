// The renderer's window: an OpenGL context on the window's own DC, and a
// message loop that draws a frame whenever the queue runs empty and the frame
// is due. Paced frames keep to the display, by the swap where it waits for
// the retrace and by a wait on the queue where it does not. While nobody can
// see the window (display off, session locked or away, window minimised) the
// loop rests on the queue with no time-out at all. Escape ends the program;
// Space toggles bright fog. The window counts the frames and shows the rate
// in its title; the scene only draws.
//
// Every other monitor gets a window of its own, drawn in the same frame from
// the same clouds: each has a context that shares the main context's
// textures, so the texture work is done once a frame, and only the main
// window's swap waits for the retrace, so that more monitors never mean
// fewer frames. A window whose context cannot be made, or fails, stays
// black, as the main window does where GL cannot be had at all.
#include "renderer_win32.h"

#include <wtsapi32.h>

#include <cstdarg>
#include <cstdio>

#include "display_state_win32.h"
#include "frame_pacing.h"
#include "monitor_views.h"
#include "presence.h"
#include "scene_gl.h"
#include "shared_names.h"
#include "sky_scene.h"
#include "window_size.h"
#include "window_win32.h"

namespace {

struct Size {
  int width, height;
};

void DebugPrintf(const char *format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  OutputDebugStringA(buffer);
}

// False when no pixel format could be chosen or set on the DC. The main
// window's choice goes to the debugger output.
bool SetupPixelFormat(HDC dc, bool report) {
  PIXELFORMATDESCRIPTOR request = {};
  request.nSize = sizeof request;
  request.nVersion = 1;
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, BITSPIXEL));
  request.cDepthBits = 16;
  request.iLayerType = PFD_MAIN_PLANE;
  const int index = ChoosePixelFormat(dc, &request);
  if (report) DebugPrintf("PixelFormat Selected: %d\nBPP: %d\n", index, GetDeviceCaps(dc, BITSPIXEL));
  return index != 0 && SetPixelFormat(dc, index, &request);
}

// Swap interval 1: where the driver honours it, the swap waits for the
// retrace; 0: it never does. Asked of the current context's window.
void AskForSwapInterval(int interval) {
  using SwapIntervalProc = BOOL(WINAPI *)(int);
  // Through void (*)(), which converts to any function type without a warning.
  const auto setInterval = reinterpret_cast<SwapIntervalProc>(
      reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
  if (setInterval) setInterval(interval);
}

// The primary display's refresh rate in hertz; 0 or 1 where it does not know.
int DisplayRefreshHz() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  return EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? static_cast<int>(mode.dmDisplayFrequency)
                                                                     : 0;
}

// The key's text, as GetPrivateProfileIntA would read its number from it.
// Through a buffer of its own rather than a ProfileStore, whose strings would
// link the C++ runtime's exception support into the renderer.
int ReadSize(const char *key, int fallback) {
  char text[kProfileIntBytes] = "";
  GetPrivateProfileStringA(kSectionAnsi, key, "", text, sizeof text, kSettingsFileAnsi);
  return StoredWindowSide(text, fallback);
}

// The window size the settings ask for, cut to the desktop and, once a
// context tells it (glLimit), to what GL can draw into.
Size FittedSize(Size stored, Size glLimit) {
  return {FitWindowSide(stored.width, kDefaultWindowWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN), glLimit.width),
          FitWindowSide(stored.height, kDefaultWindowHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN),
                        glLimit.height)};
}

// Seconds since Start, from the performance counter.
class Clock {
 public:
  void Start() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Seconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER start_ = {};
  LARGE_INTEGER frequency_ = {};
};

// The renderer's own class: ANSI, with a DC of its own, redrawn whole on
// every size change. Black where GL draws nothing.
const binding::WindowClass kRendererWindowClass = {BRUMALIS_RENDERER_CLASS, CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
                                                   true, BLACK_BRUSH};
// The other monitors' windows: another class, which the host's watch does
// not take for the renderer's window.
const binding::WindowClass kMonitorWindowClass = {BRUMALIS_MONITOR_VIEW_CLASS, CS_OWNDC, true, BLACK_BRUSH};

struct MonitorList {
  Monitor monitor[kMaxMonitors];
  int count = 0;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto &list = *reinterpret_cast<MonitorList *>(data);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (list.count < kMaxMonitors && GetMonitorInfoA(monitor, &info)) {
    const RECT &r = info.rcMonitor;
    list.monitor[list.count++] = {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
  }
  return TRUE;
}

// A window over a monitor beside the main one. It never takes the focus;
// should it get a key or a close request anyway, it hands them to the main
// window, later, so that the main window never ends this one inside its own
// message. It stays above the full-screen run's black covers.
class MonitorWindow : public binding::Window {
 public:
  MonitorWindow() = default;
  ~MonitorWindow() override { Close(); }

  // Makes and shows the window over the view's area, with a context of its
  // own that shares the textures of the main window's, set up for the
  // view; without one the window is black. Leaves no context current.
  void Open(HWND mainWindow, const MonitorView &view, HGLRC main, const Scene &scene, bool paced);
  // The context goes while its window still stands, as the main window's does.
  void Close();
  // Draws the frame into this window, making its context current first
  // unless it is; a context that cannot be made current any more is let go,
  // and the window turns black.
  void Draw(const Scene &scene, const FrameInput &frame, float fade, bool current);
  // Shows what Draw drew (a swap needs no context current).
  void Show();
  HGLRC Context() const { return rc_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CreateContext(HGLRC main, const Scene &scene, bool paced);
  void ReleaseContext();

  HWND main_ = nullptr;
  MonitorView view_ = {};
  HDC dc_ = nullptr;
  HGLRC rc_ = nullptr;
};

class RendererWindow : public binding::Window {
 public:
  explicit RendererWindow(FramePacing pacing) : paced_(pacing == FramePacing::ToDisplay) {}

  // The hidden window, with its GL context current where one could be made;
  // false when the window could not be.
  bool Create(Size size);
  // Shrinks the hidden window to what the context can draw into, then shows it.
  void FitAndShow(Size stored);
  void InitScene();
  // A window for each piece of the other monitors, anew.
  void ShowOtherMonitors();
  int RunLoop();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CreateContext();
  void ReleaseContext();
  void Close();
  void ListenForPresence();
  void StopListening();
  void DrawFrame();

  const bool paced_;
  HDC dc_ = nullptr;
  HGLRC rc_ = nullptr;
  Size size_ = {0, 0};  // the client size, from WM_SIZE
  Size sceneSize_ = {0, 0};  // the size the projection was made for
  bool loopRunning_ = false;
  bool brightFog_ = false;
  Presence presence_;
  HPOWERNOTIFY powerNotify_ = nullptr;
  bool resting_ = false;
  double restStart_ = 0.0;
  Clock clock_;
  FramePacer pacer_;
  FpsTitle title_;
  Scene scene_;
  // The windows over the other monitors, the first otherCount_ of them open.
  MonitorWindow others_[kMaxViews];
  int otherCount_ = 0;
  void CloseOthers();
};

void MonitorWindow::Close() {
  ReleaseContext();
  Release();
}

void MonitorWindow::Open(HWND mainWindow, const MonitorView &view, HGLRC main, const Scene &scene, bool paced) {
  main_ = mainWindow;
  view_ = view;
  const PixelRect &a = view_.area;
  // Top-most, created after the run's covers, so above them; a tool window
  // has no taskbar button.
  if (!CreateBound(kMonitorWindowClass, WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, "", a.left,
                   a.top, a.right - a.left, a.bottom - a.top, nullptr))
    return;
  if (main && !CreateContext(main, scene, paced)) ReleaseContext();
  wglMakeCurrent(nullptr, nullptr);
  ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(Hwnd());
}

bool MonitorWindow::CreateContext(HGLRC main, const Scene &scene, bool paced) {
  dc_ = GetDC(Hwnd());
  if (!SetupPixelFormat(dc_, false)) return false;
  rc_ = wglCreateContext(dc_);
  // Sharing is asked before the context is first current, as it must be.
  if (!rc_ || !wglShareLists(main, rc_) || !wglMakeCurrent(dc_, rc_)) return false;
  // Only the main window's swap waits for the retrace.
  if (paced) AskForSwapInterval(0);
  scene.InitView(view_.frustum, view_.area.right - view_.area.left, view_.area.bottom - view_.area.top);
  return true;
}

void MonitorWindow::ReleaseContext() {
  if (!rc_) return;
  if (wglGetCurrentContext() == rc_) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(rc_);
  rc_ = nullptr;
}

void MonitorWindow::Draw(const Scene &scene, const FrameInput &frame, float fade, bool current) {
  if (!rc_) return;
  if (!current && !wglMakeCurrent(dc_, rc_)) {
    ReleaseContext();
    InvalidateRect(Hwnd(), nullptr, TRUE);
    return;
  }
  scene.Draw(frame, fade);
}

void MonitorWindow::Show() {
  if (rc_) SwapBuffers(dc_);
}

LRESULT MonitorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click leaves the keyboard with the main window
    case WM_ERASEBKGND:
      // GL paints every pixel; without a context the class's black does.
      return rc_ ? 1 : DefaultHandling(message, wParam, lParam);
    case WM_PAINT:
      // The frames come with the main window's.
      if (!rc_) return DefaultHandling(message, wParam, lParam);
      ValidateRect(Hwnd(), nullptr);
      return 0;
    case WM_KEYDOWN:
    case WM_CLOSE:
      PostMessageA(main_, message, wParam, lParam);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

bool RendererWindow::Create(Size size) {
  size_ = size;
  return CreateBound(kRendererWindowClass, 0, WS_POPUP, kRendererClass, 0, 0, size.width, size.height,
                                 nullptr);
}

void RendererWindow::FitAndShow(Size stored) {
  Size glLimit = {0, 0};
  if (rc_) MaxViewportSize(&glLimit.width, &glLimit.height);
  const Size fitted = FittedSize(stored, glLimit);
  if (fitted.width != size_.width || fitted.height != size_.height) {
    // Shrunk while still hidden, so the first frame already has the final
    // size; WM_SIZE brings size_ along.
    SetWindowPos(Hwnd(), nullptr, 0, 0, fitted.width, fitted.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Hwnd(), SW_SHOW);
  UpdateWindow(Hwnd());
}

void RendererWindow::InitScene() {
  // Time zero comes before the scene set-up, which therefore counts into the
  // first frame's elapsed time.
  clock_.Start();
  sceneSize_ = size_;
  if (rc_) scene_.Init(size_.width, size_.height, 0.0);
}

void RendererWindow::CloseOthers() {
  for (int i = 0; i < otherCount_; ++i) others_[i].Close();
  otherCount_ = 0;
}

void RendererWindow::ShowOtherMonitors() {
  CloseOthers();
  RECT window;
  if (!GetWindowRect(Hwnd(), &window)) return;
  const PixelRect primary = {window.left, window.top, window.left + sceneSize_.width,
                             window.top + sceneSize_.height};
  MonitorList monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const MonitorViews views = OtherMonitorViews(monitors.monitor, monitors.count, primary,
                                               PrimaryFrustum(sceneSize_.width, sceneSize_.height));
  for (otherCount_ = 0; otherCount_ < views.count; ++otherCount_)
    others_[otherCount_].Open(Hwnd(), views.view[otherCount_], rc_, scene_, paced_);
  if (rc_) wglMakeCurrent(dc_, rc_);
}

int RendererWindow::RunLoop() {
  pacer_.period = FramePeriodFor(DisplayRefreshHz());
  // Waits of a few milliseconds need a system timer finer than its default.
  timeBeginPeriod(1);
  loopRunning_ = true;
  // An empty queue leaves msg untouched, so it starts as no message at all.
  MSG msg = {};
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (msg.message != WM_QUIT) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (!rc_) {
      // Nothing can be drawn: the window is black, and the keys still work.
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (!presence_.ShouldDraw()) {
      // Nothing to draw until a message changes that: no time-out, no frame.
      if (!resting_) {
        resting_ = true;
        restStart_ = clock_.Seconds();
      }
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    const unsigned waitMs = paced_ && !resting_ ? FrameWaitMs(pacer_, clock_.Seconds()) : 0;
    // Any message, or one already queued, ends the wait at once: keys answer
    // while the loop waits for the next frame. A wait that runs out ends
    // less than a millisecond before the frame is due, which is on time: the
    // frame follows without another look at the queue.
    if (waitMs > 0 &&
        MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT)
      continue;
    if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
  }
  timeEndPeriod(1);
  loopRunning_ = false;
  return static_cast<int>(msg.wParam);
}

bool RendererWindow::CreateContext() {
  // The class owns its DC, so it is taken once and never released.
  dc_ = GetDC(Hwnd());
  if (!SetupPixelFormat(dc_, true)) return false;
  rc_ = wglCreateContext(dc_);
  if (!rc_) return false;
  if (!wglMakeCurrent(dc_, rc_)) {
    ReleaseContext();
    return false;
  }
  if (paced_) AskForSwapInterval(1);
  return true;
}

// Failing either only means drawing on while nobody looks.
void RendererWindow::ListenForPresence() {
  powerNotify_ = ListenForDisplayState(Hwnd(), presence_.display);
  WTSRegisterSessionNotification(Hwnd(), NOTIFY_FOR_THIS_SESSION);
}

void RendererWindow::StopListening() {
  StopListeningForDisplayState(powerNotify_);
  powerNotify_ = nullptr;
  WTSUnRegisterSessionNotification(Hwnd());
}

// A refused creation may come here too, with no context to release.
void RendererWindow::ReleaseContext() {
  if (!rc_) return;
  wglMakeCurrent(dc_, nullptr);
  wglDeleteContext(rc_);
  rc_ = nullptr;
}

// Escape, a close request and the end of the session all end here. The GL
// context is let go while its window still stands, the order the platform
// asks for: destroying a window that still has a current context may hold
// the thread inside the window's teardown for seconds.
void RendererWindow::Close() {
  CloseOthers();
  ReleaseContext();
  Release();
}

void RendererWindow::DrawFrame() {
  const double now = clock_.Seconds();
  const bool afterRest = resting_;
  if (afterRest) {
    // Back from a rest: the rate counts only time spent drawing, and the
    // schedule starts afresh with this frame. The scene jumps to the present.
    resting_ = false;
    title_.Rested(now - restStart_);
    RestartPacing(pacer_);
  }
  FrameStarted(pacer_, now);
  char title[256];
  if (title_.Update(now, title, sizeof title)) SetWindowTextA(Hwnd(), title);
  const FrameInput frame = {now, brightFog_, afterRest};
  // Making a context current costs a good part of a frame, so each window's
  // is made current once: the window whose context the last frame left
  // current draws first, then the others in turn, and the clouds are built
  // in the first one's context, since all share the textures.
  const HGLRC current = wglGetCurrentContext();
  const int count = otherCount_ + 1;
  int first = 0;
  for (int i = 0; i < otherCount_; ++i) {
    if (others_[i].Context() && others_[i].Context() == current) first = i + 1;
  }
  if (first == 0 && current != rc_) wglMakeCurrent(dc_, rc_);
  const float fade = scene_.Advance(frame);
  title_.FrameCount += 1;
  for (int k = 0; k < count; ++k) {
    const int which = (first + k) % count;
    if (which > 0) {
      others_[which - 1].Draw(scene_, frame, fade, k == 0);
      continue;
    }
    if (k > 0) wglMakeCurrent(dc_, rc_);
    scene_.Draw(frame, fade);
  }
  // All shown together, so that no monitor shows a frame the others are
  // past, the main window last: its swap may wait for the retrace.
  for (int i = 0; i < otherCount_; ++i) others_[i].Show();
  SwapBuffers(dc_);
}

LRESULT RendererWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Without a context the window stays black until Escape, as a screen
      // saver's should: the run goes on, its music too.
      if (!CreateContext()) ReleaseContext();
      ListenForPresence();
      return 0;
    case WM_DESTROY:
      StopListening();
      CloseOthers();
      ReleaseContext();
      PostQuitMessage(0);
      return 0;
    case WM_DISPLAYCHANGE:
      // Monitors came or went: the other windows follow the new layout.
      if (loopRunning_) ShowOtherMonitors();
      return DefaultHandling(message, wParam, lParam);
    case WM_ERASEBKGND:
      // GL paints every pixel; without a context the class's black does.
      return rc_ ? 1 : DefaultHandling(message, wParam, lParam);
    case WM_SIZE:
      presence_.Size(LOWORD(lParam), HIWORD(lParam), wParam == SIZE_MINIMIZED);
      if (wParam == SIZE_MINIMIZED) return 0;
      size_ = {LOWORD(lParam), HIWORD(lParam)};
      if (rc_) scene_.Resize(size_.width, size_.height);
      return 0;
    case WM_PAINT:
      // Black without a context. Until the loop runs the window stays
      // invalid and nothing is drawn.
      if (!rc_) return DefaultHandling(message, wParam, lParam);
      if (loopRunning_) {
        if (presence_.ShouldDraw()) DrawFrame();
        ValidateRect(Hwnd(), nullptr);
      }
      return 0;
    case WM_POWERBROADCAST:
      NoteDisplayMessage(presence_.display, message, wParam, lParam);
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      presence_.SessionChange(static_cast<unsigned>(wParam));
      return 0;
    case WM_SYSCOMMAND:
      // A monitor-power command, sent to the foreground window on some
      // systems; the default handling still passes it on.
      NoteDisplayMessage(presence_.display, message, wParam, lParam);
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ENDSESSION:
      if (wParam) Close();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        Close();
      } else if (wParam == VK_SPACE) {
        brightFog_ = !brightFog_;  // the next frame draws with the other fog
      }
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace

int RunRenderer(FramePacing pacing) {
  ShowCursor(FALSE);
  // The window may cover the whole desktop but no more; what the GL context
  // allows is known only once the window has one.
  const Size stored = {ReadSize(kKeyWidthAnsi, kDefaultWindowWidth), ReadSize(kKeyHeightAnsi, kDefaultWindowHeight)};
  // Static: the scene holds a whole slice of texels.
  static RendererWindow renderer(pacing);
  if (!renderer.Create(FittedSize(stored, {0, 0}))) return 0;
  renderer.FitAndShow(stored);
  renderer.InitScene();
  renderer.ShowOtherMonitors();
  const int exitCode = renderer.RunLoop();
  ShowCursor(TRUE);
  return exitCode;
}
