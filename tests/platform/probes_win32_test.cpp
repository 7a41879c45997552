// What the pages read, on Wine: the registry class on advapi32, for what it adds to the rules
// the unit tests hold (the types and bytes it stores, names and texts in the ANSI code page, the
// real environment); the version library on Wine's own vbscript.dll, its Windows version record,
// and special folders named outside the ANSI code page; the class registrations as Wine's own
// reg.exe reads them, and the system's word on a change of them. Our test DLLs' versions are the
// hostile test's.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/file_lists.h"
#include "app/registration_check.h"
#include "platform/strings.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "probes/modAPI.h"
#include "registry/cRegistry.h"
#include "testdlls/test_dlls.h"

namespace {

// Every type at every size, stored by advapi32 itself, reads through the class as the rules
// of reading say; written back with the type it read, it reads the same (binary data byte for
// byte), and a type the class cannot write is refused and left as stored. The value's name and
// the texts' letters lie outside ASCII in code page 1252.
TEST(RegistryWin32Test, EveryTypeAndSizeReadsAndWritesBack) {
    ASSERT_EQ(GetACP(), 1252u);
    win32::Registry registry;
    win32::System system;
    cRegistry reg(registry, system);
    reg.SetClassKey(os::kHKeyCurrentUser);
    reg.SetSectionKey(L"Software\\LumoraRepairTest");
    reg.SetValueKey(L"Wert \u00E4");
    const char* section = "Software\\LumoraRepairTest";
    RegDeleteTreeA(HKEY_CURRENT_USER, section);
    for (DWORD type = 0; type <= 11; ++type) {
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        for (const std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 4096u, 1u << 20}) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << size << " bytes");
            // Texts of letters from U+00E0 on, ending in a zero at odd sizes; other data any byte.
            std::vector<std::uint8_t> data(size);
            for (std::size_t i = 0; i < size; ++i)
                data[i] = static_cast<std::uint8_t>(text ? (i + 1 == size && size % 2 ? 0 : 0xE0 + i % 26) : i * 9 + 7);
            const auto stored = static_cast<DWORD>(size);
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, section, "Wert \xE4", type, data.data(), stored), 0);
            TaggedValue expected = ByteArray{0, data};
            std::int32_t number = 0;
            if (size <= 4) std::memcpy(&number, data.data(), size);
            if (text) expected = std::wstring(data.begin(), data.end() - (size % 2));
            if (type == REG_DWORD) expected = number;
            if (type == REG_DWORD_BIG_ENDIAN) expected = static_cast<std::int32_t>(_byteswap_ulong(number));
            const TaggedValue read = reg.Value();
            ASSERT_EQ(read, expected);
            if (type >= REG_SZ && type <= REG_DWORD_BIG_ENDIAN) reg.SetValue(read);
            else EXPECT_THROW(reg.SetValue(read), RegistryError);
            EXPECT_EQ(reg.Value(), read);
        }
    }
    // Stored with its reference, read expanded from the real environment.
    SetEnvironmentVariableA("LR_TEST_HOME", "C:\\lr home");
    reg.SetValueType(1);
    reg.SetValue(L"%LR_TEST_HOME%\\x");
    EXPECT_EQ(reg.Value(), TaggedValue(L"C:\\lr home\\x"));
    RegDeleteTreeA(HKEY_CURRENT_USER, section);
    RecordProperty("hostile_registry", 12 * 9);  // for scripts/hostile.sh
}

// Wine's own vbscript.dll in the system folder, read by its version library; its version record.
TEST(ModApiWin32, WinesVbscriptAndWindowsVersion) {
    win32::VersionResources versions;
    win32::Texts texts;
    win32::System system;
    const std::wstring vbscript = os::BeforeFirstNul(system.SystemDirectoryBuffer(261)) + L"\\vbscript.DLL";
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, vbscript, true), L"5.8.7601 (Build 16978)");
    EXPECT_EQ(modAPI::GetWindowsVersion(system), modAPI::kWindowsVista);  // Wine's default, Windows 7, is NT 6.1
}

// Under code page 1252: Common Files and the temporary folder named in Cyrillic letters.
TEST(ModApiWin32, FoldersNamedOutsideTheCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    const wchar_t* const key = L"Software\\Microsoft\\Windows\\CurrentVersion";
    wchar_t old[2][MAX_PATH] = {};  // Common Files and TMP as they were
    DWORD size = sizeof old[0];
    DWORD type = REG_SZ;
    RegGetValueW(HKEY_LOCAL_MACHINE, key, L"CommonFilesDir", RRF_RT_ANY | RRF_NOEXPAND, &type, old[0], &size);
    GetEnvironmentVariableW(L"TMP", old[1], MAX_PATH);
    const auto point = [&](const std::wstring& common, const std::wstring& temporary) {
        const auto bytes = static_cast<DWORD>(common.size() * 2 + 2);
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"CommonFilesDir", type, common.c_str(), bytes);
        SetEnvironmentVariableW(L"TMP", temporary.c_str());
    };
    const std::wstring common = L"C:\\\u041E\u0431\u0449\u0438\u0435";
    const std::wstring temporary = L"C:\\\u0412\u0440\u0435\u043C\u044F\\";
    for (const std::wstring& dir : {common, temporary}) CreateDirectoryW(dir.c_str(), nullptr);
    point(common, temporary);

    win32::Folders folders;
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderCommonFiles), common);
    std::wstring buffer;
    win32::System().TempPathBuffer(512, buffer);
    EXPECT_EQ(os::BeforeFirstNul(buffer), temporary);
    EXPECT_TRUE(folders.FolderHasEntry(temporary));

    point(old[0], old[1]);
    for (const std::wstring& dir : {common, temporary}) RemoveDirectoryW(dir.c_str());
}

// A key's default text in the 32-bit view, as Wine's own reg.exe reads it (references
// expanded); empty when the key or its default is not there.
std::wstring RegDefault(const std::wstring& key) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "lr-reg.txt";
    _wsystem((L"reg.exe query \"HKCR\\" + key + L"\" /ve /reg:32 > \"" + file.wstring() + L"\"").c_str());
    std::ifstream in(file);
    std::string value;
    // "    (Default)    REG_SZ    text": the text after the type.
    for (std::string line; std::getline(in, line);) {
        const std::size_t type = line.find("    REG_");
        if (line.rfind("    (", 0) == 0 && type != std::string::npos)
            value = line.substr(line.find("    ", type + 4) + 4);
    }
    in.close();
    std::filesystem::remove(file);
    wchar_t expanded[MAX_PATH * 2] = {};
    ExpandEnvironmentStringsW(std::wstring(value.begin(), value.end()).c_str(), expanded, MAX_PATH * 2);
    return expanded;
}

// Each class of the table, on Wine's registry as reg.exe reads it: the file the check names
// is the one reg finds by the name's current version and its class (what the check makes of
// that file, and of each way a class names it, is the snapshots' mixed machine's). The system
// tells the check of a registration, in the 32-bit programs' view too, and of nothing when
// nothing changed (so a page fill reads no key).
TEST(RegistrationCheckWin32, AgreesWithWinesOwnReg) {
    win32::Registry registry;
    win32::System system;
    wchar_t sys[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    // Beside Wine's own classes (none in the 32-bit view of a 64-bit prefix), one of ours,
    // registered anew while the check watches.
    const std::wstring provider = std::wstring(sys) + L"\\msjetoledb40.dll";
    ASSERT_TRUE(CopyFileW(testdlls::TestDll("jetprovider.dll").c_str(), provider.c_str(), FALSE));
    RegDeleteKeyExW(HKEY_CLASSES_ROOT, L"Microsoft.Jet.OLEDB.4.0\\CLSID", KEY_WOW64_32KEY, 0);
    EXPECT_TRUE(registry.ClassesMayHaveChanged()) << "the first asking";
    EXPECT_FALSE(registry.ClassesMayHaveChanged()) << "nothing changed";
    EXPECT_EQ(testdlls::Register(provider), 0);
    EXPECT_TRUE(testdlls::Until([&] { return registry.ClassesMayHaveChanged(); }, 2000)) << "a registration";
    std::vector<app::FileEntry> unlisted;  // the servers are read whatever the lists hold
    app::ClassServers servers;
    app::CheckReach(registry, system, sys, servers, unlisted);
    int registered = 0;
    for (std::size_t i = 0; i < std::size(app::kCreatedClasses); ++i) {
        const std::wstring name = app::kCreatedClasses[i].name;
        const std::wstring current = RegDefault(name + L"\\CurVer");
        std::wstring clsid = current.empty() ? L"" : RegDefault(current + L"\\CLSID");
        if (clsid.empty()) clsid = RegDefault(name + L"\\CLSID");
        std::wstring server = clsid.empty() ? L"" : RegDefault(L"CLSID\\" + clsid + L"\\InprocServer32");
        if (server.size() > 1 && server.front() == L'"') server = server.substr(1, server.size() - 2);
        if (!server.empty() && server.find(L'\\') == std::wstring::npos) server = std::wstring(sys) + L"\\" + server;
        EXPECT_EQ(servers.server[i], server) << name;
        registered += !server.empty();
    }
    EXPECT_GT(registered, 0);
    DeleteFileW(provider.c_str());
}

}  // namespace
