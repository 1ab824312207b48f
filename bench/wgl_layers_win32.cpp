// The frame-rate benchmark's yardstick: the least WGL program that draws what
// a renderer frame draws (the gradient plane overhead and two blended,
// fogged, scrolling 128 x 128 texture layers), as fast as its loop turns, with
// no texture work. Its title carries its frame rate, as the renderer's does.
//
//   wgl-layers.exe WIDTH HEIGHT
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr char kTitle[] = "wgl-layers";

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) DestroyWindow(hwnd);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Layer(GLuint texture, float weight, float s, float t) {
  static const float kCorners[4][4] = {
      {0, 0, 20, 20}, {0, 2, 20, -20}, {2, 2, -20, -20}, {2, 0, -20, 20}};  // u, v, x, y
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(0.7f, 0.7f, 0.7f, weight);
  glBegin(GL_QUADS);
  for (const auto &c : kCorners) {
    glTexCoord2f(c[0] - s, c[1] - t);
    glVertex3f(c[2], c[3], 2.0f);
  }
  glEnd();
}

void Frame(const GLuint textures[2], float seconds) {
  static const float kRing[5][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}, {1, 1}};
  glClear(GL_COLOR_BUFFER_BIT);
  glBegin(GL_TRIANGLE_FAN);
  glColor3f(0.23f, 0.37f, 0.57f);
  glVertex3f(0, 0, 2);
  glColor3f(0.53f, 0.67f, 0.97f);
  for (const auto &r : kRing) glVertex3f(6 * r[0], 6 * r[1], 2);
  glEnd();
  glBegin(GL_QUAD_STRIP);
  for (const auto &r : kRing) {
    glColor3f(0.53f, 0.67f, 0.97f);
    glVertex3f(6 * r[0], 6 * r[1], 2);
    glColor3f(0.9f, 0.95f, 1.0f);
    glVertex3f(20 * r[0], 20 * r[1], 2);
  }
  glEnd();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_FOG);
  const float fade = seconds / 3.0f - static_cast<int>(seconds / 3.0f);
  Layer(textures[0], 1.0f - fade, seconds * 0.0125f, seconds * -0.008333334f);
  Layer(textures[1], fade, seconds * 0.0125f, seconds * -0.008333334f);
  glDisable(GL_FOG);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int width = __argc > 2 ? std::atoi(__argv[1]) : 320;
  const int height = __argc > 2 ? std::atoi(__argv[2]) : 240;

  WNDCLASSA wc = {};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTitle;
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, kTitle, kTitle, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, BITSPIXEL));
  pfd.cDepthBits = 16;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
  wglMakeCurrent(dc, wglCreateContext(dc));

  // Two textures of cloud-like bytes; what they hold does not change the cost.
  GLuint textures[2];
  glGenTextures(2, textures);
  std::vector<unsigned char> texels(128 * 128 * 4);
  for (int i = 0; i < 2; ++i) {
    unsigned state = 1 + i;
    for (auto &b : texels) b = static_cast<unsigned char>((state = state * 214013u + 2531011u) >> 24);
    glBindTexture(GL_TEXTURE_2D, textures[i]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  gluPerspective(80.0, static_cast<double>(width) / height, 1.0, 150.0);
  glMatrixMode(GL_MODELVIEW);
  gluLookAt(0, 0, 0, 9.75, 0, 10, 0, 0, 1);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, 0.0f);
  glFogf(GL_FOG_END, 20.0f);

  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  double lastTitle = 0.0;
  int frames = 0;
  MSG msg = {};
  while (msg.message != WM_QUIT) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
      continue;
    }
    QueryPerformanceCounter(&now);
    const double seconds = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
    if (seconds - lastTitle > 3.0) {
      char title[64];
      std::snprintf(title, sizeof title, "%s - %3.1f fps", kTitle, frames / (seconds - lastTitle));
      SetWindowTextA(window, title);
      frames = 0;
      lastTitle = seconds;
    }
    Frame(textures, static_cast<float>(seconds));
    SwapBuffers(dc);
    ++frames;
  }
  return 0;
}
