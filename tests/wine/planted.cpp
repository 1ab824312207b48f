// A library that someone left in a download folder under the name of a
// system library (copied as opengl32.dll, winmm.dll, ...): loaded into a
// process, it notes its own path in C:\planted-loaded.txt, one line each
// time, and does nothing else. It exports nothing a program asks for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char line[MAX_PATH + 2];
  const DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
  line[length] = '\r';
  line[length + 1] = '\n';
  const HANDLE mark = CreateFileA("C:\\planted-loaded.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (mark != INVALID_HANDLE_VALUE) {
    WriteFile(mark, line, length + 2, &written, nullptr);
    CloseHandle(mark);
  }
  return TRUE;
}
