#include "platform/strings.h"

namespace os {

std::wstring BeforeFirstNul(std::wstring_view buffer) {
    return std::wstring(buffer.substr(0, buffer.find(L'\0')));
}

std::wstring KeepFileInsert(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool insert = text[i] == L'%' && i + 1 < text.size() && text[i + 1] >= L'1' && text[i + 1] <= L'9';
        if (!insert) {
            out += text[i];
            // An escape keeps the character after its %: "%%1" is a percent sign and a 1.
            if (text[i] == L'%' && i + 1 < text.size()) out += text[++i];
            continue;
        }
        // %1 to %99, then an optional printf format between exclamation marks.
        std::size_t end = i + 2;
        if (end < text.size() && text[end] >= L'0' && text[end] <= L'9') ++end;
        const std::wstring_view number = text.substr(i + 1, end - i - 1);
        std::wstring_view format;
        if (end < text.size() && text[end] == L'!') {
            const std::size_t close = text.find(L'!', end + 1);
            if (close == std::wstring_view::npos) break;  // a broken insert: the rest is no text
            format = text.substr(end + 1, close - end - 1);
            end = close + 1;
        }
        if (number == L"1" && (format.empty() || format == L"s" || format == L"ls" || format == L"ws")) out += L"%1";
        i = end - 1;
    }
    return out;
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
