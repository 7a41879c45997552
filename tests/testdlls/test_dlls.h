#pragma once
// The recording test DLLs as a test under Wine uses them: where they lie, what they recorded,
// and a registration through the program's own call; waiting for a state, a system file.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/win32/modules_win32.h"
#include "register/modDLLRegister.h"

namespace testdlls {

// A file of the build folder as Wine sees it.
inline std::wstring BuildPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return {path.begin(), path.end()};
}

// Polls for the state a step needs, up to `ms`; false when it never comes.
inline bool Until(const std::function<bool()>& state, DWORD ms = 60000) {
    for (const DWORD end = GetTickCount() + ms; !state(); Sleep(20))
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    return true;
}

// A file of the system folder by its name.
inline std::wstring SystemFile(const std::wstring& name) { return _wgetenv(L"SystemRoot") + (L"\\system32\\" + name); }

// A test DLL by its file name.
inline std::wstring TestDll(const std::string& name) { return BuildPath(std::string(LR_TESTDLL_DIR) + "/" + name); }

// True when the test takes Windows XP's way (tests/as_xp.cpp): no function of a later Windows.
inline bool AsXP() { return std::getenv("LR_AS_XP") != nullptr; }

// The program the tests' registration workers run: the test build's LumoraRepair.exe, or
// its twin that takes XP's way when the test does.
inline std::wstring ProductExe() { return BuildPath(AsXP() ? LR_PRODUCT_XP_EXE : LR_PRODUCT_EXE); }

// What the DLLs noted in HKCU\Software\LumoraRepairTests: "Calls" (their registrations, by
// file name) or "Loads" (decoys that were loaded).
inline std::wstring Recorded(const wchar_t* value = L"Calls") {
    wchar_t text[4096] = {};
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests", value, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// A registration in this process through the program's own call: 0, or the error it raised.
inline std::int32_t Register(const std::wstring& path) {
    win32::Modules modules;
    return modDLLRegister::RegisterServer(modules, path);
}

}  // namespace testdlls
