#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/ansi.h"

namespace win32 {

void Shell::Open(const std::wstring& address) {
    const std::string file = ToAnsi(address);
    ::ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace win32
