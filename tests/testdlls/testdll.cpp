// A component of our own for the tests: a DLL that registers with the result it was built
// for (S_OK unless told otherwise) and carries whatever version resource it was given. Each
// registration appends the DLL's file name and ";" to HKCU\Software\LumoraRepairTests
// value "Calls", so a test sees which files were registered, in which order.
#include <windows.h>

#ifndef LR_TESTDLL_RESULT
#define LR_TESTDLL_RESULT S_OK
#endif

#ifndef LR_TESTDLL_NO_EXPORT
namespace {
HINSTANCE self = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    GetLongPathNameW(path, path, MAX_PATH);  // loaded by its short name, it knows only that
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\') name = p + 1;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        wchar_t calls[4096] = {};
        DWORD size = sizeof calls - 2 * MAX_PATH * sizeof(wchar_t);
        RegQueryValueExW(key, L"Calls", nullptr, nullptr, reinterpret_cast<BYTE*>(calls), &size);
        lstrcatW(calls, name);
        lstrcatW(calls, L";");
        RegSetValueExW(key, L"Calls", 0, REG_SZ, reinterpret_cast<const BYTE*>(calls),
                       static_cast<DWORD>((lstrlenW(calls) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
#ifdef LR_TESTDLL_SLEEP
    Sleep(LR_TESTDLL_SLEEP);
#endif
    return static_cast<HRESULT>(LR_TESTDLL_RESULT);
}
#else
// Something to export, so the linker does not export every symbol instead.
extern "C" int STDAPICALLTYPE LrTestDllHasNoRegistration() { return 1; }
#endif
