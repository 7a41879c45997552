#pragma once
// Conversion between the program's UTF-16 texts and the ANSI code page of the system,
// done at each call of an ANSI entry point.
#include <string>
#include <string_view>

namespace win32 {

// Lengths are explicit, so NULs inside a buffer survive both ways.
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace win32
