// modAPI on the real platform under Wine: version resources of our test DLLs and of Wine's
// vbscript.dll, a path in the ANSI code page, the Windows version, the special folders, folders
// named outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/strings.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "probes/modAPI.h"
#include "testdlls/test_dlls.h"

namespace {

using testdlls::TestDll;

TEST(ModApiWin32, VersionResourcesAsWineReadsThem) {
    win32::VersionResources versions;
    win32::Texts texts;
    win32::System system;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring ansiCopy = std::wstring(temp) + L"Gr\u00F6\u00DFe.dll";  // in code page 1252
    ASSERT_TRUE(CopyFileW(TestDll("ver_2_80_1022_3.dll").c_str(), ansiCopy.c_str(), FALSE));
    const std::pair<std::wstring, std::wstring> cases[] = {
        {TestDll("ver_6_0_40000_1.dll"), L"6.0.40000 (Build 1)"}, {TestDll("ver_0_0_0_0.dll"), L"0.0.0 (Build 0)"},
        {ansiCopy, L"2.80.1022 (Build 3)"},
        {os::BeforeFirstNul(system.SystemDirectoryBuffer(261)) + L"\\vbscript.DLL", L"5.8.7601 (Build 16978)"},
        {TestDll("noversion.dll"), texts.Text(102)}, {TestDll("missing.dll"), texts.Text(102)},
    };
    for (const auto& [path, text] : cases) EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, path, true), text);
    DeleteFileW(ansiCopy.c_str());
}

// The version record as Wine fills it: its default system, Windows 7, is NT 6.1.
TEST(ModApiWin32, WindowsVersionOfThePrefix) {
    win32::System system;
    const os::OsVersion v = system.QueryOsVersion();
    EXPECT_EQ(std::tuple(v.platformId, v.major, v.minor), std::tuple(2u, 6u, 1u));
    EXPECT_EQ(modAPI::GetWindowsVersion(system), modAPI::kWindowsVista);
}

TEST(ModApiWin32, SpecialFoldersOfThePrefix) {
    win32::Folders folders;
    const auto env = [](const wchar_t* name) {
        wchar_t value[MAX_PATH] = {};
        GetEnvironmentVariableW(name, value, MAX_PATH);
        return std::wstring(value);
    };
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderAppData), env(L"APPDATA"));
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderCommonFiles), env(L"CommonProgramFiles"));
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 0xFF), L"");  // not a folder the platform knows
    EXPECT_TRUE(folders.FolderHasEntry(env(L"APPDATA") + L"\\"));
    EXPECT_FALSE(folders.FolderHasEntry(L"Q:\\no\\such\\folder\\"));
}

// Under code page 1252: Common Files with Cyrillic letters, "My Documents" with Japanese ones
// and the temporary folder with Cyrillic ones, as they are named.
TEST(ModApiWin32, FoldersNamedOutsideTheCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::wstring common = L"C:\\\u041E\u0431\u0449\u0438\u0435", documents = L"C:\\\u30C9\u30AD\u30E5",
                       temporary = L"C:\\\u0412\u0440\u0435\u043C\u044F\\";
    for (const std::wstring& dir : {common, documents, temporary}) CreateDirectoryW(dir.c_str(), nullptr);
    const auto swap = [](HKEY root, const wchar_t* key, const wchar_t* name, std::wstring value) {
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old, type = REG_SZ;
        RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, old, &size);
        RegSetKeyValueW(root, key, name, type, value.c_str(), static_cast<DWORD>(value.size() * 2 + 2));
        return std::wstring(old);
    };
    const wchar_t *version = L"Software\\Microsoft\\Windows\\CurrentVersion",
                  *shell = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::wstring oldCommon = swap(HKEY_LOCAL_MACHINE, version, L"CommonFilesDir", common);
    const std::wstring oldDocuments = swap(HKEY_CURRENT_USER, shell, L"Personal", documents);
    wchar_t oldTemp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", oldTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", temporary.c_str());

    win32::Folders folders;
    win32::System system;
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderCommonFiles), common);
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderMyDocuments), documents);
    std::wstring buffer;
    system.TempPathBuffer(512, buffer);
    EXPECT_EQ(os::BeforeFirstNul(buffer), temporary);
    for (const std::wstring& dir : {documents + L"\\", temporary}) EXPECT_TRUE(folders.FolderHasEntry(dir)) << dir.size();

    SetEnvironmentVariableW(L"TMP", oldTemp);
    swap(HKEY_LOCAL_MACHINE, version, L"CommonFilesDir", oldCommon);
    swap(HKEY_CURRENT_USER, shell, L"Personal", oldDocuments);
    for (const std::wstring& dir : {common, documents, temporary}) RemoveDirectoryW(dir.c_str());
}

}  // namespace
