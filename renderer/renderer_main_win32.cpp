#include "renderer_win32.h"
#include "system_libraries_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadLibrariesFromTheSystemFolderOnly();
  return RunRenderer(FramePacing::ToDisplay);
}
