// Plain text on the clipboard, as UTF-16 so that every character survives.
#include <cstring>

#include "platform/win32/ui/form.h"

namespace win32 {

bool Form::SetClipboardText(const std::wstring& text) {
    if (!OpenClipboard(hwnd_)) return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    bool stored = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!stored) GlobalFree(memory);  // the clipboard owns it only once it took it
    }
    CloseClipboard();
    return stored;
}

}  // namespace win32
