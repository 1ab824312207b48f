// Numbers of the settings file as the platform's profile reader
// (GetPrivateProfileInt) reads them. No strings are made here: the renderer
// links this without the C++ runtime's support for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A number as the platform's profile reader (GetPrivateProfileInt) takes it
// from a value's text, as the profile functions read it into a buffer of
// kProfileIntBytes, wrapped to 32 bits as it returns it. A blank or empty
// text (a missing key reads so) gives `fallback`. Otherwise blanks are
// skipped, then a sign, then a base prefix (0x, 0o or 0b, lower case; none
// means decimal), and the digits read as far as they go: "12ab" gives 12,
// "abc" and "-" give 0, "-5" gives 4294967291, "0x400" gives 1024. The
// narrow text is in the ANSI code page, whose double-byte characters never
// continue a number.
constexpr std::size_t kProfileIntBytes = 30;
std::uint32_t ProfileIntOf(std::string_view text, std::uint32_t fallback);
std::uint32_t ProfileIntOf(std::wstring_view text, std::uint32_t fallback);
