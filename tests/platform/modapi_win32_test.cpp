// modAPI on the real platform under Wine: version resources of our own test DLLs and of
// Wine's vbscript.dll, the shell folders of the prefix, and the text for a missing version.
// (The Windows version code per Wine version setting is checked by the winver_* tests.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/strings.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "probes/modAPI.h"

namespace {

std::wstring TestDll(const wchar_t* name) {
    // The build folder seen from Wine: its root is drive Z:.
    const std::string dir = LR_TESTDLL_DIR;
    std::wstring path = L"Z:" + std::wstring(dir.begin(), dir.end()) + L"/" + name;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

TEST(ModApiWin32, VersionsOfOurTestDllsAndOfWinesVbscript) {
    win32::VersionResources versions;
    win32::Texts texts;
    win32::System system;
    struct Case { std::wstring path; const wchar_t* plain; const wchar_t* withBuild; };
    const Case cases[] = {
        {TestDll(L"ver_4_0_8618_0.dll"), L"4.0.8618", L"4.0.8618 (Build 0)"},
        {TestDll(L"ver_2_80_1022_3.dll"), L"2.80.1022", L"2.80.1022 (Build 3)"},
        {TestDll(L"ver_6_0_40000_1.dll"), L"6.0.40000", L"6.0.40000 (Build 1)"},
        {TestDll(L"ver_5_6_0_880.dll"), L"5.6.0", L"5.6.0 (Build 880)"},
        {TestDll(L"ver_0_0_0_0.dll"), L"0.0.0", L"0.0.0 (Build 0)"},
        // Wine 8 ships vbscript.dll with this version in the system directory.
        {os::BeforeFirstNul(system.SystemDirectoryBuffer(261)) + L"\\vbscript.DLL", L"5.8.7601",
         L"5.8.7601 (Build 16978)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, c.path, false), c.plain);
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, c.path, true), c.withBuild);
    }

    // The whole record arrives: signature and structure version in front, the product
    // version (9.8.7.6 in every test DLL) behind the file version.
    modAPI::FixedFileInfo info{};
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, TestDll(L"ver_5_6_0_880.dll"), info));
    const auto dword = [&](std::size_t at) {
        return info.bytes[at] | info.bytes[at + 1] << 8 | info.bytes[at + 2] << 16 |
               static_cast<std::uint32_t>(info.bytes[at + 3]) << 24;
    };
    EXPECT_EQ(dword(0), 0xFEEF04BDu);
    EXPECT_EQ(dword(16), 0x00090008u);
    EXPECT_EQ(dword(20), 0x00070006u);
    EXPECT_EQ(dword(36), 2u);  // VFT_DLL
}

TEST(ModApiWin32, PathIsPassedInTheAnsiCodePage) {
    // A name outside ASCII but inside the ANSI code page (1252 in the test prefixes).
    ASSERT_EQ(::GetACP(), 1252u);
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring copy = std::wstring(temp) + L"Gr\u00F6\u00DFe_\u00E9t\u00E9.dll";
    ASSERT_TRUE(::CopyFileW(TestDll(L"ver_2_80_1022_3.dll").c_str(), copy.c_str(), FALSE));
    win32::VersionResources versions;
    EXPECT_EQ(modAPI::GetFileVersionString(versions, win32::Texts(), copy, true), L"2.80.1022 (Build 3)");
    ::DeleteFileW(copy.c_str());
}

TEST(ModApiWin32, NoVersionReadsFalseAndNotAvailable) {
    win32::VersionResources versions;
    const std::wstring missing = TestDll(L"no_such_file.dll");
    const std::wstring noVersion = TestDll(L"noversion.dll");
    ASSERT_NE(::GetFileAttributesW(noVersion.c_str()), INVALID_FILE_ATTRIBUTES);

    for (const std::wstring& path : {missing, noVersion}) {
        modAPI::FixedFileInfo info{};
        EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, path, info));
        EXPECT_EQ(info.bytes, modAPI::FixedFileInfo{}.bytes);
    }

    const LANGID language = ::GetUserDefaultUILanguage();
    const wchar_t* expected = language == 1033 ? L"Not available" : language == 1031 ? L"Nicht vorhanden" : nullptr;
    if (expected == nullptr) GTEST_SKIP() << "user interface language " << language;
    for (const std::wstring& path : {missing, noVersion})
        for (bool withBuild : {false, true})
            EXPECT_EQ(modAPI::GetFileVersionString(versions, win32::Texts(), path, withBuild), expected);
}

TEST(ModApiWin32, SpecialFoldersOfThePrefix) {
    win32::Folders folders;
    // What Wine set up in the prefix, from the environment it gives every process.
    const std::wstring profile = Environment(L"USERPROFILE");
    ASSERT_FALSE(profile.empty());
    const std::pair<std::int32_t, std::wstring> cases[] = {
        {modAPI::kFolderMyDocuments, profile + L"\\Documents"},
        {modAPI::kFolderAppData, Environment(L"APPDATA")},
        {modAPI::kFolderCommonAppData, Environment(L"ProgramData")},
        {modAPI::kFolderCommonFiles, Environment(L"CommonProgramFiles")},
    };
    for (const auto& [id, expected] : cases) {
        const std::wstring path = modAPI::GetSpecialFolderPath(folders, id);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(path, expected) << "folder " << id;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << "folder " << id;
        EXPECT_NE(path.back(), L'\\');
    }

    // An id the platform does not define.
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 0xFF), L"");
    EXPECT_NE(folders.FolderPathBuffer(0xFF).result, 0);
}

}  // namespace
