#include "platform/win32/dll_search.h"

#include <windows.h>

#include <cwchar>

namespace win32 {
namespace {

FARPROC Kernel32Procedure(const char* name) { return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name); }

}  // namespace

bool HasSearchFlags() { return Kernel32Procedure("AddDllDirectory") != nullptr; }

bool RestrictDllSearch() {
    ::SetDllDirectoryW(L"");
    // Vista and 7 have it only with a later update: asked for by name.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    const auto setDefault =
        reinterpret_cast<SetDefault>(reinterpret_cast<void (*)()>(Kernel32Procedure("SetDefaultDllDirectories")));
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

SystemLibrary::SystemLibrary(const wchar_t* name) {
    wchar_t path[MAX_PATH + 16] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || std::wcslen(name) > 14) return;
    path[length] = L'\\';
    std::wcscpy(path + length + 1, name);
    // Its own dependencies from the system folder too, where the system can be told so.
    HMODULE module = ::LoadLibraryExW(path, nullptr, HasSearchFlags() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0);
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
