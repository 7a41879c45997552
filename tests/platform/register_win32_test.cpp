// RegisterComponent on the real loader under Wine: our recording test DLLs, and Wine's own
// MDAC components, which must leave the registrations that Wine's regsvr32 leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <string>

#include "platform/win32/modules_win32.h"
#include "platform/win32/system_win32.h"
#include "register/RegisterError.h"
#include "register/modDLLRegister.h"
#include "testdlls/test_dlls.h"

namespace {

using testdlls::Register;
using testdlls::TestDll;

TEST(RegisterWin32, OurDllsThroughTheRealLoader) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    EXPECT_EQ(Register(TestDll("ver_0_0_0_0.dll")), 0);
    EXPECT_EQ(Register(TestDll("denied.dll")), static_cast<std::int32_t>(0x80070005u));
    EXPECT_EQ(testdlls::Recorded(), L"ver_0_0_0_0.dll;denied.dll;");
    EXPECT_EQ(Register(TestDll("noexport.dll")), modDLLRegister::kEntryPointNotFound);
    EXPECT_EQ(Register(TestDll("missing.dll")) & 0xFFFF0000u, 0x80070000u) << "the loader's reason";
    EXPECT_EQ(Register(L""), 0);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");

    win32::System system;
    EXPECT_NE(system.ErrorText(static_cast<std::int32_t>(0x80070005u), L"x.dll"), L"");
    EXPECT_EQ(system.ErrorText(static_cast<std::int32_t>(0x8004FFFFu), L"x.dll"), L"");
    // The file in the text for the other architecture; a text with more inserts (the message
    // number and file of ERROR_MR_MID_NOT_FOUND) shown without a raw one.
    const std::wstring badFormat = system.ErrorText(static_cast<std::int32_t>(0x800700C1u), L"x86.dll");
    EXPECT_NE(badFormat.find(L"x86.dll"), std::wstring::npos) << badFormat;
    for (const std::uint32_t code : {0x800700C1u, 0x8007013Du})
        EXPECT_EQ(system.ErrorText(static_cast<std::int32_t>(code), L"x86.dll").find(L'%'), std::wstring::npos) << code;
    const std::wstring shortPath = system.ShortPathName(TestDll("ver_0_0_0_0.dll"));
    EXPECT_FALSE(shortPath.empty());
    EXPECT_EQ(Register(shortPath), 0);
    EXPECT_EQ(system.ShortPathName(L"Not found"), L"");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::towlower(text[text.size() - tail.size() + i]) != std::towlower(tail[i])) return false;
    return true;
}

std::wstring Text(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &size);
    return value;
}

// The class registrations whose server is `file`: by class id, its name, server and model.
using Classes = std::map<std::wstring, std::wstring>;
Classes ClassesOf(const std::wstring& file) {
    Classes classes;
    HKEY clsid = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &clsid) != ERROR_SUCCESS) return classes;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(clsid, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::wstring server = std::wstring(name) + L"\\InprocServer32";
        const std::wstring path = Text(clsid, server, nullptr);
        if (EndsWithNoCase(path, file))
            classes[name] = Text(clsid, name, nullptr) + L"|" + path + L"|" + Text(clsid, server, L"ThreadingModel");
    }
    RegCloseKey(clsid);
    return classes;
}

void Forget(const Classes& classes) {
    for (const auto& entry : classes) RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + entry.first).c_str());
}

TEST(RegisterWin32, WinesComponentsLeaveWhatItsRegsvr32Leaves) {
    wchar_t common[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    for (const wchar_t* file : {L"ADO\\msado15.dll", L"OLE DB\\msdaps.dll", L"OLE DB\\msdasql.dll"}) {
        const std::wstring path = std::wstring(common) + L"\\System\\" + file;
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        SCOPED_TRACE(name);
        const Classes before = ClassesOf(name);
        ASSERT_FALSE(before.empty());
        Forget(before);
        const os::CallResult result = testdlls::RegisterInWorker(path);  // as the commands register
        ASSERT_EQ(result.end, os::CallEnd::Returned);
        ASSERT_EQ(result.code, 0);
        Classes ours;
        for (const auto& entry : before) ours[entry.first] = ClassesOf(name)[entry.first];
        Forget(before);
        std::wstring command = L"regsvr32.exe /s \"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(ours, ClassesOf(name));
        EXPECT_EQ(ours, before);
    }
}

}  // namespace
