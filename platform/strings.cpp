#include "platform/strings.h"

namespace os {

std::wstring BeforeFirstNul(std::wstring_view buffer) {
    return std::wstring(buffer.substr(0, buffer.find(L'\0')));
}

std::wstring ToDecimal(std::int64_t value) {
    std::wstring digits;
    // Work on the magnitude as unsigned so the most negative value has no overflow. Divided
    // by ten 16 bits at a time (a remainder below ten and 16 bits fit in 32): the 32-bit
    // product then needs none of the compiler's 64-bit division helpers.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
    do {
        std::uint32_t remainder = 0;
        std::uint64_t quotient = 0;
        for (int shift = 48; shift >= 0; shift -= 16) {
            const auto part = (remainder << 16) | static_cast<std::uint32_t>((magnitude >> shift) & 0xFFFF);
            quotient |= static_cast<std::uint64_t>(part / 10) << shift;
            remainder = part % 10;
        }
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + remainder));
        magnitude = quotient;
    } while (magnitude != 0);
    if (value < 0) digits.insert(digits.begin(), L'-');
    return digits;
}

}  // namespace os
