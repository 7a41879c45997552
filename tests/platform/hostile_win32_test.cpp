// Hostile files and components on the real loader and version library under Wine, and the
// DLL search the program sets at start. The files are made here, in a folder of the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/strings.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/modules_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "probes/modAPI.h"
#include "register/RegisterError.h"
#include "register/modDLLRegister.h"
#include "testdlls/test_dlls.h"

namespace {

using testdlls::Recorded;
using testdlls::Register;
using testdlls::TestDll;

// Removes a folder and all in it; with the prefix that lets paths run past 260 characters.
void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((L"\\\\?\\" + dir + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName, path = dir + name;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + L"\\");
        else DeleteFileW((L"\\\\?\\" + path).c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryW((L"\\\\?\\" + dir).c_str());
}

// A folder of the test's own below the temporary folder, emptied first.
std::wstring Scratch(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + name + L"\\";
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void Write(const std::wstring& path, const std::vector<char>& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::vector<char> Read(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);  // ASCII paths only
    return {std::istreambuf_iterator<char>(in), {}};
}

// Each hostile file as the pages see it (its version text, text 102 when it has none) and as
// the re-register commands do (the loader's reason, or success for a file that loads).
TEST(HostileWin32, FilesAsThePagesAndTheLoaderSeeThem) {
    const std::wstring dir = Scratch(L"lrhostile");
    const std::vector<char> good = Read(TestDll("ver_2_80_1022_3.dll"));
    ASSERT_GT(good.size(), 1000u);
    std::vector<char> cut = good;  // the fixed record cut to 10 bytes, before the file version
    const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O";
    const auto at = std::search(cut.begin(), cut.end(), key, key + sizeof key - 1);
    ASSERT_NE(at, cut.end());
    *(at - 4) = 10, *(at - 3) = 0;
    Write(dir + L"cut.dll", cut);
    Write(dir + L"half.dll", std::vector<char>(good.begin(), good.begin() + good.size() / 2));
    Write(dir + L"empty.dll", {});
    Write(dir + L"text.dll", {'M', 'Z', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'D', 'L', 'L'});
    CreateDirectoryW((dir + L"folder.dll").c_str(), nullptr);
    std::wstring deep = dir;
    while (deep.size() < 300) CreateDirectoryW((L"\\\\?\\" + (deep += L"deep_folder_name\\")).c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(TestDll("ver_2_80_1022_3.dll").c_str(), (L"\\\\?\\" + deep + L"long.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestDll("ver_2_80_1022_3.dll").c_str(), (dir + L"\u0416\u4E2D.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestDll("ver_2_80_1022_3.dll").c_str(), (dir + L"locked.dll").c_str(), FALSE));
    // Held open by another without sharing: the user may not read it.
    HANDLE lock = CreateFileW((dir + L"locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    win32::VersionResources versions;
    win32::Texts texts;
    const std::wstring none = texts.Text(102);
    struct Case { std::wstring path; std::wstring version; bool loads; };
    const std::wstring version = L"2.80.1022 (Build 3)";
    // A file cut in half keeps its resources here and is shown as present, but does not load.
    // A path past 260 characters and a name outside the ANSI code page are read and loaded as
    // any other.
    const Case cases[] = {
        {dir + L"cut.dll", none, true}, {dir + L"half.dll", version, false}, {dir + L"empty.dll", none, false},
        {dir + L"text.dll", none, false}, {dir + L"folder.dll", none, false}, {deep + L"long.dll", version, true},
        {dir + L"\u0416\u4E2D.dll", version, true}, {dir + L"locked.dll", none, false},
        {TestDll("otherarch.dll"), L"3.2.1 (Build 0)", false},
    };
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.path.end() - 12, c.path.end())));
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, c.path, true), c.version);
        // Success, or the loader's reason as the HRESULT that carries it.
        const auto result = static_cast<std::uint32_t>(Register(c.path));
        EXPECT_TRUE(c.loads ? result == 0 : (result >> 16) == 0x8007 && (result & 0xFFFF)) << std::hex << result;
    }
    EXPECT_EQ(Register(TestDll("otherarch.dll")), modDLLRegister::HResultFromWin32(ERROR_BAD_EXE_FORMAT));
    // The deep one knows its own name only cut to MAX_PATH.
    const std::wstring calls = Recorded(L"Calls");
    EXPECT_EQ(calls.substr(0, 8), L"cut.dll;");
    EXPECT_EQ(calls.substr(calls.size() - 7), L"\u0416\u4E2D.dll;");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L';'), 3) << "cut, deep and the name outside the code page";
    CloseHandle(lock);
    Scratch(L"lrhostile");
    RecordProperty("hostile_files", static_cast<int>(std::size(cases)));  // for scripts/hostile.sh
}

// The search set at start: version.dll and shfolder.dll from the system folder; a
// component's helper from the component's own folder, and never a decoy of those names
// beside the exe or in the current folder (decoys record their loading).
TEST(HostileWin32, NothingIsLoadedFromTheExeOrTheCurrentFolder) {
    const std::wstring dir = Scratch(L"lrplant");
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring exeDir = std::wstring(exe).substr(0, std::wstring(exe).rfind(L'\\') + 1);
    const wchar_t* const names[] = {L"version.dll", L"shfolder.dll", L"lrdep.dll"};
    for (const std::wstring& place : {exeDir, dir})
        for (const wchar_t* name : names) ASSERT_TRUE(CopyFileW(TestDll("decoy.dll").c_str(), (place + name).c_str(), FALSE));
    for (const wchar_t* sub : {L"alone\\", L"pair\\"}) {
        CreateDirectoryW((dir + sub).c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(TestDll("withdep.dll").c_str(), (dir + sub + L"withdep.dll").c_str(), FALSE));
    }
    ASSERT_TRUE(CopyFileW(TestDll("lrdep.dll").c_str(), (dir + L"pair\\lrdep.dll").c_str(), FALSE));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");

    EXPECT_TRUE(win32::RestrictDllSearch()) << "Wine offers SetDefaultDllDirectories";
    wchar_t sys[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    {
        win32::VersionResources versions;
        win32::Folders folders;
        win32::Texts texts;
        EXPECT_EQ(lstrcmpiW(versions.library.LoadedFrom(), (std::wstring(sys) + L"\\version.dll").c_str()), 0);
        EXPECT_EQ(lstrcmpiW(folders.library.LoadedFrom(), (std::wstring(sys) + L"\\shfolder.dll").c_str()), 0);
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, TestDll("ver_2_80_1022_3.dll"), true),
                  L"2.80.1022 (Build 3)");
        EXPECT_NE(modAPI::GetSpecialFolderPath(folders, modAPI::kFolderAppData), L"");
    }
    EXPECT_EQ(LoadLibraryW(L"lrdep.dll"), nullptr) << "the default search has the system folder alone";
    EXPECT_EQ(Register(dir + L"alone\\withdep.dll"), modDLLRegister::HResultFromWin32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(Register(dir + L"pair\\withdep.dll"), 0);
    EXPECT_EQ(Recorded(L"Loads"), L"");
    EXPECT_EQ(Recorded(L"Calls"), L"withdep.dll;");

    SetCurrentDirectoryW(sys);
    for (const wchar_t* name : names) DeleteFileW((exeDir + name).c_str());
    Scratch(L"lrplant");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    RecordProperty("hostile_planting", 5);  // the loads tried among decoys
}

}  // namespace
