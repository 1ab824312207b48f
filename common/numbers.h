// Number reading and writing of the screensaver program.
//
// Two readers, as the settings file and the command line need them:
//   ParseNumber   the whole text must be a number (blanks around it allowed);
//                 "2.9", " -1.5 ", "1e3" are numbers, "abc", "2x", "" are not.
//   LeadingNumber reads as much of a number as the text starts with, after
//                 leading blanks; "1234x" gives 1234, "x" or "" give 0.
// Reals become integers by rounding to the nearest, ties to even, or by
// flooring where the settings ask for the integer part. Numbers are written as
// decimal text with one leading blank when not negative (" 1024", "-5").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::optional<double> ParseNumber(std::wstring_view text);
double LeadingNumber(std::wstring_view text);

// Nearest integer, ties to even; nothing when it does not fit the range.
std::optional<std::int32_t> RoundToInt32(double value);
std::optional<std::int16_t> RoundToInt16(double value);

// Nearest integer, ties to even, as 32 bits: -2147483648 to 4294967295 fit,
// and a negative value gives its two's complement (-1 is 0xFFFFFFFF).
std::optional<std::uint32_t> RoundToBits32(double value);

// The integer part, rounded toward minus infinity; nothing when it does not fit.
std::optional<std::int16_t> FloorToInt16(double value);

std::wstring FormatNumber(long value);
