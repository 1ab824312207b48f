// The renderer's window: an OpenGL context on the window's own DC, and a
// message loop that draws a frame whenever the queue runs empty and the frame
// is due. Paced frames keep to the display, by the swap where it waits for
// the retrace and by a wait on the queue where it does not. While nobody can
// see the window (display off, session locked or away, window minimised) the
// loop rests on the queue with no time-out at all. Escape ends the program;
// Space toggles bright fog. The window counts the frames and shows the rate
// in its title; the scene only draws.
#include "renderer_win32.h"

#include <wtsapi32.h>

#include <cstdarg>
#include <cstdio>

#include "display_state_win32.h"
#include "frame_pacing.h"
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

// False when no pixel format could be chosen or set on the DC.
bool SetupPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR request = {};
  request.nSize = sizeof request;
  request.nVersion = 1;
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, BITSPIXEL));
  request.cDepthBits = 16;
  request.iLayerType = PFD_MAIN_PLANE;
  const int index = ChoosePixelFormat(dc, &request);
  DebugPrintf("PixelFormat Selected: %d\nBPP: %d\n", index, GetDeviceCaps(dc, BITSPIXEL));
  return index != 0 && SetPixelFormat(dc, index, &request);
}

// Swap interval 1: where the driver honours it, the swap waits for the retrace.
void AskForSwapInterval() {
  using SwapIntervalProc = BOOL(WINAPI *)(int);
  // Through void (*)(), which converts to any function type without a warning.
  const auto setInterval = reinterpret_cast<SwapIntervalProc>(
      reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
  if (setInterval) setInterval(1);
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
// every size change.
const binding::WindowClass kRendererWindowClass = {BRUMALIS_RENDERER_CLASS, CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
                                                   true};

class RendererWindow : public binding::Window {
 public:
  explicit RendererWindow(FramePacing pacing) : paced_(pacing == FramePacing::ToDisplay) {}

  // The hidden window with its GL context current; false when either failed.
  bool Create(Size size);
  // Shrinks the hidden window to what the context can draw into, then shows it.
  void FitAndShow(Size stored);
  void InitScene();
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
};

bool RendererWindow::Create(Size size) {
  size_ = size;
  // False also when WM_CREATE found no GL context.
  return CreateBound(kRendererWindowClass, 0, WS_POPUP, kRendererClass, 0, 0, size.width, size.height,
                                 nullptr);
}

void RendererWindow::FitAndShow(Size stored) {
  Size glLimit = {0, 0};
  MaxViewportSize(&glLimit.width, &glLimit.height);
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
  scene_.Init(size_.width, size_.height, 0.0);
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
    if (waitMs > 0) {
      // Any message, or one already queued, ends the wait at once: keys
      // answer while the loop waits for the next frame.
      MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else if (Hwnd()) {
      InvalidateRect(Hwnd(), nullptr, FALSE);
    }
  }
  timeEndPeriod(1);
  loopRunning_ = false;
  return static_cast<int>(msg.wParam);
}

bool RendererWindow::CreateContext() {
  // The class owns its DC, so it is taken once and never released.
  dc_ = GetDC(Hwnd());
  if (!SetupPixelFormat(dc_)) return false;
  rc_ = wglCreateContext(dc_);
  if (!rc_) return false;
  if (!wglMakeCurrent(dc_, rc_)) {
    ReleaseContext();
    return false;
  }
  if (paced_) AskForSwapInterval();
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
  scene_.Draw({now, brightFog_, afterRest});
  title_.FrameCount += 1;
  SwapBuffers(dc_);
}

LRESULT RendererWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Without a current context nothing would ever reach the screen while
      // the cursor stays hidden: refusing the window ends the program instead.
      if (!CreateContext()) return -1;
      ListenForPresence();
      return 0;
    case WM_DESTROY:
      StopListening();
      ReleaseContext();
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      presence_.Size(LOWORD(lParam), HIWORD(lParam), wParam == SIZE_MINIMIZED);
      if (wParam == SIZE_MINIMIZED) return 0;
      size_ = {LOWORD(lParam), HIWORD(lParam)};
      scene_.Resize(size_.width, size_.height);
      return 0;
    case WM_PAINT:
      // Until the loop runs the window stays invalid and nothing is drawn;
      // nor once the context has gone.
      if (loopRunning_ && rc_) {
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
  const int exitCode = renderer.RunLoop();
  ShowCursor(TRUE);
  return exitCode;
}
