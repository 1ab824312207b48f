// The renderer's window: one borderless popup at the top left, an OpenGL
// context on its own DC, and a message loop that draws a frame whenever the
// queue runs empty and the frame is due: frames are paced to the display, by
// the swap where it waits for the retrace and by a wait on the queue where it
// does not. Escape ends the program; Space toggles bright fog.
#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "frame_pacing.h"
#include "renderer_state.h"
#include "shared_names.h"
#include "window_size.h"

float ElapsedSeconds = 0.0f;
int WindowWidth = 0;
int WindowHeight = 0;
bool BrightFog = false;
FpsTitle FrameRateTitle;

namespace {

HWND Window;
HDC Dc;
HGLRC Rc;
bool LoopRunning = false;
LARGE_INTEGER StartCount;
LARGE_INTEGER Frequency;
FramePacer Pacer;

#ifdef BRUMALIS_FREE_RUN
// Built only for the frame-rate benchmark: frames as fast as the loop turns,
// as the renderer drew before it was paced, to compare with.
constexpr bool kPaced = false;
#else
constexpr bool kPaced = true;
#endif

double SecondsSinceStart() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - StartCount.QuadPart) / static_cast<double>(Frequency.QuadPart);
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

// The reader returns UINT: a stored -1 or 4294967295 comes back as -1 here.
int ReadSize(const char *key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(kSectionAnsi, key, fallback, kSettingsFileAnsi));
}

}  // namespace

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
  static PIXELFORMATDESCRIPTOR request;
  static bool filled = false;
  if (!filled) {
    filled = true;
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, BITSPIXEL));
    request.cDepthBits = 16;
    request.iLayerType = PFD_MAIN_PLANE;
  }
  const int index = ChoosePixelFormat(dc, &request);
  DebugPrintf("PixelFormat Selected: %d\nBPP: %d\n", index, GetDeviceCaps(dc, BITSPIXEL));
  return index != 0 && SetPixelFormat(dc, index, &request);
}

void UpdateFpsTitle() {
  char title[256];
  if (FrameRateTitle.Update(ElapsedSeconds, title, sizeof title)) SetWindowTextA(Window, title);
}

LRESULT CALLBACK RendererWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // The class owns its DC, so it is taken once and never released.
      Dc = GetDC(hwnd);
      // Without a current context nothing would ever reach the screen while the
      // cursor stays hidden: refusing the window ends the program instead.
      if (!SetupPixelFormat(Dc)) return -1;
      Rc = wglCreateContext(Dc);
      if (!Rc) return -1;
      if (!wglMakeCurrent(Dc, Rc)) {
        wglDeleteContext(Rc);
        Rc = nullptr;
        return -1;
      }
      if (kPaced) AskForSwapInterval();
      return 0;
    case WM_DESTROY:
      // A refused creation may come here too, with no context to release.
      if (Rc) {
        wglMakeCurrent(Dc, nullptr);
        wglDeleteContext(Rc);
        Rc = nullptr;
      }
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      WindowWidth = LOWORD(lParam);
      WindowHeight = HIWORD(lParam);
      ResizeScene(WindowWidth, WindowHeight);
      return 0;
    case WM_PAINT:
      // Until the loop runs the window stays invalid and nothing is drawn.
      if (LoopRunning) {
        const double now = SecondsSinceStart();
        FrameStarted(Pacer, now);
        ElapsedSeconds = static_cast<float>(now);
        RenderFrame();
        SwapBuffers(Dc);
        ValidateRect(hwnd, nullptr);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(hwnd);
      } else if (wParam == VK_SPACE) {
        BrightFog = !BrightFog;  // the next frame draws with the other fog
      }
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  LoopRunning = false;
  ShowCursor(FALSE);

  // The window may cover the whole desktop but no more; what the GL context
  // allows is known only once the window has one.
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int width =
      FitWindowSide(ReadSize(kKeyWidthAnsi, kDefaultWindowWidth), kDefaultWindowWidth, screenWidth, 0);
  const int height =
      FitWindowSide(ReadSize(kKeyHeightAnsi, kDefaultWindowHeight), kDefaultWindowHeight, screenHeight, 0);
  WindowWidth = width;
  WindowHeight = height;

  WNDCLASSA wc = {};
  wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = RendererWndProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kRendererClass;
  if (!RegisterClassA(&wc)) return 0;

  Window = CreateWindowExA(0, kRendererClass, kRendererClass, WS_POPUP, 0, 0, WindowWidth,
                           WindowHeight, nullptr, nullptr, hInstance, nullptr);
  if (!Window) return 0;  // also when WM_CREATE found no GL context

  int glWidth = 0;
  int glHeight = 0;
  MaxViewportSize(&glWidth, &glHeight);
  const int fitWidth = FitWindowSide(width, kDefaultWindowWidth, screenWidth, glWidth);
  const int fitHeight = FitWindowSide(height, kDefaultWindowHeight, screenHeight, glHeight);
  if (fitWidth != width || fitHeight != height) {
    // Shrunk while still hidden, so the first frame already has the final size;
    // WM_SIZE brings WindowWidth and WindowHeight along.
    SetWindowPos(Window, nullptr, 0, 0, fitWidth, fitHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Window, SW_SHOW);
  UpdateWindow(Window);

  // Time zero comes before the scene set-up, which therefore counts into the
  // first frame's elapsed time.
  QueryPerformanceFrequency(&Frequency);
  QueryPerformanceCounter(&StartCount);
  if (!InitScene()) return 0;

  Pacer.period = FramePeriodFor(DisplayRefreshHz());
  // Waits of a few milliseconds need a system timer finer than its default.
  timeBeginPeriod(1);
  LoopRunning = true;
  // An empty queue leaves msg untouched, so it starts as no message at all.
  MSG msg = {};
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (msg.message != WM_QUIT) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    const unsigned waitMs = kPaced ? FrameWaitMs(Pacer, SecondsSinceStart()) : 0;
    if (waitMs > 0) {
      // Any message, or one already queued, ends the wait at once: keys
      // answer while the loop waits for the next frame.
      MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else {
      InvalidateRect(Window, nullptr, FALSE);
    }
  }
  timeEndPeriod(1);
  LoopRunning = false;
  ShowCursor(TRUE);
  return static_cast<int>(msg.wParam);
}
