// Texts of the program are wide strings; the platform calls take them in the
// ANSI code page (932 on the systems the program is made for).
#pragma once

#include <cstddef>
#include <string>

std::string ToAnsi(const std::wstring &text);
std::wstring FromAnsi(const std::string &text);

// Whether the text converts to the ANSI code page and back unchanged (no
// character replaced or approximated), and how many bytes it takes there.
bool RoundTripsThroughAnsi(const std::wstring &text, std::size_t *bytes);

// A path's short (8.3) and long forms, from the file system; empty where the
// file is not there or the volume keeps no short names.
std::wstring ShortPathOf(const std::wstring &path);
std::wstring LongPathOf(const std::wstring &path);
