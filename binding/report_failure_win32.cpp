#include "report_failure_win32.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace binding {

void ReportFailure(const char *what, ...) {
  const DWORD error = GetLastError();
  char text[256];
  va_list args;
  va_start(args, what);
  std::vsnprintf(text, sizeof text, what, args);
  va_end(args);
  char line[320];
  std::snprintf(line, sizeof line, "Brumalis: %s failed (last error %lu)\n", text, static_cast<unsigned long>(error));
  OutputDebugStringA(line);
}

}  // namespace binding
