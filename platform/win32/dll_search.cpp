#include "platform/win32/dll_search.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/newer_windows.h"

namespace win32 {

bool HasSearchFlags() { return newer::HasSearchFlags(); }

bool RestrictDllSearch() {
    // XP SP1 on: the current folder off the search path.
    ::SetDllDirectoryW(L"");
    const auto setDefault = newer::SetDefaultDllDirectories();
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

SystemLibrary::SystemLibrary(const wchar_t* name) {
    wchar_t path[MAX_PATH + 16] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || std::wcslen(name) > 14) return;
    path[length] = L'\\';
    std::wcscpy(path + length + 1, name);
    // Its own dependencies from the system folder too: told so where the system takes the
    // flag, else by the altered search, which starts in the loaded file's folder.
    const DWORD flags = HasSearchFlags() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
    HMODULE module = ::LoadLibraryExW(path, nullptr, flags);
    if (!module) return;
    module_ = module;
    ::GetModuleFileNameW(module, path_, MAX_PATH);
}

SystemLibrary::~SystemLibrary() {
    if (module_) ::FreeLibrary(static_cast<HMODULE>(module_));
}

const wchar_t* SystemLibrary::LoadedFrom() const { return path_; }

SystemLibrary::AnyProcedure SystemLibrary::Find(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<AnyProcedure>(::GetProcAddress(static_cast<HMODULE>(module_), name));
}

}  // namespace win32
