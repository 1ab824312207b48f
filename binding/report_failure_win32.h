// Failures the user is not told of: a window, class, timer, hook or image
// the program goes on without. Each is written to the debugger output, where
// a debugger or Wine's +debugstr channel shows it.
#pragma once

namespace binding {

// Writes "Brumalis: <what> failed (last error N)", `what` formatted as
// printf formats. Call it right after the failing call, before anything
// else can change the last error.
void ReportFailure(const char *what, ...) __attribute__((format(printf, 1, 2)));

}  // namespace binding
