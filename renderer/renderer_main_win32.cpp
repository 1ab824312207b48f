#include "renderer_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return RunRenderer(instance, FramePacing::ToDisplay);
}
