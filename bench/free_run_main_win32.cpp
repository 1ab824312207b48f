// The renderer as it ran before its frames were paced to the display, for the
// frame-rate benchmark to compare with. Not shipped.
#include "renderer_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunRenderer(FramePacing::FreeRun);
}
