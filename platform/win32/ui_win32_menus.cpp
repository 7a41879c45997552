// The form's message boxes beyond the plain one, its menus and the clipboard.
#include <cstring>

#include "platform/win32/ui_win32.h"

namespace win32 {

void Form::ShowWarning(const std::wstring& text, const std::wstring& title) {
    MessageBoxW(hwnd_, text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
}

void Form::Refresh() {
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool Form::UnloadPending() const { return closePending_ || quitSeen_ || !hwnd_; }

int Form::PopupMenu(const std::vector<std::wstring>& items) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (std::size_t i = 0; i < items.size(); ++i) AppendMenuW(menu, MF_STRING, i + 1, items[i].c_str());
    POINT at{};
    GetCursorPos(&at);
    // The command comes back as the result, so nothing is posted to the window.
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr));
    DestroyMenu(menu);
    return chosen - 1;
}

void Form::AddSystemMenuItem(int command, const std::wstring& text) {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
}

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
