// Failures the user is not told of: a window, class, timer, hook or image
// the program goes on without. Each is written to the debugger output, where
// a debugger or Wine's +debugstr channel shows it.
#pragma once

#include <windows.h>

#include <string>

namespace formkit {

// Writes "Brumalis: <what> failed (last error N)". Call it right after the
// failing call, before anything else can change the last error.
inline void ReportFailure(const std::string &what) {
  const DWORD error = GetLastError();
  OutputDebugStringA(("Brumalis: " + what + " failed (last error " + std::to_string(error) + ")\n").c_str());
}

}  // namespace formkit
