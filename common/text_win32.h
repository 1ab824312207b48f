// Texts of the program are wide strings; the platform calls take them in the
// ANSI code page (932 on the systems the program is made for).
#pragma once

#include <string>

std::string ToAnsi(const std::wstring &text);
std::wstring FromAnsi(const std::string &text);
