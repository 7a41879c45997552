// Registration on the real loader under Wine: hostile files made here in a folder of the test
// and our recording test DLLs, the DLL search the program sets at start, the system's texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/dll_search.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "probes/modAPI.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace testdlls;

// A folder of the test's own below the temporary folder.
std::wstring Folder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + name + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

// With the prefix that lets a path run past 260 characters.
bool Copy(const char* dll, const std::wstring& to) { return CopyFileW(TestDll(dll).c_str(), (L"\\\\?\\" + to).c_str(), FALSE); }

// Each file as the pages see it (its version text, text 102 when it has none) and as the
// re-register commands do: success, what its entry point returned, none exported, or the
// loader's reason as the HRESULT that carries it; a locked one's reason for not opening.
TEST(HostileWin32, FilesAsThePagesAndTheLoaderSeeThem) {
    const std::wstring dir = Folder(L"lrhostile");
    std::ifstream in(std::filesystem::path(TestDll("ver_2_80_1022_3.dll")), std::ios::binary);
    std::vector<char> good{std::istreambuf_iterator<char>(in), {}}, cut = good;
    const auto write = [&](const wchar_t* name, const std::vector<char>& bytes) {
        std::ofstream(std::filesystem::path(dir + name), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    const char key[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O";  // its fixed record cut to 10 bytes
    const auto at = std::search(cut.begin(), cut.end(), key, key + sizeof key - 1);
    ASSERT_NE(at, cut.end());
    *(at - 4) = 10, *(at - 3) = 0;
    write(L"cut.dll", cut);
    write(L"half.dll", {good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2)});
    write(L"empty.dll", {});
    write(L"text.dll", {'M', 'Z', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'D', 'L', 'L'});
    CreateDirectoryW((dir + L"folder.dll").c_str(), nullptr);
    std::wstring deep = dir;
    while (deep.size() < 300) CreateDirectoryW((L"\\\\?\\" + (deep += L"deep_folder_name\\")).c_str(), nullptr);
    for (const std::wstring& to : {deep + L"long.dll", dir + L"\u0416\u4E2D.dll", dir + L"locked.dll"})
        ASSERT_TRUE(Copy("ver_2_80_1022_3.dll", to));
    // Held open by another without sharing: the user may not read it.
    const HANDLE lock = CreateFileW((dir + L"locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    win32::VersionResources versions;
    win32::Texts texts;
    const std::wstring none = texts.Text(102), version = L"2.80.1022 (Build 3)";
    const std::int32_t reason = 1;  // any reason the loader gives
    struct Case { std::wstring path; std::wstring version; std::int32_t result; };
    // A file cut in half keeps its resources here and is shown as present, but does not load.
    const Case cases[] = {
        {dir + L"cut.dll", none, 0}, {dir + L"half.dll", version, reason}, {dir + L"empty.dll", none, reason},
        {dir + L"text.dll", none, reason}, {dir + L"folder.dll", none, reason}, {deep + L"long.dll", version, 0},
        {dir + L"\u0416\u4E2D.dll", version, 0}, {dir + L"locked.dll", none, reason},
        {TestDll("otherarch.dll"), L"3.2.1 (Build 0)", modDLLRegister::HResultFromWin32(ERROR_BAD_EXE_FORMAT)},
        {TestDll("denied.dll"), L"1.0.0 (Build 0)", static_cast<std::int32_t>(0x80070005u)},
        {TestDll("noexport.dll"), none, modDLLRegister::kEntryPointNotFound},
    };
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.path.end() - 12, c.path.end())));
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, c.path, true), c.version);
        const auto result = static_cast<std::uint32_t>(Register(c.path));
        if (c.result != reason) EXPECT_EQ(result, static_cast<std::uint32_t>(c.result)) << std::hex << result;
        else EXPECT_TRUE((result >> 16) == 0x8007 && (result & 0xFFFF)) << std::hex << result;
    }
    // cut.dll, the deep one (which knows its own name only cut to MAX_PATH), Ж中.dll, denied.dll
    const std::wstring calls = Recorded();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L';'), 4) << calls;
    // Why a listed file no longer reads: the system's reason for the lock.
    const std::int32_t sharing = modDLLRegister::HResultFromWin32(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(win32::System().OpenError(dir + L"locked.dll"), sharing);
    CloseHandle(lock);
    RecordProperty("hostile_files", static_cast<int>(std::size(cases)));  // for scripts/hostile.sh
}

// The search set at start: version.dll and shfolder.dll from the system folder; a
// component's helper from the component's own folder, and never a decoy of those names
// beside the exe or in the current folder (decoys record their loading).
TEST(HostileWin32, NothingIsLoadedFromTheExeOrTheCurrentFolder) {
    const std::wstring dir = Folder(L"lrplant");
    const std::wstring exe = win32::System().ModuleFileName(), exeDir = exe.substr(0, exe.rfind(L'\\') + 1);
    const wchar_t* const names[] = {L"version.dll", L"shfolder.dll", L"lrdep.dll"};
    // Wine keeps the current folder on the search path after SetDllDirectoryW(L"") (Windows
    // takes it off from XP SP1 on): on XP's way only the exe's folder holds decoys here.
    std::vector<std::wstring> places{exeDir};
    if (!AsXP()) places.push_back(dir);
    for (const wchar_t* name : names) DeleteFileW((dir + name).c_str());  // an earlier run's
    for (const std::wstring& place : places)
        for (const wchar_t* name : names) ASSERT_TRUE(Copy("decoy.dll", place + name));
    for (const wchar_t* sub : {L"alone\\", L"pair\\"}) {
        CreateDirectoryW((dir + sub).c_str(), nullptr);
        ASSERT_TRUE(Copy("withdep.dll", dir + sub + L"withdep.dll"));
    }
    ASSERT_TRUE(Copy("lrdep.dll", dir + L"pair\\lrdep.dll"));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");

    // XP has no default search to restrict (Wine offers it): there only the current folder goes.
    EXPECT_EQ(win32::RestrictDllSearch(), !AsXP());
    {
        win32::VersionResources versions;  // each loads its system library on being made
        win32::Folders folders;
    }
    if (!AsXP()) {
        EXPECT_EQ(LoadLibraryW(L"lrdep.dll"), nullptr) << "the default search has the system folder alone";
    }
    EXPECT_EQ(Register(dir + L"alone\\withdep.dll"), modDLLRegister::HResultFromWin32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(Register(dir + L"pair\\withdep.dll"), 0);
    EXPECT_EQ(Recorded(L"Loads"), L"");
    EXPECT_EQ(Recorded(), L"withdep.dll;");

    SetCurrentDirectoryW(exeDir.c_str());
    for (const wchar_t* name : names) DeleteFileW((exeDir + name).c_str());
    RecordProperty("hostile_planting", 5);  // the loads tried among decoys
}

TEST(RegisterWin32, SystemTexts) {
    win32::System system;
    // The text for the other architecture takes the file's name; neither it nor one with more
    // inserts (the message number and file of ERROR_MR_MID_NOT_FOUND) shows a raw insert.
    EXPECT_NE(system.ErrorText(static_cast<std::int32_t>(0x800700C1u), L"x86.dll").find(L"x86.dll"), std::wstring::npos);
    for (const std::uint32_t code : {0x800700C1u, 0x8007013Du})
        EXPECT_EQ(system.ErrorText(static_cast<std::int32_t>(code), L"x86.dll").find(L'%'), std::wstring::npos) << code;
}

}  // namespace
