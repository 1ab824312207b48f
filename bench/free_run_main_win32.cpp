// The renderer as it ran before its frames were paced to the display, for the
// frame-rate benchmark to compare with. Not shipped.
#include "renderer_win32.h"
#include "system_libraries_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Also links the delay-import resolver that keeps the floating-point
  // argument registers: without it the toolchain's own one is taken, and the
  // first call of each GL function gets its arguments wrong.
  LoadLibrariesFromTheSystemFolderOnly();
  return RunRenderer(FramePacing::FreeRun);
}
