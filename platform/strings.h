#pragma once
// Small portable text helpers shared by the logic and the Win32 side.
#include <cstdint>
#include <string>
#include <string_view>

namespace os {

// Platform calls write into fixed buffers; what counts is the text before the first NUL.
std::wstring BeforeFirstNul(std::wstring_view buffer);

// Decimal text of an unsigned or signed number, without locale or fill characters.
std::wstring ToDecimal(std::int64_t value);

}  // namespace os
