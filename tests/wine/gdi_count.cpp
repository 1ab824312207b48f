// Loaded into another process by the probe's "resources" command: counts the
// GDI objects of the process it runs in. GetGuiResources answers 0 under Wine,
// so the count walks the handle table instead: a handle whose high word is 0
// names the table entry by its index alone.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD WINAPI CountGdiObjects(LPVOID) {
  DWORD count = 0;
  for (unsigned index = 1; index <= 0xFFFF; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(index))) != 0) ++count;
  return count;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
