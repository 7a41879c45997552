#include "platform/win32/texts_win32.h"

#include <windows.h>

namespace win32 {

std::wstring Texts::Text(unsigned id) const {
    // With a length of 0 the loader hands out a pointer into the resource itself, so no
    // text is ever cut at a buffer size of ours.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id,
                                     reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace win32
