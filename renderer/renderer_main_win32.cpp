#include "renderer_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunRenderer(FramePacing::ToDisplay);
}
