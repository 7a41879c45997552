// A component of our own for the tests: a DLL that registers with the result it was built
// for (S_OK unless told otherwise) and carries whatever version resource it was given. Each
// registration appends the DLL's file name and ";" to HKCU\Software\LumoraRepairTests
// value "Calls", so a test sees which files were registered, in which order. Hostile kinds:
// a decoy records its very loading in "Loads"; one needs a helper DLL of its own; one shows
// a window and runs the thread's messages while it registers; one crashes in it; one ends
// its process; one asks the user in a message box first; one hides a window off every screen
// and never returns; one asks through a program it starts. One registers a class of a given
// name to itself, as a component does.
#include <windows.h>
#include <process.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#ifndef LR_TESTDLL_RESULT
#define LR_TESTDLL_RESULT S_OK
#endif

#ifdef LR_TESTDLL_HELPER
extern "C" __declspec(dllexport) int LrTestDllHelper() { return 1; }
#elif defined(LR_TESTDLL_DEPENDS)
extern "C" __declspec(dllimport) int LrTestDllHelper();
#endif

#ifndef LR_TESTDLL_NO_EXPORT
namespace {
HINSTANCE self = nullptr;

void Record(const wchar_t* value) {
    wchar_t path[MAX_PATH] = {}, calls[4096] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    GetLongPathNameW(path, path, MAX_PATH);  // loaded by its short name, it knows only that
    DWORD size = sizeof calls - 2 * MAX_PATH * sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests", value, RRF_RT_REG_SZ, nullptr, calls, &size);
    lstrcatW(calls, std::wcsrchr(path, L'\\') + 1);
    lstrcatW(calls, L";");
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests", value, REG_SZ, calls,
                    static_cast<DWORD>((lstrlenW(calls) + 1) * sizeof(wchar_t)));
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
#ifdef LR_TESTDLL_RECORD_LOAD
    if (reason == DLL_PROCESS_ATTACH) Record(L"Loads");
#endif
#ifdef LR_TESTDLL_INIT_FAILS
    return FALSE;  // the loader then fails with ERROR_DLL_INIT_FAILED
#endif
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    Record(L"Calls");
#ifdef LR_TESTDLL_CLASS
    // The name's CLSID and the class's server, the path the DLL was loaded by (a short one when
    // the program loads it so), in the 32-bit view: where a 32-bit program looks, from either build.
    const wchar_t clsid[] = L"{4C554D4F-5241-4C52-8000-000000000030}";
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    const std::wstring keys[2][2] = {{std::wstring(LR_TESTDLL_CLASS) + L"\\CLSID", clsid},
                                     {std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32", path}};
    for (const auto& [key, text] : keys) {
        HKEY opened = nullptr;
        const REGSAM access = KEY_SET_VALUE | KEY_WOW64_32KEY;
        RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, access, nullptr, &opened, nullptr);
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }
#endif
#ifdef LR_TESTDLL_DEPENDS
    LrTestDllHelper();
#endif
#ifdef LR_TESTDLL_MESSAGE_BOX
    MessageBoxW(nullptr, L"Register this component?", L"lrtest", MB_OK);
#endif
#ifdef LR_TESTDLL_SLEEP
    Sleep(LR_TESTDLL_SLEEP);
#endif
#ifdef LR_TESTDLL_EXIT
    ExitProcess(LR_TESTDLL_EXIT);
#endif
#ifdef LR_TESTDLL_WINDOW
    // As a component that asks the user something: a window of its own, and every message
    // of the thread dispatched meanwhile, the caller's window's included.
    HWND window = CreateWindowExW(0, L"STATIC", L"test component", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, self, nullptr);
    SetTimer(window, 1, 300, nullptr);  // its end, as a message among the others
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER;) DispatchMessageW(&msg);
    DestroyWindow(window);
#endif
#ifdef LR_TESTDLL_OFFSCREEN
    // One of no size on the screen, one of a real size off every screen.
    CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, -30000, -30000, 200, 100, nullptr, nullptr, nullptr, nullptr);
    Record(L"Windows");
    for (;;) Sleep(1000);
#endif
#ifdef LR_TESTDLL_CHILD
    // The worker's pipe, by the handle value at the end of its command line: kept or inheritable.
    const int pipe = _wtoi(std::wcsrchr(GetCommandLineW(), L'=') + 1);
    DWORD flags = 0;
    GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(pipe)), &flags);
    Record(flags & HANDLE_FLAG_INHERIT ? L"Inherited" : L"Kept");
    // As a careless component: every inheritable handle handed on (the C library's spawn does).
    _wspawnlp(_P_WAIT, L"notepad.exe", L"notepad.exe", nullptr);
#endif
#ifdef LR_TESTDLL_CRASH
    // A write through a null the optimiser cannot see: a plain null store is made a trap
    // (an illegal instruction) at -Oz.
    static volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
#endif
    return static_cast<HRESULT>(LR_TESTDLL_RESULT);
}
#else
// Something to export, so the linker does not export every symbol instead.
extern "C" int STDAPICALLTYPE LrTestDllHasNoRegistration() { return 1; }
#endif
