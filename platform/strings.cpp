#include "platform/strings.h"

namespace os {

std::wstring BeforeFirstNul(std::wstring_view buffer) {
    return std::wstring(buffer.substr(0, buffer.find(L'\0')));
}

std::wstring ToDecimal(std::int64_t value) {
    std::wstring digits;
    // Work on the magnitude as unsigned so the most negative value has no overflow.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits.insert(digits.begin(), L'-');
    return digits;
}

}  // namespace os
