#pragma once
// Small portable text helpers shared by the logic and the Win32 side.
#include <cstdint>
#include <string>
#include <string_view>

namespace os {

// Platform calls write into fixed buffers; what counts is the text before the first NUL.
std::wstring BeforeFirstNul(std::wstring_view buffer);

// A system message's text, as FormatMessage gives it with its inserts left in, made ready to be
// filled with one argument, a file's name: %1 (plain or as text) stays, every other insert
// goes, so the text never shows a raw insert and never asks for an argument it is not given.
// The escapes (%%, %n, %0, ...) stay for FormatMessage.
std::wstring KeepFileInsert(std::wstring_view text);

// Decimal text of an unsigned or signed number, without locale or fill characters.
std::wstring ToDecimal(std::int64_t value);

}  // namespace os
