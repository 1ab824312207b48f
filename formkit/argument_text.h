// The argument text of a program's command line: everything after the
// program's own path (quoted or not) and the blanks that follow it.
#pragma once

#include <string>
#include <string_view>

std::wstring ArgumentText(std::wstring_view commandLine);
