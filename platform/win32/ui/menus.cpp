// The form's menus: a popup at the mouse pointer, and items of our own in the system menu.
#include "platform/win32/ui/form.h"

namespace win32 {

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
    systemCommands_.push_back(command);
}

}  // namespace win32
